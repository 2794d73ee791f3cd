#pragma once
// The grids the minimal-loop benchmarks measure, built as cyclorn-cli builds
// them: --grid --columns N --rows N (full, bordered) and --grid --columns N
// --rows N --density 60 --no-bordered (about 60 % of the inner shots kept),
// margins 50, spacing 70, the random generator from state 0.

#include <cstdint>

#include "core/survey_graph.h"
#include "sources/graph_builders.h"
#include "sources/random_int.h"

inline void FillFullGrid(TSurveyGraph& graph, int32_t n) {
  graph.Clear();
  RandomSeed = 0;
  BuildGriddedGraph(graph, 50, 50, true, false, 0, n, n, 70, 70);
}

inline void FillSixtyPercentGrid(TSurveyGraph& graph, int32_t n) {
  graph.Clear();
  RandomSeed = 0;
  BuildGriddedGraph(graph, 50, 50, false, false, 100 - 60, n, n, 70, 70);
}
