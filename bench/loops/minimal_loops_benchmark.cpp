// The minimal loop search on full N x N grids, on 60 % random grids (the
// networks of cyclorn-cli's --grid --density 60 --no-bordered) and on random
// non-gridded networks (--random), the automatic choice of search beside the
// near-minimum one, and the loop set quality of the three searches' loops at
// 300 x 300.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench/loops/loop_counters.h"
#include "bench/loops/survey_grids.h"
#include "loops/loop_search.h"

namespace {

// Times the search the second argument names (0 the automatic choice, 1 the
// near-minimum search) on a network the caller filled, then reports its
// counters and which basis came out.
void TimeFindLoopsMinimal(benchmark::State& state, const TSurveyGraph& graph) {
  const TMinimalSearch search = state.range(1) == 0 ? TMinimalSearch::msAutomatic : TMinimalSearch::msNearMinimum;
  TLoopList loops;
  TMinimalBasis basis = TMinimalBasis::mbNearMinimum;
  for (auto _ : state) basis = FindLoopsMinimal(graph, loops, search);
  SetCounters(state, graph, loops);
  state.counters["minimum"] = basis == TMinimalBasis::mbMinimum ? 1 : 0;
}

void BM_FindLoopsMinimal(benchmark::State& state) {
  TSurveyGraph graph;
  FillFullGrid(graph, static_cast<int32_t>(state.range(0)));
  TimeFindLoopsMinimal(state, graph);
  const auto n = static_cast<double>(state.range(0));
  state.counters["four_squares"] = 4 * (n - 1) * (n - 1);
}
BENCHMARK(BM_FindLoopsMinimal)
    ->ArgNames({"n", "near"})
    ->Args({100, 0})
    ->Args({100, 1})
    ->Args({141, 0})
    ->Args({141, 1})
    ->Args({300, 0})
    ->Args({1000, 0})
    ->Unit(benchmark::kMillisecond);

void BM_FindLoopsMinimalRandom(benchmark::State& state) {
  TSurveyGraph graph;
  FillSixtyPercentGrid(graph, static_cast<int32_t>(state.range(0)));
  TimeFindLoopsMinimal(state, graph);
}
BENCHMARK(BM_FindLoopsMinimalRandom)
    ->ArgNames({"n", "near"})
    ->ArgsProduct({{30, 50, 100, 200, 290}, {0, 1}})
    ->Args({300, 0})
    ->Args({500, 0})
    ->Unit(benchmark::kMillisecond);

void BM_FindLoopsMinimalNonGridded(benchmark::State& state) {
  TSurveyGraph graph;
  FillRandomNetwork(graph, static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(0)));
  TimeFindLoopsMinimal(state, graph);
}
BENCHMARK(BM_FindLoopsMinimalNonGridded)
    ->ArgNames({"n", "near"})
    ->ArgsProduct({{60, 100, 150}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

enum TMethod : int64_t { kShortest = 0, kFundamental = 1, kOverlap = 2, kMinimal = 3 };

// Quality of the loops of one search on the full 300 x 300 grid; the search
// runs once, outside the measured loop.
void BM_MeasureLoopSet(benchmark::State& state) {
  TSurveyGraph graph;
  FillFullGrid(graph, 300);
  TLoopList loops;
  switch (state.range(0)) {
    case kShortest:
      FindLoopsShortest(graph, loops, true);
      break;
    case kFundamental:
      FindLoopsOverlap(graph, loops, false);
      break;
    case kOverlap:
      FindLoopsOverlap(graph, loops, true);
      break;
    default:
      FindLoopsMinimal(graph, loops);
      break;
  }
  TLoopSetQuality quality;
  for (auto _ : state) quality = MeasureLoopSet(graph, loops);
  state.counters["loops"] = quality.Loops;
  state.counters["loop_edges"] = static_cast<double>(quality.Edges);
  state.counters["independent"] = static_cast<double>(quality.Independent);
  state.counters["cycle_rank"] = static_cast<double>(quality.CycleRank);
  state.counters["closed"] = quality.Closed;
}
BENCHMARK(BM_MeasureLoopSet)
    ->ArgName("method")
    ->Arg(kShortest)
    ->Arg(kFundamental)
    ->Arg(kOverlap)
    ->Arg(kMinimal)
    ->Unit(benchmark::kMillisecond);

}  // namespace
