#include "sources/graph_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "graph_test_support.h"
#include "sources/graph_builders.h"
#include "sources/problem_grids.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

// Expects LoadGraph to fail with exactly this text and line.
void ExpectLoadError(const std::string& file, TSurveyGraph& graph, const std::string& message, int line) {
  try {
    LoadGraph(file, graph);
    ADD_FAILURE() << "loading " << file << " did not fail";
  } catch (const EInOutError& error) {
    EXPECT_EQ(std::string(error.what()), message);
    EXPECT_EQ(error.Line(), line) << message;
  }
}

std::string ExpectSaveError(const std::string& file, const TSurveyGraph& graph) {
  try {
    SaveGraph(file, graph);
    ADD_FAILURE() << "saving " << file << " did not fail";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.Line(), 0);
    return error.what();
  }
  return {};
}

// A graph the failing loads must leave alone.
void FillWithGridTwo(TSurveyGraph& graph) { BuildProblemGrid(graph, 2); }

TEST(SaveGraph, WritesTheExampleFileOfGridOne) {
  TScratchFolder folder;
  TSurveyGraph graph;
  BuildProblemGrid(graph, 1);
  SaveGraph(folder.File("grid1.grf"), graph);
  const std::string text = folder.Read("grid1.grf");
  EXPECT_THAT(text, StartsWith("20\r\n"
                               "A\r\n"
                               " 7.50000000000000E+0001  7.50000000000000E+0001  0.00000000000000E+0000\r\n"
                               "B\r\n"
                               " 1.50000000000000E+0002  7.50000000000000E+0001  0.00000000000000E+0000\r\n"
                               "C\r\n"
                               " 2.25000000000000E+0002  7.50000000000000E+0001  0.00000000000000E+0000\r\n"));
  const size_t edges = text.find("\r\n16\r\n");
  ASSERT_NE(edges, std::string::npos);
  EXPECT_THAT(text.substr(edges + 2), StartsWith("16\r\n0 1\r\n1 2\r\n6 7\r\n"));
  EXPECT_EQ(text.substr(text.size() - 7), "12 17\r\n");  // M-R, the last edge
}

TEST(SaveGraph, WritesAnEmptyGraphAsTwoZeroLinesThatLoadBackEmpty) {
  TScratchFolder folder;
  TSurveyGraph empty;
  SaveGraph(folder.File("empty.grf"), empty);
  EXPECT_EQ(folder.Read("empty.grf"), "0\r\n0\r\n");
  TSurveyGraph graph;
  FillWithGridTwo(graph);
  LoadGraph(folder.File("empty.grf"), graph);
  EXPECT_EQ(graph.StationCount(), 0);
  EXPECT_EQ(graph.Edges.Count(), 0);
  EXPECT_EQ(graph.MinCorner, MakeVec3(9.9e99, 9.9e99, 9.9e99));
}

TEST(SaveGraph, RoundTripsEveryProblemGridExactly) {
  TScratchFolder folder;
  for (int n = 1; n <= 6; ++n) {
    TSurveyGraph original;
    BuildProblemGrid(original, n);
    SaveGraph(folder.File("grid.grf"), original);
    TSurveyGraph loaded;
    LoadGraph(folder.File("grid.grf"), loaded);
    SCOPED_TRACE(n);
    ExpectSameGraph(original, loaded);
  }
}

TEST(SaveGraph, RoundTripsRandomNetworksWithNegativeCoordinates) {
  TScratchFolder folder;
  RandomSeed = 12345;
  TSurveyGraph gridded;
  gridded.Clear();
  BuildGriddedGraph(gridded, 50, 50, false, true, 40, 12, 17, 70, 33);
  JitterStations(gridded, 33, 70, 75);
  TSurveyGraph scattered;
  scattered.Clear();
  BuildNonGriddedGraph(scattered, 300, 1024, 20, 768);
  scattered.Positions.Put(3, MakeVec3(-12.5, -0.001, -3e-7));
  for (TSurveyGraph* original : {&gridded, &scattered}) {
    SaveGraph(folder.File("random.grf"), *original);
    TSurveyGraph loaded;
    LoadGraph(folder.File("random.grf"), loaded);
    // Positions are whole numbers or short decimals here, so 15 digits give them back exactly.
    // Moved stations left the builder's corners behind; the loaded graph has the true ones.
    ExpectSameGraph(*original, loaded, false);
    EXPECT_EQ(std::pair(loaded.MinCorner, loaded.MaxCorner), PositionBounds(*original));
  }
  EXPECT_LT(gridded.Positions.Get(0).X, 50);
}

