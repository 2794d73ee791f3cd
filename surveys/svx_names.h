#pragma once
// The station names of Survex raw data as they are read, and the survey they
// make at the end: names joined by "*equate" are one station, each anonymous
// station is a station of its own, and identity comes from names only.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "surveys/survey.h"

// Every full name met so far, with the names equated to it.
class TSvxNames {
 public:
  // The id of a full name, new when the name is.
  int32_t Id(std::string_view fullName);
  // A new nameless station, with TStationFlag bits.
  int32_t Anonymous(uint8_t flags);
  void Equate(int32_t a, int32_t b);
  // The id that stands for every name equated to id.
  int32_t Root(int32_t id);
  void AddFlags(int32_t id, uint8_t flags) { flags_[static_cast<size_t>(id)] |= flags; }
  uint8_t Flags(int32_t id) const { return flags_[static_cast<size_t>(id)]; }
  // The full name, "" for an anonymous station.
  const std::string& Name(int32_t id) const { return names_[static_cast<size_t>(id)]; }
  int32_t Count() const { return static_cast<int32_t>(names_.size()); }

 private:
  std::deque<std::string> names_;  // a deque keeps the map's keys in place
  std::unordered_map<std::string_view, int32_t> ids_;
  std::vector<int32_t> parent_;
  std::vector<uint8_t> flags_;
};

// A leg as read, between two name ids.
struct TSvxRawLeg {
  int32_t From = -1, To = -1;
  int32_t Survey = -1;
  uint8_t Flags = 0;
  TLegStyle Style = TLegStyle::Normal;
  TLegMeasurement Measurement;
};

struct TSvxRawFix {
  int32_t Name = -1;
  Vec3 Position, Sd;
  bool Reference = false;
  int32_t File = -1, Line = 0;
};

// The survey the names, legs and fixes make, its stations placed from the
// legs. The survey's Files, Surveys and Title are filled already. Raises
// ECyclornError "FILE:LINE: ..." for a leg whose two ends are equated and
// for a station fixed twice at different positions.
void AssembleSvxSurvey(TSvxNames& names, std::vector<TSvxRawLeg>& legs, const std::vector<TSvxRawFix>& fixes,
                       TSurvey& survey);
