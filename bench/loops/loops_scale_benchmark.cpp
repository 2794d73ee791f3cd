// The spanning trees and loop searches on full N x N grids and a 60 % random
// 300 x 300 grid: the fast engine at every size, the step-by-step engine
// (the reference kept with the tests) beside it on the sizes it finishes in reasonable time.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>

#include "bench/loops/loop_counters.h"
#include "loops/loop_search.h"
#include "sources/graph_builders.h"
#include "sources/random_int.h"
#include "tests/loops/reference/literal_engine.h"

namespace {

constexpr int32_t kSpacing = 10;
// A threshold of 0 keeps every shot; 40 keeps about 60 % of the inner ones.
constexpr int32_t kRandomGridThreshold = 40;
constexpr int32_t kRandomGridSize = 300;

// Size argument 0 stands for the random grid, any other for a full N x N grid.
void FillNetwork(TSurveyGraph& graph, int64_t size) {
  graph.Clear();
  RandomSeed = 0;
  const auto n = static_cast<int32_t>(size == 0 ? kRandomGridSize : size);
  const int32_t threshold = size == 0 ? kRandomGridThreshold : 0;
  BuildGriddedGraph(graph, kSpacing, kSpacing, true, false, threshold, n, n, kSpacing, kSpacing);
}

enum TEngine : int64_t { kLiteral = 0, kFast = 1 };
enum TTree : int64_t { kByLength = 0, kByOrder = 1, kDepthFirst = 2 };

void BM_Tree(benchmark::State& state) {
  TSurveyGraph graph;
  FillNetwork(graph, state.range(0));
  const bool fast = state.range(1) == kFast;
  const int64_t kind = state.range(2);
  TSurveyGraph tree;
  TLoopList loops;
  for (auto _ : state) {
    if (kind == kDepthFirst)
      fast ? DepthFirstTree(graph, tree, loops) : LiteralDepthFirstTree(graph, tree, loops);
    else
      fast ? BreadthFirstTree(graph, tree, loops, kind == kByOrder)
           : LiteralBreadthFirstTree(graph, tree, loops, kind == kByOrder);
  }
  SetCounters(state, graph, loops);
}

void BM_Shortest(benchmark::State& state) {
  TSurveyGraph graph;
  FillNetwork(graph, state.range(0));
  const bool fast = state.range(1) == kFast;
  const bool optimize = state.range(2) != 0;
  TLoopList loops;
  for (auto _ : state)
    fast ? FindLoopsShortest(graph, loops, optimize) : LiteralFindLoopsShortest(graph, loops, optimize);
  SetCounters(state, graph, loops);
}

void BM_Overlap(benchmark::State& state) {
  TSurveyGraph graph;
  FillNetwork(graph, state.range(0));
  const bool fast = state.range(1) == kFast;
  const bool optimize = state.range(2) != 0;
  TLoopList loops;
  for (auto _ : state)
    fast ? FindLoopsOverlap(graph, loops, optimize) : LiteralFindLoopsOverlap(graph, loops, optimize);
  SetCounters(state, graph, loops);
}

// Arguments: size (0 = random 300 x 300 grid), engine, tree kind or optimise.
void FastSizes(benchmark::internal::Benchmark* b, int64_t last) {
  for (const int64_t size : {50, 100, 200, 300, 400, 0})
    for (int64_t k = 0; k <= last; ++k) b->Args({size, kFast, k});
  b->Unit(benchmark::kMillisecond);
}
void LiteralSizes(benchmark::internal::Benchmark* b, int64_t last, std::initializer_list<int64_t> sizes) {
  for (const int64_t size : sizes)
    for (int64_t k = 0; k <= last; ++k) b->Args({size, kLiteral, k});
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Tree)->Apply([](benchmark::internal::Benchmark* b) { FastSizes(b, kDepthFirst); });
BENCHMARK(BM_Tree)->Name("BM_TreeLiteral")->Apply([](benchmark::internal::Benchmark* b) {
  LiteralSizes(b, kDepthFirst, {50, 100});
});
BENCHMARK(BM_Shortest)->Apply([](benchmark::internal::Benchmark* b) { FastSizes(b, 1); });
BENCHMARK(BM_Shortest)->Name("BM_ShortestLiteral")->Apply([](benchmark::internal::Benchmark* b) {
  LiteralSizes(b, 1, {50, 100});
});
BENCHMARK(BM_Overlap)->Apply([](benchmark::internal::Benchmark* b) { FastSizes(b, 1); });
BENCHMARK(BM_Overlap)->Name("BM_OverlapLiteral")->Apply([](benchmark::internal::Benchmark* b) {
  LiteralSizes(b, 1, {50});
});

// The step-by-step engine's optimised shortest search on the 300 x 300 grid
// takes minutes, so it is measured once, and only when
// CYCLORN_BENCH_LARGE_REFERENCE is set.
const bool kLargeReferenceRegistered = [] {
  if (std::getenv("CYCLORN_BENCH_LARGE_REFERENCE") == nullptr) return false;
  benchmark::RegisterBenchmark("BM_ShortestLiteral", BM_Shortest)
      ->Args({300, kLiteral, 1})
      ->Iterations(1)
      ->Unit(benchmark::kSecond);
  return true;
}();

}  // namespace
