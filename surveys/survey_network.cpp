#include "surveys/survey_network.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <unordered_set>

#include "core/errors.h"
#include "surveys/station_names.h"

namespace {

bool Chosen(const TSurveyLeg& leg, const TLegChoice& choice, TSurveyNetwork& network) {
  if ((leg.Flags & lfSplay) && !choice.Splays) {
    ++network.SplaysLeftOut;
    return false;
  }
  if ((leg.Flags & lfSurface) && !choice.Surface) {
    ++network.SurfaceLeftOut;
    return false;
  }
  if ((leg.Flags & lfDuplicate) && !choice.Duplicates) {
    ++network.DuplicatesLeftOut;
    return false;
  }
  if (leg.From == leg.To) {
    ++network.SelfLegsLeftOut;
    return false;
  }
  return true;
}

void CheckLegs(const TSurvey& survey) {
  const int32_t stations = survey.StationCount();
  for (int32_t j = 0; j < survey.LegCount(); ++j) {
    const TSurveyLeg& leg = survey.Legs[static_cast<size_t>(j)];
    if (leg.From < 0 || leg.From >= stations || leg.To < 0 || leg.To >= stations) {
      throw ECyclornError("Leg " + std::to_string(j) + " joins a station the survey does not have");
    }
  }
}

// The median length in metres of the legs (that become shots); 0 without any.
double MedianShotLength(const TSurvey& survey, const std::vector<int32_t>& legs) {
  std::vector<double> lengths;
  lengths.reserve(legs.size());
  for (const int32_t leg : legs) {
    const TSurveyLeg& l = survey.Legs[static_cast<size_t>(leg)];
    const double length = Length3(Sub3(survey.Positions[static_cast<size_t>(l.To)], survey.Positions[static_cast<size_t>(l.From)]));
    if (length > 0 && std::isfinite(length)) lengths.push_back(length);
  }
  if (lengths.empty()) return 0;
  const auto middle = lengths.begin() + static_cast<std::ptrdiff_t>(lengths.size() / 2);
  std::nth_element(lengths.begin(), middle, lengths.end());
  return *middle;
}

// Scale and origin: the graph stations' extent fitted into the drawing area,
// or larger where the legs would come out too short to see.
void Place(const TSurvey& survey, const std::vector<int32_t>& legs, TSurveyNetwork& network) {
  constexpr double kFar = std::numeric_limits<double>::infinity();
  Vec3 low = MakeVec3(kFar, kFar, kFar);
  Vec3 high = MakeVec3(-kFar, -kFar, -kFar);
  for (const int32_t s : network.StationOfNode) {
    const Vec3 p = survey.Positions[static_cast<size_t>(s)];
    low = MakeVec3(std::min(low.X, p.X), std::min(low.Y, p.Y), std::min(low.Z, p.Z));
    high = MakeVec3(std::max(high.X, p.X), std::max(high.Y, p.Y), std::max(high.Z, p.Z));
  }
  const bool finite = std::isfinite(low.X) && std::isfinite(low.Y) && std::isfinite(low.Z) && std::isfinite(high.X) &&
                      std::isfinite(high.Y) && std::isfinite(high.Z);
  if (network.StationOfNode.empty() || !finite) return;
  network.Scale = SurveyScale(high.X - low.X, high.Y - low.Y, MedianShotLength(survey, legs));
  const double margin = kFitMargin / network.Scale;
  network.Origin = MakeVec3(low.X - margin, high.Y + margin, low.Z);
}

// Room for the whole network at once: growing step by step would copy
// the large columns again and again.
void Reserve(TSurveyGraph& graph, int32_t stations, int32_t shots) {
  if (stations <= graph.Positions.Capacity()) return;
  graph.Names.NameList.SetCapacity(stations);
  graph.Names.NameList.Tags.SetCapacity(stations);
  graph.Names.NextInChain.SetCapacity(stations);
  graph.Positions.SetCapacity(stations);
  graph.Marks.SetCapacity(stations);
  graph.Parents.SetCapacity(stations);
  graph.Neighbors.SetCapacity(stations);
  graph.IncidentEdges.SetCapacity(stations);
  if (shots > graph.Edges.Froms.Capacity()) {
    graph.Edges.Froms.SetCapacity(shots);
    graph.Edges.Tos.SetCapacity(shots);
    graph.Edges.Flags.SetCapacity(shots);
  }
}

// Writes "#<n>" into buffer and returns it.
std::string_view Generated(char (&buffer)[24], int64_t n) {
  buffer[0] = '#';
  const auto end = std::to_chars(buffer + 1, buffer + sizeof buffer, n).ptr;
  return std::string_view(buffer, static_cast<size_t>(end - buffer));
}

}  // namespace

namespace {

// The largest m x 10^k (m = 1, 2 or 5) no larger than limit (positive and
// finite), with a little slack so that a limit met exactly is not refused
// for a rounding error.
double RoundDown(double limit) {
  const double slack = limit * (1 + 1e-12);
  int exponent = static_cast<int>(std::floor(std::log10(limit))) + 1;
  for (;; --exponent) {
    const double decade = std::pow(10.0, exponent);
    for (const double m : {5.0, 2.0, 1.0}) {
      if (m * decade <= slack) return m * decade;
    }
    if (decade == 0) return 1;
  }
}

// The smallest m x 10^k no smaller than wanted (positive and finite).
double RoundUp(double wanted) {
  const double slack = wanted * (1 - 1e-12);
  for (int exponent = static_cast<int>(std::floor(std::log10(wanted))) - 1;; ++exponent) {
    const double decade = std::pow(10.0, exponent);
    for (const double m : {1.0, 2.0, 5.0}) {
      if (m * decade >= slack) return m * decade;
    }
  }
}

}  // namespace

