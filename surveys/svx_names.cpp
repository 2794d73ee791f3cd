#include "surveys/svx_names.h"

#include "core/errors.h"
#include "surveys/survey_placement.h"

int32_t TSvxNames::Id(std::string_view fullName) {
  const auto found = ids_.find(fullName);
  if (found != ids_.end()) return found->second;
  const int32_t id = Count();
  names_.emplace_back(fullName);
  ids_.emplace(names_.back(), id);
  parent_.push_back(id);
  flags_.push_back(0);
  return id;
}

int32_t TSvxNames::Anonymous(uint8_t flags) {
  const int32_t id = Count();
  names_.emplace_back();
  parent_.push_back(id);
  flags_.push_back(static_cast<uint8_t>(flags | sfAnonymous));
  return id;
}

int32_t TSvxNames::Root(int32_t id) {
  int32_t root = id;
  while (parent_[static_cast<size_t>(root)] != root) root = parent_[static_cast<size_t>(root)];
  while (parent_[static_cast<size_t>(id)] != root) {
    const int32_t next = parent_[static_cast<size_t>(id)];
    parent_[static_cast<size_t>(id)] = root;
    id = next;
  }
  return root;
}

void TSvxNames::Equate(int32_t a, int32_t b) {
  a = Root(a);
  b = Root(b);
  // The earlier name stays the root, so a station is numbered by its first name.
  if (a == b) return;
  if (a < b)
    parent_[static_cast<size_t>(b)] = a;
  else
    parent_[static_cast<size_t>(a)] = b;
}

namespace {

[[noreturn]] void FailAt(const TSurvey& survey, int32_t file, int32_t line, const std::string& message) {
  throw ECyclornError(survey.Files[static_cast<size_t>(file)] + ":" + std::to_string(line) + ": " + message);
}

}  // namespace

void AssembleSvxSurvey(TSvxNames& names, std::vector<TSvxRawLeg>& legs, const std::vector<TSvxRawFix>& fixes,
                       TSurvey& survey) {
  const int32_t count = names.Count();
  std::vector<int32_t> stationOf(static_cast<size_t>(count), -1);
  std::vector<int32_t> stationOfName;
  std::vector<std::string> fullNames;
  for (int32_t id = 0; id < count; ++id) {
    const auto root = static_cast<size_t>(names.Root(id));
    if (stationOf[root] < 0) stationOf[root] = survey.AddStation(Vec3{});
    const int32_t station = stationOf[root];
    stationOf[static_cast<size_t>(id)] = station;
    survey.StationFlags[static_cast<size_t>(station)] |= names.Flags(id);
    if (names.Name(id).empty()) continue;
    stationOfName.push_back(station);
    fullNames.push_back(names.Name(id));
  }
  survey.SetNames(stationOfName, fullNames);
  // An anonymous station equated to a named one is no longer nameless.
  for (int32_t s = 0; s < survey.StationCount(); ++s)
    if (survey.NameCount(s) > 0) survey.StationFlags[static_cast<size_t>(s)] &= static_cast<uint8_t>(~sfAnonymous);

  survey.Legs.reserve(legs.size());
  survey.Measurements.reserve(legs.size());
  for (TSvxRawLeg& raw : legs) {
    TSurveyLeg leg{stationOf[static_cast<size_t>(raw.From)], stationOf[static_cast<size_t>(raw.To)], raw.Survey,
                   raw.Flags, raw.Style};
    if (leg.From == leg.To)
      FailAt(survey, raw.Measurement.File, raw.Measurement.Line,
             "the leg from \"" + names.Name(raw.From) + "\" to \"" + names.Name(raw.To) +
                 "\" joins a station to itself (its ends are equated)");
    const uint8_t side = (leg.Flags & lfSurface) ? sfSurface : sfUnderground;
    survey.StationFlags[static_cast<size_t>(leg.From)] |= side;
    survey.StationFlags[static_cast<size_t>(leg.To)] |= side;
    survey.Legs.push_back(leg);
    survey.Measurements.push_back(raw.Measurement);
  }
  legs.clear();

  std::vector<int32_t> fixOf(static_cast<size_t>(survey.StationCount()), -1);
  for (const TSvxRawFix& raw : fixes) {
    const int32_t station = stationOf[static_cast<size_t>(raw.Name)];
    int32_t& known = fixOf[static_cast<size_t>(station)];
    if (known >= 0) {
      const TFixedPoint& before = survey.Fixes[static_cast<size_t>(known)];
      if (before.Position == raw.Position) continue;
      FailAt(survey, raw.File, raw.Line, "\"" + names.Name(raw.Name) + "\" is fixed again at a different position");
    }
    known = static_cast<int32_t>(survey.Fixes.size());
    survey.Fixes.push_back(TFixedPoint{station, raw.Position, raw.Sd, raw.Reference});
    survey.StationFlags[static_cast<size_t>(station)] |= sfFixed;
  }
  PlaceStations(survey);
}
