// A whole repaint of the graph view through the QPainter canvas into an
// image of the drawing area's size, as the screen and PNG export draw it.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "bench/render/grid_network.h"
#include "bench/offscreen_application.h"
#include "render_qt/qt_canvas.h"
#include "render/renderer.h"

namespace {

QGuiApplication& App() { return OffscreenApplication<QGuiApplication>(); }

void BM_DrawGraphOnImage(benchmark::State& state) {
  App();
  const int side = static_cast<int>(state.range(0));
  TSurveyGraph graph;
  BuildGridNetwork(graph, side);
  TDisplaySettings settings;
  QImage image(70 * side + 25, 70 * side + 25, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    DrawGraph(canvas, graph, settings);
  }
  state.SetItemsProcessed(state.iterations() * graph.Edges.Count());
}
BENCHMARK(BM_DrawGraphOnImage)->RangeMultiplier(2)->Range(8, 64)->Unit(benchmark::kMillisecond);

// A screen repaint: the drawing area is as large as the network but only a
// 1024 x 768 view of it is repainted.
void BM_RepaintVisiblePart(benchmark::State& state) {
  App();
  const int side = static_cast<int>(state.range(0));
  TSurveyGraph graph;
  BuildGridNetwork(graph, side);
  TDisplaySettings settings;
  QImage image(70 * side + 25, 70 * side + 25, QImage::Format_RGB32);
  const QRect view(0, 0, 1024, 768);
  for (auto _ : state) {
    QPainter painter(&image);
    painter.setClipRect(view);
    TQtCanvas canvas(painter, view);
    DrawGraph(canvas, graph, settings);
  }
  state.SetItemsProcessed(state.iterations() * graph.Edges.Count());
}
BENCHMARK(BM_RepaintVisiblePart)->RangeMultiplier(2)->Range(16, 64)->Unit(benchmark::kMillisecond);

}  // namespace
