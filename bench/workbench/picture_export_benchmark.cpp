// Exporting the loop view and the graph view of full N x N grids (the
// "Grid" page's spacing of 70) in each picture format, so the formats can be
// compared side by side. Each file is a link to /dev/null, which the safe
// writer writes in place: the disk takes no part. The loops are found once
// per network, outside the timing.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "bench/offscreen_application.h"
#include "render_qt/qt_pictures.h"
#include "workbench/picture_export.h"
#include "workbench/workbench.h"

namespace {

TWorkbench& GridWithLoops(int side) {
  static std::map<int, std::unique_ptr<TWorkbench>> benches;
  std::unique_ptr<TWorkbench>& bench = benches[side];
  if (!bench) {
    bench = std::make_unique<TWorkbench>();
    TGridParameters grid;
    grid.Columns = side;
    grid.Rows = side;
    bench->BuildGridded(grid);
    bench->FindLoops(TLoopMethod::lmShortest, true);
  }
  return *bench;
}

// "null.<extension>" in a folder of this run, a link to /dev/null.
std::string NullFile(const std::string& extension) {
  static const std::filesystem::path folder = [] {
    const auto path = std::filesystem::temp_directory_path() / ("cyclorn-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  const auto link = folder / ("null." + extension);
  if (!std::filesystem::is_symlink(link)) std::filesystem::create_symlink("/dev/null", link);
  return link.string();
}

void Export(benchmark::State& state, const std::string& extension, bool loops) {
  OffscreenApplication<QGuiApplication>();
  const int side = static_cast<int>(state.range(0));
  TWorkbench& bench = GridWithLoops(side);
  bench.ShowLoops = loops;
  const TPictureRequest request = WorkbenchPicture(bench, 0);
  const std::string file = NullFile(extension);
  TQtPictureMaker maker;
  for (auto _ : state) ExportPicture(file, request, &maker);
  state.counters["stations"] = side * side;
  // Seconds per station: linear time keeps it level from size to size.
  state.counters["per_station"] =
      benchmark::Counter(side * side, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_LoopViewEmf(benchmark::State& state) { Export(state, "emf", true); }
void BM_LoopViewWmf(benchmark::State& state) { Export(state, "wmf", true); }
void BM_LoopViewSvg(benchmark::State& state) { Export(state, "svg", true); }
void BM_LoopViewPng(benchmark::State& state) { Export(state, "png", true); }
void BM_GraphViewEmf(benchmark::State& state) { Export(state, "emf", false); }
void BM_GraphViewSvg(benchmark::State& state) { Export(state, "svg", false); }

#define CYCLORN_SIZES ->Arg(20)->Arg(40)->Arg(80)->Arg(160)->Arg(300)->Unit(benchmark::kMillisecond)->UseRealTime()
BENCHMARK(BM_LoopViewEmf) CYCLORN_SIZES;
BENCHMARK(BM_LoopViewWmf) CYCLORN_SIZES;
BENCHMARK(BM_LoopViewSvg) CYCLORN_SIZES;
BENCHMARK(BM_GraphViewEmf) CYCLORN_SIZES;
BENCHMARK(BM_GraphViewSvg) CYCLORN_SIZES;
// A 300 x 300 PNG is 441 million pixels: measured once, on request, by filter.
BENCHMARK(BM_LoopViewPng)->Arg(20)->Arg(40)->Arg(80)->Arg(160)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoopViewPng)->Arg(300)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
