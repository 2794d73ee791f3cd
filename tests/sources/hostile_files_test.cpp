// Loads and saves of damaged, odd and hostile graph files: each must end in
// its exact message and line, or in a well-defined network, and a failure
// must leave the previous network and any file on disk as they were.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include "graph_test_support.h"
#include "hostile_cases.h"
#include "sources/graph_builders.h"
#include "sources/graph_file.h"
#include "sources/graph_numbers.h"
#include "sources/problem_grids.h"

namespace {

using ::testing::ElementsAre;

// The message and line LoadGraph fails with; "" when it does not fail.
std::pair<std::string, int> LoadFailure(const std::string& file, TSurveyGraph& graph) {
  try {
    LoadGraph(file, graph);
  } catch (const EInOutError& error) {
    return {error.what(), error.Line()};
  }
  return {"", -1};
}

std::string SaveFailure(const std::string& file, const TSurveyGraph& graph) {
  try {
    SaveGraph(file, graph);
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.Line(), 0);
    return error.what();
  }
  return "";
}

// Loads file into a graph holding "Grid-2" and returns that graph.
void LoadOverGridTwo(const std::string& file, TSurveyGraph& graph) {
  BuildProblemGrid(graph, 2);
  LoadGraph(file, graph);
}

int64_t PeakResidentKilobytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

TEST(HostileGraphFiles, EachRefusedFileNamesItsFaultAndLineAndKeepsThePreviousNetwork) {
  TSurveyGraph before;
  BuildProblemGrid(before, 2);
  for (const THostileCase& c : kRefusedHostileFiles) {
    SCOPED_TRACE(c.file);
    TSurveyGraph graph;
    BuildProblemGrid(graph, 2);
    EXPECT_EQ(LoadFailure(HostileFile(c.file), graph), std::make_pair(std::string(c.message), c.line));
    ExpectSameGraph(before, graph);
  }
}

TEST(HostileGraphFiles, EveryFileOfTheCorpusIsEitherRefusedOrLoadedAsListed) {
  std::vector<std::string> listed;
  for (const THostileCase& c : kRefusedHostileFiles) listed.push_back(c.file);
  for (const TLoadedHostileCase& c : kLoadedHostileFiles) {
    listed.push_back(c.file);
    TSurveyGraph graph;
    BuildProblemGrid(graph, 2);
    EXPECT_EQ(LoadGraph(HostileFile(c.file), graph).Warning(), c.warning) << c.file;
    EXPECT_EQ(graph.StationCount(), c.stations) << c.file;
  }
  std::vector<std::string> present;
  for (const auto& entry : std::filesystem::directory_iterator(CYCLORN_HOSTILE_FILES))
    present.push_back(entry.path().filename().string());
  EXPECT_THAT(present, ::testing::UnorderedElementsAreArray(listed));
}

TEST(HostileGraphFiles, EmptyAndCountOnlyFilesLoadAsNetworksWithoutRecords) {
  TSurveyGraph graph;
  for (const char* file : {"empty.grf", "count-zero.grf", "count-minus-one.grf"}) {
    SCOPED_TRACE(file);
    LoadOverGridTwo(HostileFile(file), graph);
    EXPECT_EQ(graph.StationCount(), 0);
    EXPECT_EQ(graph.Edges.Count(), 0);
    EXPECT_EQ(graph.Neighbors.Count(), 0);
  }
  LoadOverGridTwo(HostileFile("only-count.grf"), graph);
  EXPECT_THAT(StationLines(graph), ElementsAre(" 0 0 0", " 0 0 0", " 0 0 0"));
  EXPECT_EQ(graph.Edges.Count(), 0);
}

TEST(HostileGraphFiles, ATwelveCharacterNameIsTheLongestThatLoads) {
  TSurveyGraph graph;
  LoadOverGridTwo(HostileFile("name-12.grf"), graph);
  EXPECT_THAT(StationLines(graph), ElementsAre("ABCDEFGHIJKL 1 2 3"));
}

TEST(HostileGraphFiles, ALoneCarriageReturnIsDroppedFromNamesAndSeparatesNumbers) {
  TSurveyGraph graph;
  LoadOverGridTwo(HostileFile("cr-without-lf.grf"), graph);
  EXPECT_THAT(StationLines(graph), ElementsAre("AB 1 2 3", "C 4 5 6"));
  EXPECT_THAT(EdgeNames(graph), ElementsAre("AB-C"));
}

