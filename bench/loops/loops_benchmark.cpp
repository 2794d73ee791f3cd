// The loop engine on square grids of n x n stations: the two spanning trees
// and the two loop searches with and without optimisation.
#include <benchmark/benchmark.h>

#include <string>

#include "loops/loop_search.h"

namespace {

void FillGrid(TSurveyGraph& graph, int32_t n) {
  graph.Clear();
  for (int32_t r = 0; r < n; ++r)
    for (int32_t c = 0; c < n; ++c) graph.AddStation("S" + std::to_string(r * n + c), MakeVec3(c * 10.0, r * 10.0, 0));
  for (int32_t r = 0; r < n; ++r)
    for (int32_t c = 0; c + 1 < n; ++c) graph.AddEdgeByIndex(r * n + c, r * n + c + 1);
  for (int32_t r = 0; r + 1 < n; ++r)
    for (int32_t c = 0; c < n; ++c) graph.AddEdgeByIndex(r * n + c, (r + 1) * n + c);
}

void SetCounters(benchmark::State& state, const TSurveyGraph& graph, const TLoopList& loops) {
  state.counters["stations"] = static_cast<double>(graph.StationCount());
  state.counters["loops"] = static_cast<double>(loops.Count());
}

void BM_BreadthFirstTree(benchmark::State& state) {
  TSurveyGraph graph;
  FillGrid(graph, static_cast<int32_t>(state.range(0)));
  TSurveyGraph tree;
  TLoopList loops;
  for (auto _ : state) BreadthFirstTree(graph, tree, loops, state.range(1) != 0);
  SetCounters(state, graph, loops);
}
BENCHMARK(BM_BreadthFirstTree)->ArgsProduct({{8, 16, 32, 64}, {0, 1}})->Unit(benchmark::kMillisecond);

void BM_DepthFirstTree(benchmark::State& state) {
  TSurveyGraph graph;
  FillGrid(graph, static_cast<int32_t>(state.range(0)));
  TSurveyGraph tree;
  TLoopList loops;
  for (auto _ : state) DepthFirstTree(graph, tree, loops);
  SetCounters(state, graph, loops);
}
BENCHMARK(BM_DepthFirstTree)->RangeMultiplier(2)->Range(8, 64)->Unit(benchmark::kMillisecond);

void BM_FindLoopsShortest(benchmark::State& state) {
  TSurveyGraph graph;
  FillGrid(graph, static_cast<int32_t>(state.range(0)));
  TLoopList loops;
  for (auto _ : state) FindLoopsShortest(graph, loops, state.range(1) != 0);
  SetCounters(state, graph, loops);
}
BENCHMARK(BM_FindLoopsShortest)->ArgsProduct({{8, 16, 32}, {0, 1}})->Unit(benchmark::kMillisecond);

void BM_FindLoopsOverlap(benchmark::State& state) {
  TSurveyGraph graph;
  FillGrid(graph, static_cast<int32_t>(state.range(0)));
  TLoopList loops;
  for (auto _ : state) FindLoopsOverlap(graph, loops, state.range(1) != 0);
  SetCounters(state, graph, loops);
}
BENCHMARK(BM_FindLoopsOverlap)->ArgsProduct({{8, 16, 32}, {0, 1}})->Unit(benchmark::kMillisecond);

}  // namespace
