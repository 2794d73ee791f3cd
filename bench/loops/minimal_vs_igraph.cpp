// The minimal loop search's two searches, the minimum and the near-minimum
// one, against igraph's exact minimum cycle basis on the same networks:
// random non-gridded networks, 60 % grids and full grids, each search timed
// on its own, and igraph's basis compared with the minimum search's on every
// network the loop engine's generated-network tests build.
#include <benchmark/benchmark.h>
#include <igraph/igraph.h>

#include <algorithm>
#include <cstdint>

#include "bench/loops/survey_grids.h"
#include "loops/loop_search.h"
#include "tests/loops/generated_networks.h"

namespace {

// The network's shots as an undirected igraph graph on the same vertex numbers.
class TIgraphNetwork {
 public:
  explicit TIgraphNetwork(const TSurveyGraph& graph) {
    igraph_vector_int_t ends;
    igraph_vector_int_init(&ends, 2 * static_cast<igraph_integer_t>(graph.Edges.Count()));
    for (int32_t e = 0; e < graph.Edges.Count(); ++e) {
      igraph_vector_int_set(&ends, 2 * e, graph.Edges.Froms.Get(e));
      igraph_vector_int_set(&ends, 2 * e + 1, graph.Edges.Tos.Get(e));
    }
    igraph_create(&graph_, &ends, graph.StationCount(), IGRAPH_UNDIRECTED);
    igraph_vector_int_destroy(&ends);
  }
  ~TIgraphNetwork() { igraph_destroy(&graph_); }
  TIgraphNetwork(const TIgraphNetwork&) = delete;
  TIgraphNetwork& operator=(const TIgraphNetwork&) = delete;

  // Total length of the exact minimum cycle basis.
  int64_t MinimumBasisLength() const {
    igraph_vector_int_list_t cycles;
    igraph_vector_int_list_init(&cycles, 0);
    igraph_minimum_cycle_basis(&graph_, &cycles, -1, true, false, nullptr);
    int64_t total = 0;
    for (igraph_integer_t i = 0; i < igraph_vector_int_list_size(&cycles); ++i)
      total += igraph_vector_int_size(igraph_vector_int_list_get_ptr(&cycles, i));
    igraph_vector_int_list_destroy(&cycles);
    return total;
  }

