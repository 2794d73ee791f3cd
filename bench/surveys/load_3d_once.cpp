// Loads a .3d file and converts it to the work graph once, for measuring
// beside `dump3d FILE > /dev/null` with /usr/bin/time -v:
//
//   bench_load_3d_once --write-grid FILE   writes the 1000 x 1000 grid file
//   bench_load_3d_once FILE                loads and converts it, printing
//                                          the times, the graph's memory and
//                                          the peak resident memory
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>

#include "bench/surveys/grid_3d_writer.h"
#include "bench/surveys/survey_memory.h"
#include "surveys/survey_network.h"
#include "surveys/three_d_reader.h"

int main(int argc, char** argv) {
  try {
    if (argc == 3 && std::strcmp(argv[1], "--write-grid") == 0) {
      grid3d::WriteGrid(argv[2], 1000, 500);
      return 0;
    }
    if (argc != 2) {
      std::fprintf(stderr, "usage: bench_load_3d_once [--write-grid] FILE\n");
      return 2;
    }
    using TClock = std::chrono::steady_clock;
    const auto start = TClock::now();
    TSurveyGraph graph;
    TSurveyNetwork network;
    double readSeconds = 0;
    {
      const TSurvey survey = Read3dFile(argv[1]);
      readSeconds = std::chrono::duration<double>(TClock::now() - start).count();
      network = BuildSurveyNetwork(survey, TLegChoice(), graph);
    }
    const double totalSeconds = std::chrono::duration<double>(TClock::now() - start).count();
    std::printf("stations %d shots %d read %.3f s convert %.3f s total %.3f s graph %.1f MB peak %.1f MB\n",
                graph.StationCount(), graph.Edges.Count(), readSeconds, totalSeconds - readSeconds, totalSeconds,
                static_cast<double>(GraphBytes(graph)) / 1e6, static_cast<double>(PeakResidentBytes()) / 1e6);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_load_3d_once: %s\n", error.what());
    return 1;
  }
}
