#include "workbench/drawing_details.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_set>

#include "render/renderer.h"

namespace {

constexpr size_t kMostStationsNamed = 40;

const TSurveyGraph& DrawnGraph(const TWorkbench& bench) {
  return bench.ShowLoops || bench.ShownGraph == nullptr ? *bench.WorkGraph : *bench.ShownGraph;
}

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Plural(int64_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Whether the work graph is a survey's, so that its drawing units stand for metres.
bool IsSurveyGraph(const TWorkbench& bench, const TSurveyGraph& graph) {
  return bench.Survey() != nullptr && &graph == bench.WorkGraph.get();
}

}  // namespace

std::vector<std::string> LoopDetails(const TWorkbench& bench, int32_t loop, const TLoopMisclosure* misclosure) {
  if (loop < 0 || loop >= bench.Loops->Count()) return {};
  const TSurveyGraph& graph = *bench.WorkGraph;
  const TEdgeArray& edges = bench.Loops->LoopAt(loop);
  double length = 0;
  std::vector<int32_t> stations;
  std::unordered_set<int32_t> seen;
  for (int32_t k = 0; k < edges.Count(); ++k) {
    const TEdgeRec edge = edges.GetEdge(k);
    if (!DrawsEdge(graph, edge)) continue;
    length += Length3(Sub3(graph.Positions.Get(edge.To), graph.Positions.Get(edge.From)));
    for (const int32_t s : {edge.From, edge.To})
      if (seen.insert(s).second) stations.push_back(s);
  }
  const bool survey = bench.Survey() != nullptr;
  const bool measured = misclosure != nullptr && misclosure->Status == TLoopStatus::Measured;
  std::string head = "Loop " + std::to_string(loop) + ": " + Plural(edges.Count(), "shot", "shots") + ", ";
  if (measured)
    head += Fixed(misclosure->Length, 2) + " m";
  else if (survey)
    head += Fixed(length / bench.Network().Scale, 2) + " m";
  else
    head += "length " + Fixed(length, 0);
  std::vector<std::string> lines{head};
  std::vector<std::string> named;
  if (measured) {
    lines.push_back("misclosure " + Fixed(misclosure->Error, 3) + " m (" + Fixed(misclosure->ErrorPercent, 2) +
                    " %), ratio " + Fixed(misclosure->Ratio, 2));
    for (const int32_t s : misclosure->Stations) {
      const std::string_view name = bench.Survey()->MainName(s);
      named.push_back(name.empty() ? "#" + std::to_string(s) : std::string(name));
    }
  } else {
    for (const int32_t s : stations) named.push_back(bench.StationName(s));
  }
  // A long loop names its first stations only, so that the panel stays short.
  std::string names = "stations:";
  for (size_t k = 0; k < std::min(named.size(), kMostStationsNamed); ++k) names += " " + named[k];
  if (named.size() > kMostStationsNamed) names += " and " + std::to_string(named.size() - kMostStationsNamed) + " more";
  lines.push_back(names);
  return lines;
}

int32_t StationNear(const TWorkbench& bench, double x, double y, double radius) {
  const TSurveyGraph& graph = DrawnGraph(bench);
  int32_t nearest = -1;
  double best = radius * radius;
  for (int32_t i = 0; i < graph.StationCount(); ++i) {
    const Vec3 p = graph.Positions.Get(i);
    const double d = (p.X - x) * (p.X - x) + (p.Y - y) * (p.Y - y);
    if (d <= best) {
      best = d;
      nearest = i;
    }
  }
  return nearest;
}

std::string StationDetails(const TWorkbench& bench, int32_t station) {
  const TSurveyGraph& graph = DrawnGraph(bench);
  if (station < 0 || station >= graph.StationCount()) return {};
  const bool survey = IsSurveyGraph(bench, graph);
  const std::string graphName = graph.Names.GetName(station);
  std::string text = "Station ";
  const Vec3 p = graph.Positions.Get(station);
  if (survey) {
    const TSurveyNetwork& network = bench.Network();
    // Drawing positions back in metres: plan view, north up.
    const double east = p.X / network.Scale + network.Origin.X;
    const double north = network.Origin.Y - p.Y / network.Scale;
    const double up = p.Z / network.Scale + network.Origin.Z;
    text += bench.StationName(station) + " (" + graphName + "): " + Fixed(east, 2) + " m east, " + Fixed(north, 2) +
            " m north, " + Fixed(up, 2) + " m up";
  } else {
    text += graphName + " (" + std::to_string(station) + ") at " + Fixed(p.X, 0) + ", " + Fixed(p.Y, 0) + ", " +
            Fixed(p.Z, 0);
  }
  const THugeInteger& neighbours = graph.Neighbors.ListOf(station);
  text += "; " + Plural(neighbours.Count(), "shot", "shots");
  if (neighbours.Count() > 0) {
    text += ": to";
    for (int32_t k = 0; k < neighbours.Count(); ++k) {
      const int32_t w = neighbours.Get(k);
      text += (k == 0 ? " " : ", ") + (survey ? bench.StationName(w) : graph.Names.GetName(w));
    }
  }
  return text;
}
