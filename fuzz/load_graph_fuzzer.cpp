// Feeds arbitrary bytes to LoadGraph as a graph file, loading into a graph
// that already holds a network, and aborts when the outcome breaks the
// loader's promises: a failed load leaves the old network exactly as it was,
// a successful one leaves a graph whose columns and lists agree, no larger
// than the file's size and the padding allowed can give, and its report
// tells what it padded.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "sources/graph_file.h"
#include "sources/problem_grids.h"
#include "tests/common/graph_fingerprint.h"

namespace {

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "fuzz_load_graph: %s\n", what);
  std::abort();
}

void Require(bool condition, const char* what) {
  if (!condition) Broken(what);
}

// The file each input is written to: in memory when /dev/shm is there, named
// per process so parallel fuzzing jobs do not share it, removed at exit.
class TFuzzInputPath {
 public:
  TFuzzInputPath()
      : path_(std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/cyclorn-fuzz-" +
              std::to_string(::getpid()) + ".grf") {}
  ~TFuzzInputPath() { ::unlink(path_.c_str()); }
  TFuzzInputPath(const TFuzzInputPath&) = delete;
  TFuzzInputPath& operator=(const TFuzzInputPath&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

void WriteInput(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  Require(file != nullptr, "cannot create the input file");
  Require(size == 0 || std::fwrite(data, 1, size, file) == size, "cannot write the input file");
  Require(std::fclose(file) == 0, "cannot close the input file");
}

// Every station column has one entry per station, every edge column one per
// edge, each edge's ends are stations, and the neighbour and incident-edge
// lists hold each edge once at each end.
void RequireConsistent(const TSurveyGraph& graph) {
  const int32_t stations = graph.StationCount();
  Require(graph.Names.NameList.Count() == stations, "name count differs from station count");
  Require(graph.Marks.Count() == stations, "mark count differs from station count");
  Require(graph.Parents.Count() == stations, "parent count differs from station count");
  Require(graph.Neighbors.Count() == stations, "neighbour list count differs from station count");
  Require(graph.IncidentEdges.Count() == stations, "incident list count differs from station count");
  const TEdgeArray& edges = graph.Edges;
  Require(edges.Tos.Count() == edges.Count() && edges.Flags.Count() == edges.Count(), "edge columns differ");
  int64_t listed = 0;
  for (int32_t s = 0; s < stations; ++s) {
    Require(graph.Names.GetName(s).size() <= static_cast<size_t>(TSurveyGraph::kNameWidth), "name too long");
    const THugeInteger& neighbors = graph.Neighbors.ListOf(s);
    const THugeInteger& incident = graph.IncidentEdges.ListOf(s);
    Require(neighbors.Count() == incident.Count(), "neighbour and incident lists differ in length");
    for (int32_t k = 0; k < neighbors.Count(); ++k) {
      const int32_t e = incident.Get(k);
      Require(e >= 0 && e < edges.Count(), "incident edge out of range");
      const TEdgeRec rec = edges.GetEdge(e);
      Require((rec.From == s && rec.To == neighbors.Get(k)) || (rec.To == s && rec.From == neighbors.Get(k)),
              "neighbour is not the far end of its incident edge");
    }
    listed += neighbors.Count();
  }
  for (int32_t e = 0; e < edges.Count(); ++e) {
    const TEdgeRec rec = edges.GetEdge(e);
    Require(rec.From >= 0 && rec.From < stations && rec.To >= 0 && rec.To < stations, "edge end out of range");
  }
  Require(listed == 2 * static_cast<int64_t>(edges.Count()), "lists do not hold every edge at both ends");
}

// True when some number in the input is a count that would pad the file
// with more than kLargestFuzzedPadding missing records, up to the most the
// loader pads. Such a file is well formed and only slow (one such load runs
// for seconds under the sanitizers, and teaches the fuzzer nothing that a
// short padding does not); the loader tests cover it, and the refusal of a
// count that would pad more. Counts above that, up to 16,777,216 and beyond
// 32 bits, are fed: the loader refuses them at once.
constexpr int64_t kLargestFuzzedPadding = 4096;
bool PadsALargeNetwork(const uint8_t* data, size_t size) {
  const int64_t fastBelow = static_cast<int64_t>(size) + kLargestFuzzedPadding;
  const int64_t refusedAbove = static_cast<int64_t>(size) + kMaxPaddedRecords;
  int64_t value = 0;
  size_t digits = 0;
  for (size_t i = 0; i <= size; ++i) {
    const int c = i < size ? data[i] : ' ';
    if (c >= '0' && c <= '9') {
      // Leading zeros count for nothing; past 2^40 the exact value matters not.
      if (value < (int64_t{1} << 40)) value = value * 10 + (c - '0');
      ++digits;
      continue;
    }
    if (digits > 0 && value > fastBelow && value <= refusedAbove) return true;
    value = 0;
    digits = 0;
  }
  return false;
}

// What a successful load of size bytes holding lines lines may give: every
// station and shot not padded took at least one byte of the file.
void RequireBoundedAndReported(const TSurveyGraph& graph, const TGraphLoadReport& report, size_t size, int64_t lines) {
  const int64_t stations = graph.StationCount();
  const int64_t shots = graph.Edges.Count();
  Require(report.PaddedStations >= 0 && report.PaddedStations <= kMaxPaddedRecords, "padded stations out of range");
  Require(report.PaddedShots >= 0 && report.PaddedShots <= kMaxPaddedRecords, "padded shots out of range");
  Require(stations - report.PaddedStations <= static_cast<int64_t>(size), "more stations than the file holds");
  Require(shots - report.PaddedShots <= static_cast<int64_t>(size), "more shots than the file holds");
  Require(report.PaddedStations <= stations && report.PaddedShots <= shots, "padded more than was loaded");
  Require(report.EndedEarly() == !report.Warning().empty(), "a warning that does not match the report");
  Require(report.FromLine >= 0 && report.FromLine <= lines, "a warning naming a line past the end of the file");
  Require(report.EndedEarly() || (report.PaddedStations == 0 && report.PaddedShots == 0 &&
                                  !report.StationCountMissing && !report.EdgeCountMissing),
          "padding reported for a file that held everything");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const TFuzzInputPath input;
  const std::string& path = input.Path();
  static const std::string before = [] {
    TSurveyGraph graph;
    BuildProblemGrid(graph, 3);
    return GraphFingerprint(graph);
  }();
  if (PadsALargeNetwork(data, size)) return -1;
  WriteInput(path, data, size);
  int64_t lines = 1;
  for (size_t i = 0; i < size; ++i) lines += data[i] == '\n';
  TSurveyGraph graph;
  BuildProblemGrid(graph, 3);
  try {
    const TGraphLoadReport report = LoadGraph(path, graph);
    RequireConsistent(graph);
    RequireBoundedAndReported(graph, report, size, lines);
  } catch (const EInOutError& error) {
    Require(GraphFingerprint(graph) == before, "a failed load changed the graph");
    Require(error.what()[0] != '\0', "an error without a message");
    Require(error.Line() >= 0, "an error with a negative line");
    Require(error.Line() <= lines, "an error naming a line past the end of the file");
    RequireConsistent(graph);
  }
  return 0;
}
