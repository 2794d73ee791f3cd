#pragma once
// Loop misclosures: going round a loop, the legs' measured vectors should
// add up to nothing; what they add up to, against the loop's length and
// against the error its legs' standard deviations lead one to expect.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/owned_lists.h"
#include "core/survey_graph.h"
#include "surveys/survey.h"
#include "surveys/survey_network.h"

enum class TLoopStatus : uint8_t {
  Measured,    // every leg has raw data: all figures are set
  Unmeasured,  // some leg has none (a nosurvey leg, or a survey of positions only): no figures
  NotClosed,   // the loop's edges name no shots of the graph or do not go round: no figures
};

// One loop of a loop list. Figures that cannot be known are NaN.
struct TLoopMisclosure {
  int32_t Index = 0;  // position in the loop list
  TLoopStatus Status = TLoopStatus::NotClosed;
  int32_t Legs = 0;            // legs going round (edges of the loop when not closed)
  int32_t UnmeasuredLegs = 0;  // of those, legs without raw data
  double Length = 0;           // metres: sum of the legs' lengths
  Vec3 Misclosure;             // metres east, north, up: sum of the legs' vectors going round
  double Error = 0;            // metres: length of the misclosure
  double ErrorPercent = 0;     // 100 x Error / Length
  // sqrt(m^T C^-1 m / 3) with m the misclosure and C the sum of the legs'
  // covariances: about 1 when the loop closes as well as its instruments
  // allow (its square is a chi-square with 3 degrees of freedom over 3 when
  // the legs hold only the errors their standard deviations describe); 3 or
  // more points at a blunder.
  double Ratio = 0;
  std::vector<int32_t> LegIndices;  // survey legs, in walking order
  std::vector<int8_t> Directions;   // +1 where the walk runs along the leg (From to To), -1 against
  std::vector<int32_t> Stations;    // survey stations, Stations[k] where leg k starts
};

// The misclosure of every loop of loops, found over graph as built from
// survey by BuildSurveyNetwork (network maps its shots to legs). Loops keep
// their list order and Index.
std::vector<TLoopMisclosure> ComputeMisclosures(const TSurvey& survey, const TSurveyNetwork& network,
                                                const TSurveyGraph& graph, const TLoopList& loops);

// The fields loops can be sorted by.
enum class TMisclosureField : uint8_t { Index, Legs, Length, East, North, Up, Error, ErrorPercent, Ratio };

// Sorts by the field, ascending or descending; loops without the figure
// (not measured, not closed) come last either way, and equal keys keep the
// order of Index.
void SortMisclosures(std::vector<TLoopMisclosure>& loops, TMisclosureField field, bool descending);

// The field named "index", "legs", "length", "east", "north", "up", "error",
// "error_percent" or "ratio"; nothing for any other name.
std::optional<TMisclosureField> MisclosureFieldByName(std::string_view name);
