// Reading a .3d file of a 1000 x 1000 grid (a million stations, 1,998,000
// legs) and converting it to the work graph, apart and together.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "bench/surveys/grid_3d_writer.h"
#include "bench/surveys/survey_memory.h"
#include "surveys/survey_network.h"
#include "surveys/three_d_reader.h"

namespace {

constexpr int32_t kSide = 1000;
constexpr int32_t kSpacing = 500;  // centimetres

// One file for the whole run, named per process so parallel runs do not share it.
class TGridFile {
 public:
  TGridFile()
      : name_((std::filesystem::temp_directory_path() /
               ("cyclorn_3d_benchmark_" + std::to_string(std::random_device{}()) + ".3d"))
                  .string()) {
    grid3d::WriteGrid(name_, kSide, kSpacing);
  }
  ~TGridFile() { std::remove(name_.c_str()); }
  TGridFile(const TGridFile&) = delete;
  TGridFile& operator=(const TGridFile&) = delete;
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
};

const std::string& GridFileName() {
  static const TGridFile file;
  return file.Name();
}

void SetCounters(benchmark::State& state, const TSurvey& survey, const TSurveyGraph& graph) {
  state.counters["stations"] = static_cast<double>(survey.StationCount());
  state.counters["legs"] = static_cast<double>(survey.LegCount());
  state.counters["shots"] = static_cast<double>(graph.Edges.Count());
  state.counters["file_mb"] = static_cast<double>(std::filesystem::file_size(GridFileName())) / 1e6;
  state.counters["graph_mb"] = static_cast<double>(GraphBytes(graph)) / 1e6;
  state.counters["peak_rss_mb"] = static_cast<double>(PeakResidentBytes()) / 1e6;
}

void BM_Read3d(benchmark::State& state) {
  const std::string& fileName = GridFileName();
  TSurvey survey;
  for (auto _ : state) {
    survey = TSurvey();
    survey = Read3dFile(fileName);
  }
  TSurveyGraph graph;
  BuildSurveyNetwork(survey, TLegChoice(), graph);
  SetCounters(state, survey, graph);
}
BENCHMARK(BM_Read3d)->Unit(benchmark::kMillisecond);

void BM_BuildSurveyNetwork(benchmark::State& state) {
  const TSurvey survey = Read3dFile(GridFileName());
  TSurveyGraph graph;
  for (auto _ : state) {
    graph.Clear();
    benchmark::DoNotOptimize(BuildSurveyNetwork(survey, TLegChoice(), graph));
  }
  SetCounters(state, survey, graph);
}
BENCHMARK(BM_BuildSurveyNetwork)->Unit(benchmark::kMillisecond);

void BM_Load3dAndConvert(benchmark::State& state) {
  const std::string& fileName = GridFileName();
  TSurveyGraph graph;
  for (auto _ : state) {
    graph.Clear();
    const TSurvey survey = Read3dFile(fileName);
    benchmark::DoNotOptimize(BuildSurveyNetwork(survey, TLegChoice(), graph));
  }
  SetCounters(state, Read3dFile(fileName), graph);
}
BENCHMARK(BM_Load3dAndConvert)->Unit(benchmark::kMillisecond);

}  // namespace
