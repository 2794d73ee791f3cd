#include "loops/shot_adjacency.h"

TShotAdjacency::TShotAdjacency(const TSurveyGraph& graph) {
  const auto stations = static_cast<size_t>(graph.StationCount());
  const int32_t shots = graph.Edges.Count();
  const int32_t* froms = graph.Edges.Froms.begin();
  const int32_t* tos = graph.Edges.Tos.begin();
  // Each station's count, summed so start_[v] is where v's shots end.
  start_.assign(stations + 1, 0);
  for (int32_t e = 0; e < shots; ++e) {
    ++start_[static_cast<size_t>(froms[e])];
    if (tos[e] != froms[e]) ++start_[static_cast<size_t>(tos[e])];
  }
  for (size_t v = 1; v < stations; ++v) start_[v] += start_[v - 1];
  if (stations > 0) start_[stations] = start_[stations - 1];
  links_.resize(start_[stations]);
  // Filled from the back in reverse edge order, so each station's shots
  // stand in edge order and start_[v] ends where v's shots begin.
  for (int32_t e = shots; e-- > 0;) {
    links_[--start_[static_cast<size_t>(froms[e])]] = {tos[e], e};
    if (tos[e] != froms[e]) links_[--start_[static_cast<size_t>(tos[e])]] = {froms[e], e};
  }
}
