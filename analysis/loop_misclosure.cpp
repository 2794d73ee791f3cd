#include "analysis/loop_misclosure.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "analysis/leg_covariance.h"
#include "analysis/loop_walk.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void SetUnknown(TLoopMisclosure& loop) {
  loop.Length = kNaN;
  loop.Misclosure = MakeVec3(kNaN, kNaN, kNaN);
  loop.Error = loop.ErrorPercent = loop.Ratio = kNaN;
}

void Measure(const TSurvey& survey, TLoopMisclosure& loop) {
  TVector3 sum = TVector3::Zero();
  TMatrix3 covariance = TMatrix3::Zero();
  double length = 0;
  for (size_t k = 0; k < loop.LegIndices.size(); ++k) {
    const TLegMeasurement& m = survey.Measurements[static_cast<size_t>(loop.LegIndices[k])];
    sum += loop.Directions[k] * ToEigen(m.Vector);
    covariance += UsableCovariance(m.Covariance);
    length += Length3(m.Vector);
  }
  loop.Length = length;
  loop.Misclosure = FromEigen(sum);
  loop.Error = sum.norm();
  loop.ErrorPercent = length > 0 ? 100 * loop.Error / length : kNaN;
  const Eigen::LDLT<TMatrix3> ldlt(covariance);
  loop.Ratio = ldlt.info() == Eigen::Success ? std::sqrt(std::max(0.0, sum.dot(ldlt.solve(sum))) / 3) : kNaN;
}

double FieldValue(const TLoopMisclosure& loop, TMisclosureField field) {
  switch (field) {
    case TMisclosureField::Index:
      return loop.Index;
    case TMisclosureField::Legs:
      return loop.Legs;
    case TMisclosureField::Length:
      return loop.Length;
    case TMisclosureField::East:
      return loop.Misclosure.X;
    case TMisclosureField::North:
      return loop.Misclosure.Y;
    case TMisclosureField::Up:
      return loop.Misclosure.Z;
    case TMisclosureField::Error:
      return loop.Error;
    case TMisclosureField::ErrorPercent:
      return loop.ErrorPercent;
    case TMisclosureField::Ratio:
      return loop.Ratio;
  }
  return kNaN;
}

}  // namespace

std::vector<TLoopMisclosure> ComputeMisclosures(const TSurvey& survey, const TSurveyNetwork& network,
                                                const TSurveyGraph& graph, const TLoopList& loops) {
  std::vector<TLoopMisclosure> result(static_cast<size_t>(loops.Count()));
  TLoopWalker walker(graph);
  TLoopWalk walk;
  for (int32_t i = 0; i < loops.Count(); ++i) {
    TLoopMisclosure& loop = result[static_cast<size_t>(i)];
    loop.Index = i;
    const TEdgeArray& edges = loops.LoopAt(i);
    if (!walker.Walk(edges, walk)) {
      loop.Status = TLoopStatus::NotClosed;
      loop.Legs = edges.Count();
      SetUnknown(loop);
      continue;
    }
    loop.Legs = static_cast<int32_t>(walk.Shots.size());
    for (size_t k = 0; k < walk.Shots.size(); ++k) {
      const int32_t leg = network.LegOfShot[static_cast<size_t>(walk.Shots[k])];
      const TSurveyLeg& l = survey.Legs[static_cast<size_t>(leg)];
      // The shot runs as the leg does unless the graph's edge was turned.
      const bool alongLeg = graph.Edges.Froms.Get(walk.Shots[k]) == network.NodeOfStation[static_cast<size_t>(l.From)];
      loop.LegIndices.push_back(leg);
      loop.Directions.push_back(static_cast<int8_t>(alongLeg ? walk.Signs[k] : -walk.Signs[k]));
      loop.Stations.push_back(network.StationOfNode[static_cast<size_t>(walk.Nodes[k])]);
      if (!IsMeasuredLeg(survey, leg)) ++loop.UnmeasuredLegs;
    }
    if (loop.UnmeasuredLegs > 0) {
      loop.Status = TLoopStatus::Unmeasured;
      SetUnknown(loop);
    } else {
      loop.Status = TLoopStatus::Measured;
      Measure(survey, loop);
    }
  }
  return result;
}

void SortMisclosures(std::vector<TLoopMisclosure>& loops, TMisclosureField field, bool descending) {
  std::stable_sort(loops.begin(), loops.end(), [&](const TLoopMisclosure& a, const TLoopMisclosure& b) {
    const double x = FieldValue(a, field), y = FieldValue(b, field);
    const bool xKnown = !std::isnan(x), yKnown = !std::isnan(y);
    if (xKnown != yKnown) return xKnown;
    if (xKnown && x != y) return descending ? x > y : x < y;
    return a.Index < b.Index;
  });
}

std::optional<TMisclosureField> MisclosureFieldByName(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, TMisclosureField>, 9> kNames{{
      {"index", TMisclosureField::Index},
      {"legs", TMisclosureField::Legs},
      {"length", TMisclosureField::Length},
      {"east", TMisclosureField::East},
      {"north", TMisclosureField::North},
      {"up", TMisclosureField::Up},
      {"error", TMisclosureField::Error},
      {"error_percent", TMisclosureField::ErrorPercent},
      {"ratio", TMisclosureField::Ratio},
  }};
  for (const auto& [text, field] : kNames)
    if (text == name) return field;
  return std::nullopt;
}
