#pragma once
// The reader of Survex raw survey data (.svx): legs with their readings,
// vectors and expected errors, stations identified by their full names and
// equates and placed from the legs, fixed points, flags and source lines.
//
// Everything it cannot read as Survex would is refused with ECyclornError
// whose message is the whole text "FILE:LINE: message" and names the command;
// a refused file yields no survey at all.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "surveys/survey.h"

struct TSvxOptions {
  // The declination in degrees (east of true north positive) that every
  // "*declination auto" stands for. Without it that command is refused: the
  // declination it asks for needs a magnetic field model.
  std::optional<double> AutoDeclination;
  // What all files read may come to together, an included file counted each
  // time it is read; beyond it the reading stops with an error.
  int64_t MaxTotalBytes = int64_t{1} << 30;
};

// Where the reader finds its files.
class TSvxFileSource {
 public:
  virtual ~TSvxFileSource() = default;
  // The contents of the file at path, or nullopt when there is no such file.
  // Raises EFileError when the file is there but cannot be read.
  virtual std::optional<std::string> Read(const std::string& path) const = 0;
};

// Files of the file system; only regular files are read.
class TSvxDiskFiles final : public TSvxFileSource {
 public:
  std::optional<std::string> Read(const std::string& path) const override;
};

// Files held in memory, by path ("cave/entrance.svx"); for tests and for
// data that does not come from files.
class TSvxMemoryFiles final : public TSvxFileSource {
 public:
  std::map<std::string, std::string> Files;
  std::optional<std::string> Read(const std::string& path) const override;
};

// Reads the survey whose top file is fileName, with its included files.
TSurvey ReadSvxFile(const std::string& fileName, const TSvxOptions& options = {});
// The same, with the files taken from `files`.
TSurvey ReadSvx(const std::string& fileName, const TSvxFileSource& files, const TSvxOptions& options = {});

// True when the name ends in ".svx", in any case.
bool IsSvxFileName(std::string_view fileName);
