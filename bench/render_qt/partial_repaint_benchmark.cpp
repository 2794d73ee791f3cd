// Repainting part of the drawing area of a million-station network, as the
// screen does while scrolling: a 1024 x 768 part in the middle and at a
// corner, in the graph view and the loop view, with the drawing index built
// beforehand; and building that index.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>
#include <QImage>
#include <QPainter>

#include "bench/offscreen_application.h"
#include "render/drawing_index.h"
#include "render/paint_area.h"
#include "render_qt/qt_canvas.h"
#include "render/spatial_index.h"
#include "sources/graph_builders.h"

namespace {

constexpr int32_t kSide = 1000;
constexpr int32_t kSpacing = 70;

QGuiApplication& App() { return OffscreenApplication<QGuiApplication>(); }

// The full 1000 x 1000 network of the "Grid" page's layout (1,998,000 shots)
// and its 998,001 squares as loops, made once for all benchmarks.
struct TBigNetwork {
  TSurveyGraph Graph;
  TLoopList Loops;

  TBigNetwork() {
    BuildGriddedGraph(Graph, 35, 35, true, false, 0, kSide, kSide, kSpacing, kSpacing);
    for (int32_t row = 0; row + 1 < kSide; ++row)
      for (int32_t column = 0; column + 1 < kSide; ++column) {
        const int32_t k = row * kSide + column;
        TEdgeArray& loop = Loops.AddLoop();
        loop.AddEdge({k, k + 1, 0});
        loop.AddEdge({k + 1, k + 1 + kSide, 0});
        loop.AddEdge({k + 1 + kSide, k + kSide, 0});
        loop.AddEdge({k + kSide, k, 0});
      }
  }
};

TBigNetwork& Network() {
  static TBigNetwork network;
  return network;
}

// Paints the part at (x, y) into a screen-sized image, shifted as a
// widget's repaint is.
void RepaintPart(benchmark::State& state, bool showLoops) {
  App();
  TBigNetwork& network = Network();
  const TDisplaySettings settings;
  const TDrawingState drawing{showLoops, &network.Graph, &network.Graph, &network.Loops, 500};
  const QRect part(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 1024, 768);
  QImage image(part.size(), QImage::Format_RGB32);
  TDrawingIndex index;
  auto paint = [&] {
    QPainter painter(&image);
    painter.translate(-part.topLeft());
    painter.setClipRect(part);
    TQtCanvas canvas(painter, part);
    PaintDrawingArea(canvas, drawing, settings, index, canvas.ClipRect());
  };
  paint();  // builds the index
  for (auto _ : state) paint();
  state.counters["edges"] = network.Graph.Edges.Count();
}

void BM_RepaintPartOfGraphView(benchmark::State& state) { RepaintPart(state, false); }
void BM_RepaintPartOfLoopView(benchmark::State& state) { RepaintPart(state, true); }

// Middle of the 70,000 x 70,000 area, and its top-left corner.
BENCHMARK(BM_RepaintPartOfGraphView)->Args({34500, 34600})->Args({0, 0})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintPartOfLoopView)->Args({34500, 34600})->Args({0, 0})->Unit(benchmark::kMillisecond);

// A 1024 x 768 view of the loop view in the middle of the network at a zoom
// (percent): the painter scales and the index is asked for the drawing units
// in view, as the drawing area does.
void BM_RepaintZoomedLoopView(benchmark::State& state) {
  App();
  TBigNetwork& network = Network();
  const TDisplaySettings settings;
  const TDrawingState drawing{true, &network.Graph, &network.Graph, &network.Loops, 500};
  const double zoom = static_cast<double>(state.range(0)) / 100;
  const QRect view(0, 0, 1024, 768);
  const QRect units(static_cast<int>(34500), static_cast<int>(34600), static_cast<int>(std::ceil(1024 / zoom)),
                    static_cast<int>(std::ceil(768 / zoom)));
  QImage image(view.size(), QImage::Format_RGB32);
  TDrawingIndex index;
  auto paint = [&] {
    QPainter painter(&image);
    painter.setClipRect(view);
    painter.scale(zoom, zoom);
    painter.translate(-units.topLeft());
    TQtCanvas canvas(painter, units);
    PaintDrawingArea(canvas, drawing, settings, index, canvas.ClipRect());
  };
  paint();  // builds the index
  for (auto _ : state) paint();
}
BENCHMARK(BM_RepaintZoomedLoopView)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

// The same part painted by visiting every edge, as every repaint did before
// the index: the canvas skips what lies outside, but each edge is still visited.
void BM_RepaintPartByVisitingEveryEdge(benchmark::State& state) {
  App();
  TBigNetwork& network = Network();
  const TDisplaySettings settings;
  const TDrawingState drawing{false, &network.Graph, &network.Graph, &network.Loops, 500};
  const QRect part(34500, 34600, 1024, 768);
  QImage image(part.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&image);
    painter.translate(-part.topLeft());
    painter.setClipRect(part);
    TQtCanvas canvas(painter, part);
    PaintDrawingArea(canvas, drawing, settings);
  }
}
BENCHMARK(BM_RepaintPartByVisitingEveryEdge)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_BuildGraphIndex(benchmark::State& state) {
  App();
  TBigNetwork& network = Network();
  const TDisplaySettings settings;
  QImage image(16, 16, QImage::Format_RGB32);
  QPainter painter(&image);
  TQtCanvas canvas(painter);
  size_t bytes = 0;
  int32_t side = 0;
  for (auto _ : state) {
    const TEdgeSpatialIndex index(network.Graph, StationReach(network.Graph, settings, canvas));
    bytes = index.MemoryBytes();
    side = index.BucketSide();
  }
  state.counters["MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
  state.counters["bucket"] = side;
}
BENCHMARK(BM_BuildGraphIndex)->Unit(benchmark::kMillisecond);

void BM_BuildLoopReach(benchmark::State& state) {
  App();
  TBigNetwork& network = Network();
  const TDisplaySettings settings;
  QImage image(16, 16, QImage::Format_RGB32);
  QPainter painter(&image);
  TQtCanvas canvas(painter);
  const std::vector<TRect> stations = StationReach(network.Graph, settings, canvas);
  for (auto _ : state) benchmark::DoNotOptimize(LoopReach(network.Loops, stations));
  state.counters["loops"] = network.Loops.Count();
}
BENCHMARK(BM_BuildLoopReach)->Unit(benchmark::kMillisecond);

}  // namespace