TEST(HostileGraphFiles, ANulByteStaysInANameAndSeparatesNumbers) {
  TScratchFolder folder;
  TSurveyGraph graph;
  LoadOverGridTwo(HostileFile("nul-byte.grf"), graph);
  EXPECT_EQ(graph.Names.GetName(0), std::string("A\0B", 3));
  EXPECT_THAT(StationLines(graph)[1], "C 4 5 6");
  EXPECT_EQ(graph.Positions.Get(0).Y, 2);
  EXPECT_THAT(EdgeNames(graph), ElementsAre(std::string("A\0B-C", 5)));
  // The name is written back byte for byte.
  SaveGraph(folder.File("nul.grf"), graph);
  TSurveyGraph again;
  LoadGraph(folder.File("nul.grf"), again);
  ExpectSameGraph(graph, again);
}

TEST(HostileGraphFiles, TheLargestRealsLoadExactlyAndSurviveASaveAndLoad) {
  TScratchFolder folder;
  TSurveyGraph graph;
  LoadOverGridTwo(HostileFile("coordinates-1e308.grf"), graph);
  const double max = std::numeric_limits<double>::max();
  ASSERT_EQ(graph.StationCount(), 2);
  EXPECT_EQ(graph.Positions.Get(0).X, 1e308);
  EXPECT_EQ(graph.Positions.Get(0).Y, -1e308);
  EXPECT_EQ(graph.Positions.Get(1).X, -max);
  EXPECT_EQ(graph.Positions.Get(1).Y, max);
  EXPECT_EQ(graph.Positions.Get(1).Z, std::numeric_limits<double>::denorm_min());
  // Fifteen digits of the largest real round up past it; it is written
  // rounded down so that the file still loads.
  EXPECT_EQ(FormatGraphReal(max), " 1.79769313486231E+0308");
  EXPECT_EQ(FormatGraphReal(-max), "-1.79769313486231E+0308");
  EXPECT_EQ(FormatGraphReal(1.79769313486231e308), " 1.79769313486231E+0308");
  EXPECT_EQ(FormatGraphReal(1.7976931348623e308), " 1.79769313486230E+0308");
  SaveGraph(folder.File("max.grf"), graph);
  TSurveyGraph again;
  LoadGraph(folder.File("max.grf"), again);
  ASSERT_EQ(again.StationCount(), 2);
  EXPECT_EQ(again.Positions.Get(0).X, 1e308);
  EXPECT_NEAR(again.Positions.Get(1).X / -max, 1, 1e-14);
  EXPECT_NEAR(again.Positions.Get(1).Y / max, 1, 1e-14);
  EXPECT_EQ(EdgeNames(again), EdgeNames(graph));
}

TEST(HostileGraphFiles, AnEdgeLineWithOneNumberAtTheEndReadsItsMissingEndAsZero) {
  TSurveyGraph graph;
  LoadOverGridTwo(HostileFile("edge-one-number.grf"), graph);
  EXPECT_THAT(EdgeNames(graph), ElementsAre("B-A"));
}

TEST(HostileGraphFiles, AHundredMegabytesOfBlankLinesLoadQuicklyInLittleMemory) {
  TScratchFolder folder;
  const std::string file = folder.File("blank.grf");
  {
    std::ofstream out(file, std::ios::binary);
    out << "1\n";
    const std::string block(1 << 20, '\n');
    for (int i = 0; i < 100; ++i) out << block;
    out << "1 2 3\n";
  }
  ASSERT_EQ(std::filesystem::file_size(file), 100u * (1 << 20) + 8);
  const int64_t peakBefore = PeakResidentKilobytes();
  TSurveyGraph graph;
  LoadOverGridTwo(file, graph);
  // The empty first line is the name; the numbers are found past the blanks.
  EXPECT_THAT(StationLines(graph), ElementsAre(" 1 2 3"));
  EXPECT_LT(PeakResidentKilobytes() - peakBefore, 16 * 1024);
  // A hundred megabytes of one name line stops at its thirteenth character.
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << "1\n";
    const std::string block(1 << 20, 'n');
    for (int i = 0; i < 100; ++i) out << block;
  }
  EXPECT_EQ(LoadFailure(file, graph), std::make_pair(std::string("Station name longer than 12 bytes"), 2));
  EXPECT_LT(PeakResidentKilobytes() - peakBefore, 16 * 1024);
}

TEST(HostileGraphFiles, AFolderOrAnUnreadableFileIsRefusedAndKeepsThePreviousNetwork) {
  TScratchFolder folder;
  TSurveyGraph before;
  BuildProblemGrid(before, 2);
  TSurveyGraph graph;
  BuildProblemGrid(graph, 2);
  EXPECT_EQ(LoadFailure(folder.Path().string(), graph),
            std::make_pair(std::string("Not a regular file (a folder)"), 0));
  ExpectSameGraph(before, graph);

  const std::string locked = folder.Write("locked.grf", "0\r\n0\r\n");
  ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
  const int probe = ::open(locked.c_str(), O_RDONLY);
  if (probe >= 0) {
    ::close(probe);
    GTEST_SKIP() << "running with rights that ignore permission bits (root), so a file without read "
                    "permission can still be read";
  }
  EXPECT_EQ(LoadFailure(locked, graph), std::make_pair(std::string("File access denied"), 0));
  ExpectSameGraph(before, graph);
}

