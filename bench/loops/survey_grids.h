#pragma once
// The networks the minimal-loop benchmarks measure, built as cyclorn-cli
// builds them: --grid --columns N --rows N (full, bordered), --grid --columns
// N --rows N --density 60 --no-bordered (about 60 % of the inner shots kept),
// margins 50, spacing 70, and --random --columns C --rows R [--width W
// --height H] (C x R stations on a W x H area, by default 1024 x 768); the
// random generator from state 0.

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

inline void FillRandomNetwork(TSurveyGraph& graph, int32_t columns, int32_t rows, int32_t width = 1024,
                              int32_t height = 768) {
  graph.Clear();
  RandomSeed = 0;
  BuildNonGriddedGraph(graph, columns * rows, width, 0, height);
}
