#pragma once
// The names a survey's stations take in the work graph, whose name table
// holds at most TSurveyGraph::kNameWidth characters. A station's graph name
// is its shortest unique tail: the last dot-separated parts of one of its
// full names ("b.12" of "cave.b.12") that no other station's full names end
// in, ASCII letters compared without case so the name table finds it either
// way. Fewest parts win, then fewest characters, then the earlier name.
// Stations with no such tail within the width (or none without control
// characters) get a generated name from the caller.

#include <cstdint>
#include <string_view>
#include <vector>

#include "surveys/survey.h"

// Station s's tail is survey.Name(s, Name).substr(Start); Name is -1 when
// the station has none and needs a generated name.
struct TStationTail {
  int32_t Name = -1;
  int32_t Start = 0;
};

// The tail of every station of the survey, unique among all its stations.
// Runs in time about proportional to the characters of the names.
std::vector<TStationTail> ChooseStationTails(const TSurvey& survey);

// The text of a tail that was found (Name >= 0).
inline std::string_view TailText(const TSurvey& survey, int32_t station, const TStationTail& tail) {
  return survey.Name(station, tail.Name).substr(static_cast<size_t>(tail.Start));
}

// The 64-bit key of a name with its ASCII letters folded to lower case: the
// key the tails are told apart by. Equal keys (or keys alike in the bits the
// search keeps) for different names only make both not unique, never a clash.
uint64_t FoldedNameKey(std::string_view name);
