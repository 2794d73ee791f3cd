// Filling a survey graph: stations, edges and their bookkeeping, and the name
// lookups the problem grids and edge-by-name additions make.
#include <benchmark/benchmark.h>

#include <string>

#include "core/survey_graph.h"

namespace {

std::string GridName(int32_t k) { return "S" + std::to_string(k); }

void FillGrid(TSurveyGraph& graph, int32_t n) {
  graph.Clear();
  for (int32_t r = 0; r < n; ++r)
    for (int32_t c = 0; c < n; ++c) graph.AddStation(GridName(r * n + c), MakeVec3(c * 10.0, r * 10.0, 0));
  for (int32_t r = 0; r < n; ++r)
    for (int32_t c = 0; c + 1 < n; ++c) graph.AddEdgeByIndex(r * n + c, r * n + c + 1);
  for (int32_t c = 0; c < n; ++c)
    for (int32_t r = 0; r + 1 < n; ++r) graph.AddEdgeByIndex(r * n + c, (r + 1) * n + c);
}

void BM_FillGridGraph(benchmark::State& state) {
  const auto n = static_cast<int32_t>(state.range(0));
  TSurveyGraph graph;
  for (auto _ : state) FillGrid(graph, n);
  state.counters["stations"] = double(graph.StationCount());
  state.counters["shots"] = double(graph.Edges.Count());
}
BENCHMARK(BM_FillGridGraph)->RangeMultiplier(2)->Range(64, 1024)->Unit(benchmark::kMillisecond);

void BM_FindName(benchmark::State& state) {
  const auto n = static_cast<int32_t>(state.range(0));
  TSurveyGraph graph;
  FillGrid(graph, n);
  int32_t k = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(graph.Names.Find(GridName(k)));
    k = (k + 7919) % (n * n);
  }
}
BENCHMARK(BM_FindName)->Arg(50)->Arg(300);

}  // namespace
