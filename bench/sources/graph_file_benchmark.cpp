// Saving and loading graph files of about a million stations (a 1000 x 1000
// grid with every shot), reporting stations, shots and file size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "sources/graph_builders.h"
#include "sources/graph_file.h"
#include "sources/random_int.h"

namespace {

constexpr int32_t kSide = 1000;
constexpr int32_t kSpacing = 10;

// A name of its own for each run, so benchmarks running side by side do not
// save over each other's file.
std::string TempFileName() {
  const std::string name = "cyclorn_graph_file_benchmark_" + std::to_string(std::random_device{}()) + ".graph";
  return (std::filesystem::temp_directory_path() / name).string();
}

void FillGrid(TSurveyGraph& graph) {
  graph.Clear();
  RandomSeed = 0;
  BuildGriddedGraph(graph, kSpacing, kSpacing, true, false, 0, kSide, kSide, kSpacing, kSpacing);
}

void SetCounters(benchmark::State& state, const TSurveyGraph& graph, const std::string& fileName) {
  const auto bytes = static_cast<double>(std::filesystem::file_size(fileName));
  state.counters["stations"] = static_cast<double>(graph.StationCount());
  state.counters["shots"] = static_cast<double>(graph.Edges.Count());
  state.counters["megabytes"] = bytes / 1e6;
  state.counters["bytes_per_second"] = benchmark::Counter(bytes, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_SaveGraph(benchmark::State& state) {
  TSurveyGraph graph;
  FillGrid(graph);
  const std::string fileName = TempFileName();
  for (auto _ : state) SaveGraph(fileName, graph);
  SetCounters(state, graph, fileName);
  std::filesystem::remove(fileName);
}
BENCHMARK(BM_SaveGraph)->Unit(benchmark::kMillisecond);

void BM_LoadGraph(benchmark::State& state) {
  const std::string fileName = TempFileName();
  {
    TSurveyGraph source;
    FillGrid(source);
    SaveGraph(fileName, source);
  }
  TSurveyGraph graph;
  for (auto _ : state) LoadGraph(fileName, graph);
  SetCounters(state, graph, fileName);
  std::filesystem::remove(fileName);
}
BENCHMARK(BM_LoadGraph)->Unit(benchmark::kMillisecond);

}  // namespace
