#pragma once
// The counters every loop benchmark reports: the size of the network and of
// the loop set found on it.

#include <benchmark/benchmark.h>

#include <cstdint>

#include "core/owned_lists.h"
#include "core/survey_graph.h"

inline void SetCounters(benchmark::State& state, const TSurveyGraph& graph, const TLoopList& loops) {
  int64_t loopEdges = 0;
  for (int32_t i = 0; i < loops.Count(); ++i) loopEdges += loops.LoopAt(i).Count();
  state.counters["stations"] = static_cast<double>(graph.StationCount());
  state.counters["shots"] = static_cast<double>(graph.Edges.Count());
  state.counters["loops"] = static_cast<double>(loops.Count());
  state.counters["loop_edges"] = static_cast<double>(loopEdges);
}
