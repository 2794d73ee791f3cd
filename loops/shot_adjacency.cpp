#include "loops/shot_adjacency.h"

TShotAdjacency::TShotAdjacency(const TSurveyGraph& graph) {
  const auto stations = static_cast<size_t>(graph.StationCount());
  const int32_t shots = graph.Edges.Count();
  const int32_t* froms = graph.Edges.Froms.begin();
  const int32_t* tos = graph.Edges.Tos.begin();
  start_.assign(stations + 1, 0);
  for (int32_t e = 0; e < shots; ++e) {
    ++start_[static_cast<size_t>(froms[e]) + 1];
    if (tos[e] != froms[e]) ++start_[static_cast<size_t>(tos[e]) + 1];
  }
  for (size_t v = 1; v <= stations; ++v) start_[v] += start_[v - 1];
  links_.resize(start_[stations]);
  // Filled in edge order, so each station's shots stay in edge order.
  std::vector<size_t> next(start_.begin(), start_.end() - 1);
  for (int32_t e = 0; e < shots; ++e) {
    links_[next[static_cast<size_t>(froms[e])]++] = {tos[e], e};
    if (tos[e] != froms[e]) links_[next[static_cast<size_t>(tos[e])]++] = {froms[e], e};
  }
}
