// The survey analysis on simulated surveys: misclosures and the blunder
// search on grids and cave-like networks, the detection rates on the
// simulated 30 x 30 grids (20 seeds, 10 planted blunders each), and, on
// request (CYCLORN_BENCH_CAVERN=1), cavern on the same .svx files.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "analysis/blunders.h"
#include "analysis/leg_statistic.h"
#include "analysis/loop_misclosure.h"
#include "analysis/survey_simulator.h"
#include "loops/minimal_loops.h"
#include "surveys/svx_reader.h"

namespace {

TSimulatedSurvey Simulated(TSimulatedShape shape, int32_t size, uint64_t seed = 1) {
  TSimulationOptions o;
  o.Shape = shape;
  o.Columns = o.Rows = size;
  o.Legs = size;
  o.Blunders = 10;
  o.Seed = seed;
  return SimulateSurvey(o);
}

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024;
}

// What `blunders` does once the survey is read: the work graph, the minimal
// loops, their misclosures and the search.
void RunBlunders(benchmark::State& state, TSimulatedShape shape) {
  const TSurvey survey = SurveyOfSimulation(Simulated(shape, static_cast<int32_t>(state.range(0))), "sim.svx");
  TBlunderReport report;
  size_t loops = 0;
  for (auto _ : state) {
    TSurveyGraph graph;
    const TSurveyNetwork network = BuildSurveyNetwork(survey, TLegChoice{}, graph);
    TLoopList list;
    FindLoopsMinimal(graph, list);
    const std::vector<TLoopMisclosure> misclosures = ComputeMisclosures(survey, network, graph, list);
    report = FindBlunders(survey, network, graph, misclosures);
    loops = misclosures.size();
    benchmark::DoNotOptimize(report);
  }
  state.counters["legs"] = survey.LegCount();
  state.counters["loops"] = static_cast<double>(loops);
  state.counters["suspects"] = static_cast<double>(report.Suspects.size());
  state.counters["unchecked"] = static_cast<double>(report.Unchecked.size());
  state.counters["peak_MB"] = PeakMegabytes();
}

void BM_BlundersGrid(benchmark::State& state) { RunBlunders(state, TSimulatedShape::Grid); }
BENCHMARK(BM_BlundersGrid)->Arg(30)->Arg(60)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_BlundersCave(benchmark::State& state) { RunBlunders(state, TSimulatedShape::Cave); }
BENCHMARK(BM_BlundersCave)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

// The same from the .svx text: the reader, then everything above.
void BM_BlundersGridFromSvx(benchmark::State& state) {
  TSvxMemoryFiles files;
  files.Files["sim.svx"] = Simulated(TSimulatedShape::Grid, static_cast<int32_t>(state.range(0))).Svx;
  TBlunderReport report;
  for (auto _ : state) {
    const TSurvey survey = ReadSvx("sim.svx", files);
    TSurveyGraph graph;
    const TSurveyNetwork network = BuildSurveyNetwork(survey, TLegChoice{}, graph);
    TLoopList list;
    FindLoopsMinimal(graph, list);
    report = FindBlunders(survey, network, graph, ComputeMisclosures(survey, network, graph, list));
    benchmark::DoNotOptimize(report);
  }
  state.counters["suspects"] = static_cast<double>(report.Suspects.size());
}
BENCHMARK(BM_BlundersGridFromSvx)->Arg(30)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_MisclosuresGrid(benchmark::State& state) {
  const TSurvey survey =
      SurveyOfSimulation(Simulated(TSimulatedShape::Grid, static_cast<int32_t>(state.range(0))), "sim.svx");
  TSurveyGraph graph;
  const TSurveyNetwork network = BuildSurveyNetwork(survey, TLegChoice{}, graph);
  TLoopList list;
  FindLoopsMinimal(graph, list);
  for (auto _ : state) benchmark::DoNotOptimize(ComputeMisclosures(survey, network, graph, list));
  state.counters["loops"] = list.Count();
}
BENCHMARK(BM_MisclosuresGrid)->Arg(100)->Unit(benchmark::kMillisecond);

// Detection rates: found = planted blunders in two loops or more that
// are suspects with the right kind; false = suspects not planted, per
// survey, at 3.29 and at a survey-wide 5 % level.
void BM_DetectionRates(benchmark::State& state) {
  const int32_t seeds = 20;
  for (auto _ : state) {
    for (const bool surveyWide : {false, true}) {
      int32_t eligible = 0, found = 0, falseAlarms = 0, worstSurvey = 0;
      for (int32_t seed = 1; seed <= seeds; ++seed) {
        const TSimulatedSurvey s = Simulated(TSimulatedShape::Grid, 30, static_cast<uint64_t>(seed));
        const TSurvey survey = SurveyOfSimulation(s, "sim.svx");
        TSurveyGraph graph;
        const TSurveyNetwork network = BuildSurveyNetwork(survey, TLegChoice{}, graph);
        TLoopList list;
        FindLoopsMinimal(graph, list);
        const std::vector<TLoopMisclosure> misclosures = ComputeMisclosures(survey, network, graph, list);
        TBlunderOptions options;
        if (surveyWide) options.Critical = SurveyWideCritical(0.05, survey.LegCount());
        const TBlunderReport report = FindBlunders(survey, network, graph, misclosures, options);
        std::map<int32_t, int32_t> loopsOfLeg;
        for (const TLoopMisclosure& m : misclosures)
          for (const int32_t leg : m.LegIndices) ++loopsOfLeg[leg];
        const auto suspect = [&report](int32_t leg) {
          return std::find_if(report.Suspects.begin(), report.Suspects.end(),
                              [leg](const TLegCheck& c) { return c.Leg == leg; });
        };
        for (const TPlantedBlunder& b : s.Blunders) {
          if (loopsOfLeg[b.Leg] < 2) continue;
          ++eligible;
          const auto it = suspect(b.Leg);
          found += it != report.Suspects.end() && it->Fit.Kind == b.Kind;
        }
        int32_t wrong = 0;
        for (const TLegCheck& c : report.Suspects)
          wrong += std::none_of(s.Blunders.begin(), s.Blunders.end(), [&c](const TPlantedBlunder& b) { return b.Leg == c.Leg; });
        falseAlarms += wrong;
        worstSurvey = std::max(worstSurvey, wrong);
      }
      const std::string level = surveyWide ? "_survey5%" : "_3.29";
      state.counters["found%" + level] = 100.0 * found / std::max(1, eligible);
      state.counters["false/survey" + level] = static_cast<double>(falseAlarms) / seeds;
      state.counters["false_max" + level] = worstSurvey;
      state.counters["eligible"] = eligible;
    }
  }
}
BENCHMARK(BM_DetectionRates)->Iterations(1)->Unit(benchmark::kMillisecond);

// cavern on the same .svx, as a child process: wall-clock time.
void BM_Cavern(benchmark::State& state) {
  if (std::getenv("CYCLORN_BENCH_CAVERN") == nullptr) {
    state.SkipWithError("set CYCLORN_BENCH_CAVERN=1 to run cavern");
    return;
  }
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "cyclorn-bench-cavern";
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "sim.svx") << Simulated(TSimulatedShape::Grid, static_cast<int32_t>(state.range(0))).Svx;
  const std::string command = "cd '" + dir.string() + "' && cavern sim.svx > cavern.log 2>&1";
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("cavern failed");
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Cavern)->Arg(30)->Arg(100)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