TEST(SaveGraph, KeepsNamesWithBlanksAndRepeatedNames) {
  TScratchFolder folder;
  TSurveyGraph original;
  original.Clear();
  original.AddStation("A 1", MakeVec3(1, 2, 3));
  original.AddStation("twelve chars", MakeVec3(4, 5, 6));
  original.AddStation("A 1", MakeVec3(7, 8, 9));
  original.AddStation("", MakeVec3(0, 0, 0));
  original.AddEdgeByIndex(0, 1);
  original.AddEdgeByIndex(2, 1);
  original.AddEdgeByIndex(3, 3);
  SaveGraph(folder.File("names.grf"), original);
  TSurveyGraph loaded;
  LoadGraph(folder.File("names.grf"), loaded);
  ExpectSameGraph(original, loaded);
  EXPECT_EQ(loaded.Names.Find("A 1"), 2);
}

TEST(SaveGraph, ReplacesAnOldFileAndKeepsItsPermissions) {
  TScratchFolder folder;
  const std::string file = folder.Write("old.grf", "old contents");
  ::chmod(file.c_str(), 0640);
  TSurveyGraph graph;
  BuildProblemGrid(graph, 3);
  SaveGraph(file, graph);
  EXPECT_THAT(folder.Read("old.grf"), StartsWith("20\r\nA\r\n"));
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_THAT(folder.Entries(), ElementsAre("old.grf"));
}

TEST(SaveGraph, FailureLeavesTheOldFileAndNoTemporaryFile) {
  TScratchFolder folder;
  TSurveyGraph graph;
  BuildProblemGrid(graph, 1);
  std::filesystem::create_directory(folder.Path() / "taken.grf");
  EXPECT_EQ(ExpectSaveError(folder.File("taken.grf"), graph), "File access denied");
  EXPECT_EQ(ExpectSaveError(folder.File("missing/x.grf"), graph), "File not found");
  folder.Write("plain", "x");
  EXPECT_EQ(ExpectSaveError(folder.File("plain/x.grf"), graph), "I/O error " + std::to_string(ENOTDIR));
  EXPECT_EQ(ExpectSaveError("", graph), "Invalid filename");
  EXPECT_EQ(ExpectSaveError(folder.File(std::string(300, 'n')), graph), "Invalid filename");

  // A graph that cannot be written leaves the old file as it was.
  folder.Write("keep.grf", "old contents");
  graph.Positions.Put(4, MakeVec3(std::numeric_limits<double>::infinity(), 0, 0));
  EXPECT_THROW(SaveGraph(folder.File("keep.grf"), graph), ECyclornError);
  EXPECT_EQ(folder.Read("keep.grf"), "old contents");
  EXPECT_THAT(folder.Entries(), ElementsAre("keep.grf", "plain", "taken.grf"));
}

TEST(LoadGraph, ReadsLineFeedFilesLikeCarriageReturnFiles) {
  TScratchFolder folder;
  const std::string crlf = "2\r\nA\r\n 1.0E+0001 2 3\r\nB\r\n4 5 6\r\n1\r\n0 1\r\n";
  std::string lf = crlf;
  std::erase(lf, '\r');
  TSurveyGraph a;
  TSurveyGraph b;
  LoadGraph(folder.Write("crlf.grf", crlf), a);
  LoadGraph(folder.Write("lf.grf", lf), b);
  EXPECT_THAT(StationLines(a), ElementsAre("A 10 2 3", "B 4 5 6"));
  EXPECT_THAT(EdgeNames(a), ElementsAre("A-B"));
  ExpectSameGraph(a, b);
}