double SurveyScale(double width, double height, double medianLeg) {
  const double fit = FitScale(width, height);
  if (!(medianLeg > 0) || !std::isfinite(medianLeg)) return fit;
  double scale = RoundUp(kMinLegUnits / medianLeg);
  const double extent = std::max(width, height);
  if (extent > 0 && std::isfinite(extent)) scale = std::min(scale, RoundDown(kMaxFitSide / extent));
  return std::max(fit, scale);
}

double FitScale(double width, double height) {
  double limit = std::numeric_limits<double>::infinity();
  if (width > 0) limit = std::min(limit, kFitWidth / width);
  if (height > 0) limit = std::min(limit, kFitHeight / height);
  if (!std::isfinite(limit) || limit <= 0) return 1;
  return RoundDown(limit);
}

Vec3 DrawingPosition(const TSurveyNetwork& network, Vec3 metres) {
  const Vec3 d = Sub3(metres, network.Origin);
  return MakeVec3(d.X * network.Scale, -d.Y * network.Scale, d.Z * network.Scale);
}

TSurveyNetwork BuildSurveyNetwork(const TSurvey& survey, const TLegChoice& choice, TSurveyGraph& graph) {
  CheckLegs(survey);
  TSurveyNetwork network;
  network.NodeOfStation.assign(static_cast<size_t>(survey.StationCount()), -1);
  std::vector<int32_t> chosen;
  for (int32_t leg = 0; leg < survey.LegCount(); ++leg) {
    const TSurveyLeg& l = survey.Legs[static_cast<size_t>(leg)];
    if (!Chosen(l, choice, network)) continue;
    chosen.push_back(leg);
    network.NodeOfStation[static_cast<size_t>(l.From)] = 0;
    network.NodeOfStation[static_cast<size_t>(l.To)] = 0;
  }
  for (int32_t s = 0; s < survey.StationCount(); ++s) {
    int32_t& node = network.NodeOfStation[static_cast<size_t>(s)];
    if (node < 0) continue;
    node = static_cast<int32_t>(network.StationOfNode.size());
    network.StationOfNode.push_back(s);
  }
  Place(survey, chosen, network);

  const std::vector<TStationTail> tails = ChooseStationTails(survey);
  // Tails that look like generated names, which those must not repeat.
  std::unordered_set<uint64_t> taken;
  for (const int32_t s : network.StationOfNode) {
    const TStationTail& tail = tails[static_cast<size_t>(s)];
    if (tail.Name >= 0 && TailText(survey, s, tail).front() == '#')
      taken.insert(FoldedNameKey(TailText(survey, s, tail)));
  }

  graph.Clear();
  Reserve(graph, static_cast<int32_t>(network.StationOfNode.size()), static_cast<int32_t>(chosen.size()));
  const auto nodes = static_cast<int64_t>(network.StationOfNode.size());
  int64_t spare = nodes;  // the next "#<n>" to try when "#<index>" is taken
  char buffer[24];
  for (int64_t node = 0; node < nodes; ++node) {
    const int32_t s = network.StationOfNode[static_cast<size_t>(node)];
    const TStationTail& tail = tails[static_cast<size_t>(s)];
    std::string_view name;
    if (tail.Name >= 0) {
      name = TailText(survey, s, tail);
    } else {
      ++network.GeneratedNames;
      name = Generated(buffer, node);
      while (!taken.empty() && taken.count(FoldedNameKey(name)) > 0) name = Generated(buffer, spare++);
    }
    graph.AddStation(name, DrawingPosition(network, survey.Positions[static_cast<size_t>(s)]));
  }
  network.LegOfShot.reserve(chosen.size());
  // Each shot adds to the lists of its two stations, which lie far apart
  // when the survey runs across its stations' order. The lists are reached
  // through a column of pointers, so both are fetched ahead, the pointers
  // further ahead than the lists they point to, a block of shots at a time.
  constexpr size_t kBlock = 4096;
  constexpr size_t kPointersAhead = 16;
  constexpr size_t kListsAhead = 8;
  std::vector<TEdgeRec> block;
  block.reserve(std::min(kBlock, chosen.size()));
  for (size_t first = 0; first < chosen.size(); first += kBlock) {
    block.clear();
    for (size_t k = first; k < std::min(first + kBlock, chosen.size()); ++k) {
      const TSurveyLeg& l = survey.Legs[static_cast<size_t>(chosen[k])];
      block.push_back(
          {network.NodeOfStation[static_cast<size_t>(l.From)], network.NodeOfStation[static_cast<size_t>(l.To)], 0});
    }
    for (size_t k = 0; k < block.size(); ++k) {
      if (k + kPointersAhead < block.size()) {
        for (const int32_t node : {block[k + kPointersAhead].From, block[k + kPointersAhead].To}) {
          __builtin_prefetch(graph.Neighbors.ItemPtr(node));
          __builtin_prefetch(graph.IncidentEdges.ItemPtr(node));
        }
      }
      if (k + kListsAhead < block.size()) {
        for (const int32_t node : {block[k + kListsAhead].From, block[k + kListsAhead].To}) {
          __builtin_prefetch(&graph.Neighbors.ListOf(node), 1);
          __builtin_prefetch(&graph.IncidentEdges.ListOf(node), 1);
        }
      }
      graph.AddEdge(block[k]);
      network.LegOfShot.push_back(chosen[first + k]);
    }
  }
  return network;
}
