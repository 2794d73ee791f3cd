// The renderer's own cost per repaint of the graph view: every canvas
// operation goes to a canvas that only counts, so only the geometry, the
// label texts and the calls are measured.
#include <benchmark/benchmark.h>

#include "bench/render/grid_network.h"
#include "render/renderer.h"
#include "tests/common/counting_canvas.h"

namespace {

void BM_DrawGraph(benchmark::State& state) {
  TSurveyGraph graph;
  BuildGridNetwork(graph, static_cast<int>(state.range(0)));
  TDisplaySettings settings;
  TCountingCanvas canvas;
  for (auto _ : state) {
    DrawGraph(canvas, graph, settings);
    benchmark::DoNotOptimize(canvas.Operations);
  }
  state.counters["edges"] = graph.Edges.Count();
  state.SetItemsProcessed(state.iterations() * graph.Edges.Count());
}
BENCHMARK(BM_DrawGraph)->RangeMultiplier(2)->Range(8, 128);

}  // namespace