TEST(LoadGraph, ReadsNumbersSpreadOverLinesAndIgnoresTheRestOfAnEdgeLine) {
  TScratchFolder folder;
  const std::string file = folder.Write("spread.grf",
                                        "2 stations\n"
                                        "A\n"
                                        "1\n"
                                        "\t2\n"
                                        "   3\n"
                                        "B\n"
                                        "-4 -5.5 -6e1 trailing words\n"
                                        "2\n"
                                        "1\n0 and more\n"
                                        "0 1\n");
  TSurveyGraph graph;
  LoadGraph(file, graph);
  EXPECT_THAT(StationLines(graph), ElementsAre("A 1 2 3", "B -4 -5.5 -60"));
  EXPECT_THAT(EdgeNames(graph), ElementsAre("B-A", "A-B"));
  EXPECT_EQ(graph.Parents.Get(0), 1);
  EXPECT_EQ(graph.Parents.Get(1), 0);
}

TEST(LoadGraph, LeavesALoneCarriageReturnOutOfTheName) {
  TScratchFolder folder;
  TSurveyGraph graph;
  LoadGraph(folder.Write("cr.grf", "1\r\nA\rB \r\n0 0 0\r\n0\r\n"), graph);
  EXPECT_EQ(graph.Names.GetName(0), "AB ");
}

TEST(LoadGraph, PadsMissingStationsAndReadsAMissingEdgeCountAsNoEdges) {
  TScratchFolder folder;
  TSurveyGraph graph;
  FillWithGridTwo(graph);
  LoadGraph(folder.Write("short.grf", "4\r\nA\r\n 1 2 3\r\nB\r\n"), graph);
  EXPECT_THAT(StationLines(graph), ElementsAre("A 1 2 3", "B 0 0 0", " 0 0 0", " 0 0 0"));
  EXPECT_EQ(graph.Edges.Count(), 0);
  LoadGraph(folder.Write("empty.grf", ""), graph);
  EXPECT_EQ(graph.StationCount(), 0);
  LoadGraph(folder.Write("negative.grf", "-3\n-2\n"), graph);
  EXPECT_EQ(graph.StationCount(), 0);
  EXPECT_EQ(graph.Edges.Count(), 0);
  // A count the file's few bytes cannot hold is padded all the same.
  LoadGraph(folder.Write("three-bytes.grf", "17\n"), graph);
  EXPECT_EQ(StationLines(graph), std::vector<std::string>(17, " 0 0 0"));
  EXPECT_EQ(graph.Edges.Count(), 0);
}

TEST(LoadGraph, SaysInOneLineWhatAFileThatEndsEarlyLacked) {
  TScratchFolder folder;
  const std::string stations = "2\r\nA\r\n1 2 3\r\nB\r\n4 5 6\r\n";
  const std::pair<std::string, std::string> cases[] = {
      {stations + "1\r\n0 1", ""},
      {"3\r\nA\r\n1 2 3\r\nB\r\n4 5",
       "File ends early: 2 stations and 0 shots padded from line 4 on, edge count missing"},
      {stations, "File ends early: 0 stations and 0 shots padded from line 6 on, edge count missing"},
      {stations + "4\r\n0 1\r\n1", "File ends early: 0 stations and 3 shots padded from line 8 on"},
      {"2\rA\r1 2 3\rB\r4 5 6\r1\r0 1\r",
       "File ends early: 2 stations and 0 shots padded from line 1 on, edge count missing (carriage returns without "
       "line feeds do not end lines)"},
  };
  for (const auto& [text, warning] : cases) {
    SCOPED_TRACE(text);
    TSurveyGraph graph;
    EXPECT_EQ(LoadGraph(folder.Write("short.grf", text), graph).Warning(), warning);
  }
  TSurveyGraph graph;
  LoadGraph(folder.Write("e.grf", stations + "4\r\n0 1\r\n1"), graph);
  EXPECT_THAT(EdgeNames(graph), ElementsAre("A-B", "B-A", "A-A", "A-A"));
}

