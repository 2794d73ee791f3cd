// Reading Survex raw data: a generated survey of a square grid of stations
// (side x side, about 2 * side^2 legs) in nested surveys, with fore and back
// readings, plumbs, splays, units and comments, read from memory and from a
// file on disk.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "surveys/svx_reader.h"

namespace {

// One *begin block per grid row; legs east along the row and north to the
// next row, every tenth with a splay and every fiftieth a plumb.
std::string GridSurvey(int side) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> noise(-0.05, 0.05);
  std::string text = "*title \"Benchmark grid\"\n*fix r0.s0 0 0 0\n*begin cave\n";
  text.reserve(static_cast<size_t>(side) * static_cast<size_t>(side) * 110);
  char line[160];
  for (int row = 0; row < side; ++row) {
    text += "*begin r" + std::to_string(row) + "\n*export";
    for (int c = 0; c < side; ++c) text += " s" + std::to_string(c);
    text += "\n*data normal from to tape compass clino backtape backcompass backclino\n";
    for (int c = 0; c + 1 < side; ++c) {
      std::snprintf(line, sizeof line, "s%d s%d %.2f %.1f %.1f %.2f %.1f %.1f ; east\n", c, c + 1, 10 + noise(random),
                    90 + 10 * noise(random), 10 * noise(random), 10 + noise(random), 270 + 10 * noise(random),
                    10 * noise(random));
      text += line;
      if (c % 10 == 0) {
        std::snprintf(line, sizeof line, "s%d .. %.2f %.1f %.1f - - -\n", c, 2 + noise(random), 45.0, 5.0);
        text += line;
      }
    }
    text += "*end r" + std::to_string(row) + "\n";
  }
  text += "*units tape feet\n";
  for (int row = 0; row + 1 < side; ++row) {
    for (int c = 0; c < side; ++c) {
      if (c % 50 == 0) {
        std::snprintf(line, sizeof line, "r%d.s%d r%d.s%d %.2f - up\n", row, c, row + 1, c, 32.8 + noise(random));
      } else {
        std::snprintf(line, sizeof line, "r%d.s%d r%d.s%d %.2f %.1f %.1f\n", row, c, row + 1, c, 32.8 + noise(random),
                      10 * noise(random), 10 * noise(random));
      }
      text += line;
    }
  }
  text += "*end cave\n";
  return text;
}

void SetCounters(benchmark::State& state, const TSurvey& survey, size_t bytes) {
  state.counters["legs"] = static_cast<double>(survey.LegCount());
  state.counters["stations"] = static_cast<double>(survey.StationCount());
  state.counters["megabytes"] = static_cast<double>(bytes) / 1e6;
  state.counters["legs_per_second"] =
      benchmark::Counter(static_cast<double>(survey.LegCount()), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ReadSvxFromMemory(benchmark::State& state) {
  TSvxMemoryFiles files;
  files.Files["grid.svx"] = GridSurvey(static_cast<int>(state.range(0)));
  TSurvey survey;
  for (auto _ : state) {
    survey = ReadSvx("grid.svx", files);
    benchmark::DoNotOptimize(survey.Positions.data());
  }
  SetCounters(state, survey, files.Files["grid.svx"].size());
}
BENCHMARK(BM_ReadSvxFromMemory)->Arg(25)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_ReadSvxFile(benchmark::State& state) {
  const std::string text = GridSurvey(static_cast<int>(state.range(0)));
  const std::string name = (std::filesystem::temp_directory_path() /
                            ("cyclorn_svx_benchmark_" + std::to_string(std::random_device{}()) + ".svx"))
                               .string();
  std::ofstream(name, std::ios::binary) << text;
  TSurvey survey;
  for (auto _ : state) {
    survey = ReadSvxFile(name);
    benchmark::DoNotOptimize(survey.Positions.data());
  }
  std::filesystem::remove(name);
  SetCounters(state, survey, text.size());
}
BENCHMARK(BM_ReadSvxFile)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
