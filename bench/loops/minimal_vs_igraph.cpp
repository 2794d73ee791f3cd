// The minimal loop search against igraph's exact minimum cycle basis on the
// 60 % random grids of 30 x 30, 50 x 50 and 100 x 100: both total lengths and
// the gap in per cent, with igraph's time as the measured time.
#include <benchmark/benchmark.h>
#include <igraph/igraph.h>

#include <cstdint>

#include "bench/loops/survey_grids.h"
#include "loops/loop_search.h"

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

void BM_MinimalAgainstIgraph(benchmark::State& state) {
  TSurveyGraph graph;
  FillSixtyPercentGrid(graph, static_cast<int32_t>(state.range(0)));
  TLoopList loops;
  FindLoopsMinimal(graph, loops);
  const int64_t minimal = MeasureLoopSet(graph, loops).Edges;
  const TIgraphNetwork network(graph);
  int64_t exact = 0;
  for (auto _ : state) exact = network.MinimumBasisLength();
  state.counters["loops"] = loops.Count();
  state.counters["minimal_edges"] = static_cast<double>(minimal);
  state.counters["igraph_edges"] = static_cast<double>(exact);
  state.counters["gap_percent"] = exact > 0 ? 100.0 * static_cast<double>(minimal - exact) / static_cast<double>(exact) : 0;
}
BENCHMARK(BM_MinimalAgainstIgraph)->Arg(30)->Arg(50)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