TEST(LoadGraph, SkipsAnEdgeWithANegativeEndAndReadsOn) {
  TScratchFolder folder;
  TSurveyGraph graph;
  LoadGraph(folder.Write("neg.grf", "4\nA\n0 0 0\nB\n0 0 0\nC\n0 0 0\nD\n0 0 0\n3\n0 1\n3 -1\n2 3\n"), graph);
  EXPECT_THAT(EdgeNames(graph), ElementsAre("A-B", "C-D"));
}

TEST(LoadGraph, LoadingTwiceGivesTheSameGraph) {
  TScratchFolder folder;
  TSurveyGraph original;
  BuildProblemGrid(original, 6);
  SaveGraph(folder.File("g.grf"), original);
  TSurveyGraph graph;
  LoadGraph(folder.File("g.grf"), graph);
  LoadGraph(folder.File("g.grf"), graph);
  ExpectSameGraph(original, graph);
}

TEST(LoadGraph, OpeningFailuresLeaveTheGraphAsItWas) {
  TScratchFolder folder;
  TSurveyGraph graph;
  FillWithGridTwo(graph);
  TSurveyGraph before;
  FillWithGridTwo(before);
  ExpectLoadError(folder.File("absent.grf"), graph, "File not found", 0);
  ExpectLoadError("", graph, "Invalid filename", 0);
  ExpectLoadError(folder.File(std::string(300, 'n')), graph, "Invalid filename", 0);
  ExpectLoadError(folder.Path().string(), graph, "Not a regular file (a folder)", 0);
  folder.Write("plain", "x");
  ExpectLoadError(folder.File("plain/x.grf"), graph, "I/O error " + std::to_string(ENOTDIR), 0);
  ExpectSameGraph(before, graph);
}

TEST(LoadGraph, ReportsTooManyOpenFiles) {
#ifdef __SANITIZE_ADDRESS__
  // The sanitizers open a pipe to check every object they meet; without a
  // free descriptor they report good objects as bad.
  GTEST_SKIP() << "needs free file descriptors under the sanitizers";
#endif
  TScratchFolder folder;
  const std::string file = folder.Write("g.grf", "0\n0\n");
  TSurveyGraph graph;
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
  // The next descriptor would be the lowest free one; make that one too many.
  const int lowestFree = ::dup(0);
  ASSERT_GE(lowestFree, 0);
  ::close(lowestFree);
  rlimit tight = saved;
  tight.rlim_cur = static_cast<rlim_t>(lowestFree);
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
  std::string message;
  try {
    LoadGraph(file, graph);
  } catch (const EInOutError& error) {
    message = error.what();
  }
  ::setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_EQ(message, "Too many open files");
}

TEST(LoadGraph, ABadNumberStopsTheLoadNamingItsLineAndKeepsTheOldGraph) {
  TScratchFolder folder;
  TSurveyGraph before;
  FillWithGridTwo(before);
  TSurveyGraph graph;
  FillWithGridTwo(graph);
  const std::string head = "2\r\nA\r\n1 2 3\r\nB\r\n";
  const std::pair<std::string, int> cases[] = {
      {"twenty\r\n", 1},
      {"2.0\r\n", 1},
      {head + "75,0 1 2\r\n", 5},
      {head + "1 2\r\n\r\n75.\r\n", 7},
      {head + "1 .5 2\r\n", 5},
      {head + "1e 2 3\r\n", 5},
      {head + "0x10 2 3\r\n", 5},
      {head + "inf 2 3\r\n", 5},
      {head + "1 nan 3\r\n", 5},
      {head + "1 2 1e400\r\n", 5},
      {head + "1 2 " + std::string(65, '1') + "\r\n", 5},
      {head + "1 2 3\r\nx\r\n", 6},
      {head + "1 2 3\r\n1\r\n0 2147483648\r\n", 7},
      {head + "1 2 3\r\n1\r\n0 1.0\r\n", 7},
      {head + "1 2 3\r\n1\r\n" + std::string(33, '0') + " 1\r\n", 7},
  };
  for (const auto& [text, line] : cases) {
    SCOPED_TRACE(text);
    ExpectLoadError(folder.Write("bad.grf", text), graph, "Invalid numeric input", line);
  }
  ExpectSameGraph(before, graph);
}