 private:
  igraph_t graph_;
};

enum TNetworkKind : int64_t {
  kRandom = 0,         // --random --columns N --rows N
  kRandomSquare = 1,   // --random --columns N --rows 2N/3 --width 2000 --height 2000
  kSixtyPercent = 2,   // --grid --columns N --rows N --density 60 --no-bordered
  kFull = 3            // --grid --columns N --rows N
};

void FillNetwork(TSurveyGraph& graph, int64_t kind, int32_t n) {
  switch (kind) {
    case kRandom:
      FillRandomNetwork(graph, n, n);
      break;
    case kRandomSquare:
      FillRandomNetwork(graph, n, 2 * n / 3, 2000, 2000);
      break;
    case kSixtyPercent:
      FillSixtyPercentGrid(graph, n);
      break;
    default:
      FillFullGrid(graph, n);
      break;
  }
}

int64_t TotalEdges(const TLoopList& loops) {
  int64_t total = 0;
  for (int32_t i = 0; i < loops.Count(); ++i) total += loops.LoopAt(i).Count();
  return total;
}

// The networks every benchmark here runs on.
void Networks(benchmark::internal::Benchmark* b) {
  b->ArgNames({"network", "n"});
  for (const int64_t n : {20, 30, 40, 50, 60}) b->Args({kRandom, n});
  for (const int64_t n : {30, 45, 60}) b->Args({kRandomSquare, n});
  for (const int64_t n : {20, 30, 40, 50, 60}) b->Args({kSixtyPercent, n});
  for (const int64_t n : {20, 30, 40}) b->Args({kFull, n});
}

void TimeSearch(benchmark::State& state, TMinimalSearch search) {
  TSurveyGraph graph;
  FillNetwork(graph, state.range(0), static_cast<int32_t>(state.range(1)));
  TLoopList loops;
  TMinimalBasis basis = TMinimalBasis::mbNearMinimum;
  for (auto _ : state) basis = FindLoopsMinimal(graph, loops, search);
  state.counters["loops"] = loops.Count();
  state.counters["edges"] = static_cast<double>(TotalEdges(loops));
  state.counters["minimum"] = basis == TMinimalBasis::mbMinimum ? 1 : 0;
}

void BM_MinimumSearch(benchmark::State& state) { TimeSearch(state, TMinimalSearch::msMinimum); }
BENCHMARK(BM_MinimumSearch)->Apply(Networks)->Unit(benchmark::kMillisecond);

void BM_NearMinimumSearch(benchmark::State& state) { TimeSearch(state, TMinimalSearch::msNearMinimum); }
BENCHMARK(BM_NearMinimumSearch)->Apply(Networks)->Unit(benchmark::kMillisecond);

// igraph's time; its total beside the two searches' and the near-minimum gap.
void BM_IgraphMinimumBasis(benchmark::State& state) {
  TSurveyGraph graph;
  FillNetwork(graph, state.range(0), static_cast<int32_t>(state.range(1)));
  TLoopList loops;
  FindLoopsMinimal(graph, loops, TMinimalSearch::msMinimum);
  const int64_t minimum = TotalEdges(loops);
  FindLoopsMinimal(graph, loops, TMinimalSearch::msNearMinimum);
  const int64_t nearMinimum = TotalEdges(loops);
  const TIgraphNetwork network(graph);
  int64_t exact = 0;
  for (auto _ : state) exact = network.MinimumBasisLength();
  state.counters["loops"] = loops.Count();
  state.counters["igraph_edges"] = static_cast<double>(exact);
  state.counters["minimum_edges"] = static_cast<double>(minimum);
  state.counters["near_minimum_edges"] = static_cast<double>(nearMinimum);
  state.counters["near_gap_percent"] =
      exact > 0 ? 100.0 * static_cast<double>(nearMinimum - exact) / static_cast<double>(exact) : 0;
}
BENCHMARK(BM_IgraphMinimumBasis)->Apply(Networks)->Iterations(1)->Unit(benchmark::kMillisecond);

// The networks of the generated-network tests (1,000 and 251 of the two
// kinds, as those tests build by default): how many the minimum search and
// igraph disagree on, which must be none.
void BM_GeneratedNetworksAgainstIgraph(benchmark::State& state) {
  int64_t networks = 0;
  int64_t differ = 0;
  int64_t nearDiffer = 0;
  int32_t mostLoops = 0;
  for (auto _ : state) {
    for (uint32_t seed = 1; seed <= 1000 + 251; ++seed) {
      const TNetwork net = seed <= 1000 ? MakeNetwork(seed) : MakeStressNetwork(seed - 1000);
      TSurveyGraph graph;
      Fill(graph, net);
      TLoopList loops;
      FindLoopsMinimal(graph, loops, TMinimalSearch::msMinimum);
      const int64_t minimum = TotalEdges(loops);
      FindLoopsMinimal(graph, loops, TMinimalSearch::msNearMinimum);
      const int64_t exact = TIgraphNetwork(graph).MinimumBasisLength();
      ++networks;
      if (minimum != exact) ++differ;
      if (TotalEdges(loops) != exact) ++nearDiffer;
      mostLoops = std::max(mostLoops, loops.Count());
    }
  }
  state.counters["networks"] = static_cast<double>(networks);
  state.counters["most_loops"] = mostLoops;
  state.counters["minimum_differs"] = static_cast<double>(differ);
  state.counters["near_minimum_differs"] = static_cast<double>(nearDiffer);
}
BENCHMARK(BM_GeneratedNetworksAgainstIgraph)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
