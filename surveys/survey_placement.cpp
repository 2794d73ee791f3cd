#include "surveys/survey_placement.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// Each station's legs, as (leg, +1 when the station is the leg's From).
struct TIncidence {
  std::vector<int32_t> Begin;
  std::vector<int32_t> Legs;  // leg * 2 + (station is To)
};

TIncidence IncidenceOf(const TSurvey& survey) {
  TIncidence in;
  const auto stations = static_cast<size_t>(survey.StationCount());
  in.Begin.assign(stations + 1, 0);
  auto measured = [&](const TSurveyLeg& leg) { return leg.Style != TLegStyle::NoSurvey && leg.From != leg.To; };
  for (const TSurveyLeg& leg : survey.Legs) {
    if (!measured(leg)) continue;
    ++in.Begin[static_cast<size_t>(leg.From) + 1];
    ++in.Begin[static_cast<size_t>(leg.To) + 1];
  }
  for (size_t s = 0; s < stations; ++s) in.Begin[s + 1] += in.Begin[s];
  in.Legs.resize(static_cast<size_t>(in.Begin[stations]));
  std::vector<int32_t> next(in.Begin.begin(), in.Begin.end() - 1);
  for (int32_t l = 0; l < survey.LegCount(); ++l) {
    const TSurveyLeg& leg = survey.Legs[static_cast<size_t>(l)];
    if (!measured(leg)) continue;
    in.Legs[static_cast<size_t>(next[static_cast<size_t>(leg.From)]++)] = l * 2;
    in.Legs[static_cast<size_t>(next[static_cast<size_t>(leg.To)]++)] = l * 2 + 1;
  }
  return in;
}

}  // namespace

void PlaceStations(TSurvey& survey) {
  const auto stations = static_cast<size_t>(survey.StationCount());
  const TIncidence in = IncidenceOf(survey);
  std::vector<char> placed(stations, 0);
  std::vector<int32_t> queue;
  queue.reserve(stations);
  survey.Notes.UnfixedPieces = 0;
  for (Vec3& p : survey.Positions) p = Vec3{};

  // Visits everything reachable from the queue's stations from `head` on.
  auto spread = [&](size_t head) {
    for (; head < queue.size(); ++head) {
      const auto s = static_cast<size_t>(queue[head]);
      for (int32_t k = in.Begin[s]; k < in.Begin[s + 1]; ++k) {
        const int32_t code = in.Legs[static_cast<size_t>(k)];
        const TSurveyLeg& leg = survey.Legs[static_cast<size_t>(code / 2)];
        const Vec3 v = survey.Measurements[static_cast<size_t>(code / 2)].Vector;
        const bool fromHere = code % 2 == 0;
        const auto other = static_cast<size_t>(fromHere ? leg.To : leg.From);
        if (placed[other]) continue;
        placed[other] = 1;
        survey.Positions[other] = fromHere ? Add3(survey.Positions[s], v) : Sub3(survey.Positions[s], v);
        queue.push_back(static_cast<int32_t>(other));
      }
    }
  };

  for (const TFixedPoint& fix : survey.Fixes) {
    const auto s = static_cast<size_t>(fix.Station);
    if (placed[s]) continue;
    placed[s] = 1;
    survey.Positions[s] = fix.Position;
    queue.push_back(fix.Station);
  }
  spread(0);

  double east = -std::numeric_limits<double>::infinity();
  for (const int32_t s : queue) east = std::max(east, survey.Positions[static_cast<size_t>(s)].X);
  for (size_t start = 0; start < stations; ++start) {
    if (placed[start] || in.Begin[start] == in.Begin[start + 1]) continue;
    const size_t head = queue.size();
    placed[start] = 1;
    queue.push_back(static_cast<int32_t>(start));
    spread(head);
    ++survey.Notes.UnfixedPieces;
    if (!std::isfinite(east)) {
      for (size_t k = head; k < queue.size(); ++k)
        east = std::max(east, survey.Positions[static_cast<size_t>(queue[k])].X);
      continue;
    }
    // Beside what is placed already, with a gap of a tenth of its own width (at least 10 m).
    double west = std::numeric_limits<double>::infinity(), width = 0;
    for (size_t k = head; k < queue.size(); ++k)
      west = std::min(west, survey.Positions[static_cast<size_t>(queue[k])].X);
    for (size_t k = head; k < queue.size(); ++k)
      width = std::max(width, survey.Positions[static_cast<size_t>(queue[k])].X - west);
    const double shift = east + std::max(10.0, width / 10) - west;
    for (size_t k = head; k < queue.size(); ++k) {
      Vec3& p = survey.Positions[static_cast<size_t>(queue[k])];
      p.X += shift;
      east = std::max(east, p.X);
    }
  }
}