TEST(LoadGraph, RefusesLongNamesFarEdgeEndsAndHugeCountsNamingTheLine) {
  TScratchFolder folder;
  TSurveyGraph before;
  FillWithGridTwo(before);
  TSurveyGraph graph;
  FillWithGridTwo(graph);
  ExpectLoadError(folder.Write("name.grf", "2\nA\n0 0 0\nthirteen char\n0 0 0\n0\n"), graph,
                  "Station name longer than 12 bytes", 4);
  // Twelve characters of two bytes each are 24 bytes.
  ExpectLoadError(
      folder.Write("utf8.grf",
                   "1\n\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\n0 0 0\n0\n"),
      graph, "Station name longer than 12 bytes", 2);
  ExpectLoadError(folder.Write("end.grf", "2\nA\n0 0 0\nB\n0 0 0\n2\n0 1\n1\n2\n"), graph,
                  "Edge end 2 is not below the station count 2", 9);
  ExpectLoadError(folder.Write("from.grf", "1\nA\n0 0 0\n1\n7 -1\n"), graph,
                  "Edge end 7 is not below the station count 1", 5);
  ExpectLoadError(folder.Write("count.grf", "16777217\n"), graph, "Station count 16777217 is above 16777216", 1);
  ExpectLoadError(folder.Write("tiny.grf", "16777216\n"), graph,
                  "Station count 16777216 is more than a file of 9 bytes can hold", 1);
  ExpectLoadError(folder.Write("tiny-edges.grf", "1\nA\n0 0 0\n\n65554\n"), graph,
                  "Edge count 65554 is more than a file of 17 bytes can hold", 5);
  ExpectLoadError(folder.Write("edges.grf", "0\n\n\n99999999\n"), graph, "Edge count 99999999 is above 16777216", 4);
  ExpectLoadError(folder.Write("two-to-32.grf", "4294967296\n"), graph, "Station count 4294967296 is above 16777216",
                  1);
  // The file's size allows the count, but its records end far sooner: one
  // name line and blank lines that the first number skips.
  ExpectLoadError(folder.Write("blank.grf", "70000\n" + std::string(69999, '\n')), graph,
                  "Station count 70000 is more than the file holds: it ends after 0 stations", 1);
  ExpectLoadError(folder.Write("short-edges.grf", "1\nA\n0 0 0\n65538\n0 0\n" + std::string(100, ' ')), graph,
                  "Edge count 65538 is more than the file holds: it ends after 1 edge", 4);
  ExpectSameGraph(before, graph);
}

TEST(InOutErrorText, MapsOperatingSystemErrorsToTheFailureTexts) {
  EXPECT_EQ(InOutErrorText(ENOENT), "File not found");
  EXPECT_EQ(InOutErrorText(ENAMETOOLONG), "Invalid filename");
  EXPECT_EQ(InOutErrorText(EINVAL), "Invalid filename");
  EXPECT_EQ(InOutErrorText(EMFILE), "Too many open files");
  EXPECT_EQ(InOutErrorText(ENFILE), "Too many open files");
  for (const int e : {EACCES, EPERM, EISDIR, EROFS}) EXPECT_EQ(InOutErrorText(e), "File access denied") << e;
  EXPECT_EQ(InOutErrorText(ENOSPC), "Disk full");
  EXPECT_EQ(InOutErrorText(EDQUOT), "Disk full");
  EXPECT_EQ(InOutErrorText(EIO), "I/O error 5");
}

}  // namespace
