#pragma once
// The reading of Survex raw data, line by line, shared by the files that
// handle its commands and its data lines.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "surveys/svx_chars.h"
#include "surveys/svx_names.h"
#include "surveys/svx_reader.h"
#include "surveys/svx_settings.h"
#include "surveys/svx_shots.h"

class TSvxParser {
 public:
  TSvxParser(const TSvxFileSource& files, const TSvxOptions& options) : files_(files), options_(options) {}
  TSurvey Read(const std::string& fileName);

 private:
  struct TBlock {
    TSvxSettings Saved;
    std::string Name;  // as given, "" for a nameless block
    int32_t File = -1, Line = 0;
  };

  // Files and lines (svx_reader.cpp).
  void ReadFile(const std::string& path, std::string text);
  void ReadLine(std::string_view text);
  [[noreturn]] void Fail(const std::string& message) const;

  // Commands (svx_commands.cpp).
  void Command(std::string_view word, TSvxLine& line);
  void Include(TSvxLine& line);
  void Begin(TSvxLine& line);
  void End(TSvxLine& line);
  void Equate(TSvxLine& line);
  void Fix(TSvxLine& line);
  void MarkStations(TSvxLine& line, uint8_t flags, const char* command);
  void Date(TSvxLine& line);
  void Units(TSvxLine& line);
  void Calibrate(TSvxLine& line);
  void Declination(TSvxLine& line);
  void Sd(TSvxLine& line);
  void Flags(TSvxLine& line);
  void Set(TSvxLine& line);
  void Case(TSvxLine& line);
  void Truncate(TSvxLine& line);
  void Infer(TSvxLine& line);
  void Alias(TSvxLine& line);
  void Prefix(TSvxLine& line);
  void Default(TSvxLine& line);
  double Number(std::string_view field, const char* what) const;
  std::vector<TSvxQuantity> Quantities(TSvxLine& line, std::string_view& next, const char* command) const;

  // Names (svx_commands.cpp): a name part as the settings make it, and the
  // full name of a station field relative to the current survey.
  std::string NamePart(std::string_view part) const;
  std::string FullName(std::string_view field, const std::string& prefix) const;
  int32_t NamedStation(std::string_view field);

  // Data (svx_data.cpp).
  void Data(TSvxLine& line);
  void DataLine(TSvxLine& line);
  int32_t LegEnd(std::string_view field, uint8_t& legFlags);
  double Reading(std::string_view field, TSvxQuantity q, bool omittable, const char* what) const;
  double Bearing(std::string_view field, TSvxQuantity q, const char* what) const;
  TClinoKind Clino(std::string_view field, TSvxQuantity q, double& value) const;
  double Convert(TSvxQuantity q, double reading) const;
  TSvxShotSd ShotSd() const;
  int32_t SurveyIndex();

  const TSvxFileSource& files_;
  const TSvxOptions& options_;
  TSvxSettings s_;
  std::vector<TBlock> blocks_;
  std::vector<std::string> includes_;  // the files being read, outermost first
  int32_t file_ = -1;                  // index into survey_.Files
  int32_t line_ = 0;
  int64_t bytes_ = 0;

  TSvxNames names_;
  std::vector<TSvxRawLeg> legs_;
  std::vector<TSvxRawFix> fixes_;
  TSurvey survey_;
  bool titled_ = false;
  bool csOut_ = false;
  std::unordered_map<std::string, int32_t> surveyIndex_;
  std::string lastPrefix_;
  int32_t lastSurvey_ = -1;
};
