// The renderer's own cost per repaint of the graph view: every canvas
// operation goes to a canvas that only counts, so only the geometry, the
// label texts and the calls are measured.
#include <benchmark/benchmark.h>

#include "bench/draw/grid_network.h"
#include "draw/renderer.h"

namespace {

class TCountingCanvas final : public TCanvas {
 public:
  int64_t Operations = 0;
  void SetBrushColor(TColor) override { ++Operations; }
  void SetBrushStyle(TBrushStyle) override { ++Operations; }
  void SetPenColor(TColor) override { ++Operations; }
  void SetPenWidth(int32_t) override { ++Operations; }
  void SetFont(const TFontSpec&) override { ++Operations; }
  TRect ClipRect() const override { return {0, 0, 1024, 768}; }
  void FillRect(const TRect&) override { ++Operations; }
  TSize TextExtent(std::string_view text) override {
    ++Operations;
    return {7 * static_cast<int32_t>(text.size()), 13};
  }
  void Rectangle(const TRect&) override { ++Operations; }
  void TextRect(const TRect&, int32_t, int32_t, std::string_view) override { ++Operations; }
  void MoveTo(TPoint) override { ++Operations; }
  void LineTo(TPoint) override { ++Operations; }
  void Polygon(std::span<const TPoint>) override { ++Operations; }
};

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