TEST(HostileGraphFiles, PipesDevicesAndEndlessInputsAreRefusedBeforeReadingAndKeepThePreviousNetwork) {
  TScratchFolder folder;
  TSurveyGraph before;
  BuildProblemGrid(before, 2);
  TSurveyGraph graph;
  BuildProblemGrid(graph, 2);
  // Opening a FIFO without a writer would block, and /dev/zero never ends:
  // were either of them read, the alarm would end the test program.
  ::alarm(60);
  const std::string fifo = folder.File("fifo.grf");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // A pipe holding a huge count, as `printf '16777216\n0\n' | ... /dev/stdin` gives.
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  ASSERT_EQ(::write(pipeFds[1], "16777216\n0\n", 11), 11);
  const std::string piped = "/proc/self/fd/" + std::to_string(pipeFds[0]);
  for (const std::string& file : {fifo, piped, std::string("/dev/zero")}) {
    EXPECT_EQ(LoadFailure(file, graph).first,
              file == "/dev/zero" ? "Not a regular file (a device)" : "Not a regular file (a pipe)");
    ExpectSameGraph(before, graph);
  }
  ::alarm(0);
  ::close(pipeFds[0]);
  ::close(pipeFds[1]);
}

// A small tmpfs mounted for one test and unmounted however it ends.
class TTinyDisk {
 public:
  explicit TTinyDisk(const std::string& path) : path_(path) {
    mounted_ = ::mount("tmpfs", path.c_str(), "tmpfs", 0, "size=16k") == 0;
  }
  ~TTinyDisk() {
    if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
  }
  TTinyDisk(const TTinyDisk&) = delete;
  TTinyDisk& operator=(const TTinyDisk&) = delete;
  bool Mounted() const { return mounted_; }

 private:
  std::string path_;
  bool mounted_ = false;
};

TEST(HostileGraphFiles, SavingToAFullDeviceSaysDiskFullAndLeavesTheDeviceInPlace) {
  TSurveyGraph graph;
  BuildProblemGrid(graph, 6);
  struct stat device {};
  ASSERT_EQ(::stat("/dev/full", &device), 0);
  EXPECT_EQ(SaveFailure("/dev/full", graph), "Disk full");
  struct stat after {};
  ASSERT_EQ(::stat("/dev/full", &after), 0);
  EXPECT_TRUE(S_ISCHR(after.st_mode));
  EXPECT_EQ(after.st_rdev, device.st_rdev);
  // A device that takes everything takes a save without complaint.
  EXPECT_EQ(SaveFailure("/dev/null", graph), "");
  ASSERT_EQ(::stat("/dev/null", &after), 0);
  EXPECT_TRUE(S_ISCHR(after.st_mode));
}

TEST(HostileGraphFiles, SavingOnAFullDiskSaysDiskFullAndKeepsTheOldFile) {
  TScratchFolder folder;
  const std::string disk = folder.File("disk");
  std::filesystem::create_directory(disk);
  TTinyDisk tiny(disk);
  if (!tiny.Mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here (needs root); /dev/full covers Disk full";
  TSurveyGraph small;
  BuildProblemGrid(small, 1);
  const std::string target = disk + "/net.grf";
  SaveGraph(target, small);
  const std::string old = folder.Read("disk/net.grf");
  TSurveyGraph big;
  BuildGriddedGraph(big, 0, 0, true, false, 0, 20, 20, 70, 70);
  EXPECT_EQ(SaveFailure(target, big), "Disk full");
  EXPECT_EQ(folder.Read("disk/net.grf"), old);
  EXPECT_THAT(folder.Entries(), ElementsAre("disk"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(disk), {}), 1);
  TSurveyGraph reloaded;
  LoadGraph(target, reloaded);
  ExpectSameGraph(small, reloaded);
}

TEST(HostileGraphFiles, SavingThroughALinkReplacesTheFileItNamesAndKeepsTheLink) {
  TScratchFolder folder;
  folder.Write("real.grf", "old");
  std::filesystem::create_symlink("real.grf", folder.Path() / "link.grf");
  TSurveyGraph graph;
  BuildProblemGrid(graph, 1);
  SaveGraph(folder.File("link.grf"), graph);
  EXPECT_TRUE(std::filesystem::is_symlink(folder.Path() / "link.grf"));
  TSurveyGraph reloaded;
  LoadGraph(folder.File("real.grf"), reloaded);
  ExpectSameGraph(graph, reloaded);
}

}  // namespace
