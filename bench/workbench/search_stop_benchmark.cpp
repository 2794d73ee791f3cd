// How long "Stop" takes to end a loop search run aside: the time from the
// request to the search thread's end, with the request made at a given
// moment of a 300 x 300 "Overlap" search (about 3.4 s whole here).

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "loops/search_stop.h"
#include "workbench/workbench.h"

namespace {

void BM_StopOverlapSearch(benchmark::State& state) {
  TWorkbench bench;
  TGridParameters grid;
  grid.Columns = 300;
  grid.Rows = 300;
  bench.BuildGridded(grid);
  const auto after = std::chrono::milliseconds(state.range(0));
  for (auto _ : state) {
    TLoopSearch search = bench.PrepareLoopSearch(TLoopMethod::lmOverlap, true);
    TSearchStop stop;
    bool stopped = false;
    std::thread worker([&] {
      const TSearchStopScope scope(stop);
      try {
        TWorkbench::RunLoopSearch(search);
      } catch (const ESearchStopped&) {
        stopped = true;
      }
    });
    std::this_thread::sleep_for(after);
    const auto asked = std::chrono::steady_clock::now();
    stop.Request();
    worker.join();
    const std::chrono::duration<double> latency = std::chrono::steady_clock::now() - asked;
    state.SetIterationTime(latency.count());
    if (!stopped) state.SkipWithError("the search ended before the stop");
  }
}
BENCHMARK(BM_StopOverlapSearch)
    ->Arg(50)
    ->Arg(300)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(2500)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
