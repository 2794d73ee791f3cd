// Runs cyclorn-cli as a process on real files and compares what it prints
// with what the libraries give for the same network.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "cli/cli_run.h"
#include "loops/loop_search.h"
#include "sources/graph_builders.h"
#include "sources/graph_file.h"
#include "sources/problem_grids.h"
#include "sources/reports.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

struct TRun {
  int status = -1;
  std::string out;
  std::string err;
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Quoted(const std::string& arg) {
  std::string q = "'";
  for (const char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

class CyclornCli : public ::testing::Test {
 protected:
  CyclornCli() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::temp_directory_path() /
              ("cyclorn-cli-" + std::string(info->name()) + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  ~CyclornCli() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::string File(const std::string& name) const { return (folder_ / name).string(); }
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
    return File(name);
  }

  TRun Run(const std::vector<std::string>& args) const {
    std::string command = Quoted(CYCLORN_CLI_PATH);
    for (const std::string& arg : args) command += " " + Quoted(arg);
    command += " >" + Quoted(File("stdout")) + " 2>" + Quoted(File("stderr")) + " </dev/null";
    TRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadFile(folder_ / "stdout");
    run.err = ReadFile(folder_ / "stderr");
    return run;
  }

  // The square 0 (0, 0), 1 (10, 0), 2 (10, 10), 3 (0, 10) with edges 0-1, 1-2, 2-3, 3-0.
  std::string WriteSquare() const {
    return Write("square.grf",
                 "4\r\nA\r\n0 0 0\r\nB\r\n10 0 0\r\nC\r\n10 10 0\r\nD\r\n0 10 0\r\n4\r\n0 1\r\n1 2\r\n2 3\r\n3 0\r\n");
  }

 private:
  std::filesystem::path folder_;
};

bool IsNumber(const std::string& text, bool signedNumber) {
  size_t i = signedNumber && !text.empty() && text[0] == '-' ? 1 : 0;
  if (i == text.size()) return false;
  for (; i < text.size(); ++i)
    if (text[i] < '0' || text[i] > '9') return false;
  return true;
}

// "<digits>.<three digits> ms." and a line end.
bool IsTimeLine(const std::string& text) {
  const size_t point = text.find('.');
  return point != std::string::npos && IsNumber(text.substr(0, point), false) && text.size() == point + 9 &&
         IsNumber(text.substr(point + 1, 3), false) && text.substr(point + 4) == " ms.\n";
}

// "loop N edges N val N com N first N:" followed by " N-N" pairs.
bool IsLoopLine(const std::string& line) {
  std::istringstream in(line);
  std::string word, number;
  for (const char* keyword : {"loop", "edges", "val", "com", "first"}) {
    if (!(in >> word >> number) || word != keyword) return false;
    if (std::string(keyword) == "first") {
      if (number.empty() || number.back() != ':') return false;
      number.pop_back();
    }
    if (!IsNumber(number, true)) return false;
  }
  for (std::string pair; in >> pair;) {
    const size_t dash = pair.find('-');
    if (dash == std::string::npos || !IsNumber(pair.substr(0, dash), false) || !IsNumber(pair.substr(dash + 1), false))
      return false;
  }
  return line.find("  ") == std::string::npos;
}

std::vector<std::string> LoopLines(const TLoopList& loops) {
  std::vector<std::string> lines;
  for (int32_t k = 0; k < loops.Count(); ++k) lines.push_back(LoopLine(k, loops.LoopAt(k)));
  return lines;
}

std::string Joined(const char* keyword, const THugeInteger& values) {
  std::string line = std::string(keyword) + ":";
  for (const int32_t v : values) line += " " + std::to_string(v);
  return line;
}

TEST_F(CyclornCli, BreadthFirstTreeOfTheSquarePrintsItsClosingEdgeAndState) {
  const std::string square = WriteSquare();
  for (const bool favor : {false, true}) {
    std::vector<std::string> args = {"tree", "bfs", "--load", square, "--dump-state"};
    if (favor) args.push_back("--favor-high-order");
    const TRun run = Run(args);
    EXPECT_EQ(run.status, 0);
    EXPECT_THAT(run.Lines(), ElementsAre("D - C (3-2)", "marks: 1 1 1 1", "flags: 0 0 0 0", "tree: 0-1 0-3 1-2",
                                         "parents: -1 0 1 0"));
    EXPECT_EQ(run.err, "");
  }
}

TEST_F(CyclornCli, DepthFirstTreeOfTheSquarePrintsItsClosingEdgeAndVisitNumbers) {
  const TRun run = Run({"tree", "dfs", "--dump-state", "--load", WriteSquare()});
  EXPECT_EQ(run.status, 0);
  EXPECT_THAT(run.Lines(),
              ElementsAre("A D", "marks: 1 2 3 4", "flags: 0 0 0 0", "tree: 0-1 1-2 2-3", "parents: -1 0 1 2"));
  const TRun plain = Run({"tree", "dfs", "--load", File("square.grf")});
  EXPECT_EQ(plain.out, "A D\n");
}

TEST_F(CyclornCli, ReportsTheFirstDefaultGridAfterStart) {
  EXPECT_THAT(Run({"report", "sequence", "--grid"}).Lines(),
              ElementsAre("A - B", "B - C", "E - D", "E - F", "A - D", "B - E", "F - C"));
  EXPECT_THAT(Run({"report", "parents", "--grid"}).Lines(),
              ElementsAre("A -  (-1)", "B - A (0)", "C - F (5)", "D - A (0)", "E - B (1)", "F - E (4)"));
  EXPECT_THAT(Run({"report", "indexes", "--grid", "--rows", "1"}).Lines(), ElementsAre("A - 0", "B - 1", "C - 2"));
  const TRun adjacency = Run({"report", "adjacency", "--problem", "1"});
  const std::vector<std::string> lines = adjacency.Lines();
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines[3], "D - ");
  EXPECT_EQ(lines[6], "G - H,B,L,");
}

TEST_F(CyclornCli, ReportsTheTreeAfterTheNamedTreeCommand) {
  for (const bool breadthFirst : {true, false}) {
    TSurveyGraph work;
    BuildProblemGrid(work, 2);
    TSurveyGraph tree;
    TLoopList loops;
    if (breadthFirst)
      BreadthFirstTree(work, tree, loops, true);
    else
      DepthFirstTree(work, tree, loops);
    std::vector<std::string> args = {"report", "parents", "--problem", "2", "--tree", breadthFirst ? "bfs" : "dfs"};
    if (breadthFirst) args.push_back("--favor-high-order");
    EXPECT_EQ(Run(args).Lines(), ReportParents(tree));
    args[1] = "sequence";
    EXPECT_EQ(Run(args).Lines(), ReportSequence(tree));
  }
}

TEST_F(CyclornCli, PrintsTheLoopsOfEveryMethodAsTheLibraryFindsThem) {
  for (int n = 1; n <= 6; ++n) {
    for (const bool shortest : {true, false}) {
      for (const bool optimize : {true, false}) {
        TSurveyGraph work;
        BuildProblemGrid(work, n);
        TLoopList loops;
        if (shortest)
          FindLoopsShortest(work, loops, optimize);
        else
          FindLoopsOverlap(work, loops, optimize);
        std::vector<std::string> expected = LoopLines(loops);
        expected.push_back(Joined("marks", work.Marks));
        expected.push_back(Joined("flags", work.Edges.Flags));
        std::vector<std::string> args = {"loops", "--problem", std::to_string(n), "--dump-state"};
        if (!shortest) args.insert(args.end(), {"--method", "overlap"});
        if (!optimize) args.push_back("--no-optimize");
        const TRun run = Run(args);
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.Lines(), expected);
        EXPECT_EQ(run.err, "");
      }
    }
  }
}

TEST_F(CyclornCli, PrintsTheMinimalLoopsWithOrWithoutOptimizeAlike) {
  for (int n = 1; n <= 6; ++n) {
    TSurveyGraph work;
    BuildProblemGrid(work, n);
    TLoopList loops;
    FindLoopsMinimal(work, loops);
    std::vector<std::string> expected = LoopLines(loops);
    expected.push_back(Joined("marks", work.Marks));
    expected.push_back(Joined("flags", work.Edges.Flags));
    const TRun run = Run({"loops", "--problem", std::to_string(n), "--method", "minimal", "--dump-state"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.Lines(), expected);
    EXPECT_EQ(
        Run({"loops", "--no-optimize", "--problem", std::to_string(n), "--method", "minimal", "--dump-state"}).out,
        run.out);
  }
}

TEST_F(CyclornCli, PrintsTheQualityLineAfterTheLoopsForEveryMethod) {
  // Only the fundamental loops of "Grid-4" take the long way round (26 edges).
  // Only the minimal search says which basis it gave.
  const std::vector<std::tuple<std::vector<std::string>, int, std::string>> methods = {
      {{}, 20, ""},
      {{"--no-optimize"}, 26, ""},
      {{"--method", "overlap"}, 20, ""},
      {{"--method", "overlap", "--no-optimize"}, 26, ""},
      {{"--method", "minimal"}, 20, " minimum"},
      {{"--method", "minimal", "--near-minimum"}, 20, " near-minimum"}};
  for (const auto& [method, edges, basis] : methods) {
    std::vector<std::string> args = {"loops", "--problem", "4", "--quality", "--dump-state"};
    args.insert(args.end(), method.begin(), method.end());
    SCOPED_TRACE(::testing::PrintToString(args));
    const TRun run = Run(args);
    EXPECT_EQ(run.status, 0);
    const std::vector<std::string> lines = run.Lines();
    ASSERT_EQ(lines.size(), 6u);  // three loops, the quality line, marks and flags
    for (size_t k = 0; k < 3; ++k) EXPECT_TRUE(IsLoopLine(lines[k])) << lines[k];
    EXPECT_EQ(lines[3], "quality: loops 3 edges " + std::to_string(edges) + " independent 3 of 3 closed 3" + basis);
    EXPECT_THAT(lines[4], StartsWith("marks:"));
    EXPECT_THAT(lines[5], StartsWith("flags:"));
  }
  // A network with a second piece: the specified searches stay in the start
  // station's piece, the minimal one covers both.
  const std::string file = Write("two.grf",
                                 "6\r\nA\r\n0 0 0\r\nB\r\n10 0 0\r\nC\r\n5 10 0\r\nD\r\n50 0 0\r\nE\r\n60 0 0\r\n"
                                 "F\r\n55 10 0\r\n6\r\n0 1\r\n1 2\r\n2 0\r\n3 4\r\n4 5\r\n5 3\r\n");
  EXPECT_EQ(Run({"loops", "--load", file, "--quality"}).Lines().back(),
            "quality: loops 1 edges 3 independent 1 of 2 closed 1");
  EXPECT_EQ(Run({"loops", "--load", file, "--quality", "--method", "minimal"}).Lines().back(),
            "quality: loops 2 edges 6 independent 2 of 2 closed 2 minimum");
  // The exact basis is shorter where the fast one is not minimal.
  const std::vector<std::string> thinned = {"loops", "--grid",    "--columns",     "6",        "--rows", "15",
                                            "--density", "60", "--no-bordered", "--method", "minimal", "--quality"};
  EXPECT_EQ(Run(thinned).Lines().back(), "quality: loops 14 edges 78 independent 14 of 14 closed 14 minimum");
  std::vector<std::string> fast = thinned;
  fast.push_back("--near-minimum");
  EXPECT_EQ(Run(fast).Lines().back(), "quality: loops 14 edges 80 independent 14 of 14 closed 14 near-minimum");
  EXPECT_EQ(Run({"loops", "--problem", "1", "--near-minimum"}).status, 2);
}

TEST_F(CyclornCli, TimesTheMinimalSearchToo) {
  const TRun run = Run({"loops", "--problem", "6", "--method", "minimal", "--quality", "--time"});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(IsTimeLine(run.err)) << run.err;
}

TEST_F(CyclornCli, LoopLinesFollowTheFixedForm) {
  const TRun run = Run({"loops", "--problem", "2"});
  ASSERT_EQ(run.Lines().size(), 10u);  // Grid-2 has ten independent loops
  for (const std::string& line : run.Lines()) EXPECT_TRUE(IsLoopLine(line)) << line;
  EXPECT_FALSE(IsLoopLine("loop 0 edges 1 val 0 com 0 first 0: 1-x"));
  EXPECT_THAT(run.Lines().front(), StartsWith("loop 0 edges "));
}

TEST_F(CyclornCli, TimesTheSearchOnStandardErrorOnly) {
  const TRun timed = Run({"loops", "--time", "--problem", "6"});
  const TRun untimed = Run({"loops", "--problem", "6"});
  EXPECT_EQ(timed.status, 0);
  EXPECT_EQ(timed.out, untimed.out);
  EXPECT_TRUE(IsTimeLine(timed.err)) << timed.err;
  const TRun tree = Run({"tree", "bfs", "--problem", "6", "--time"});
  EXPECT_TRUE(IsTimeLine(tree.err)) << tree.err;
}

TEST_F(CyclornCli, SavesGeneratedNetworksAsTheWorkbenchBuildsThemFirst) {
  const TRun run = Run({"save", "--grid", "--randomness", "50", "--columns", "9", "--rows", "7", "--density", "60",
                        "-o", File("jittered.grf")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  RandomSeed = 0;
  TSurveyGraph expected;
  expected.Clear();
  BuildGriddedGraph(expected, 50, 50, true, false, 40, 7, 9, 70, 70);
  JitterStations(expected, 70, 70, 50);
  TSurveyGraph saved;
  LoadGraph(File("jittered.grf"), saved);
  EXPECT_EQ(ReportSequence(saved), ReportSequence(expected));
  for (int32_t i = 0; i < expected.StationCount(); ++i) EXPECT_EQ(saved.Positions.Get(i), expected.Positions.Get(i));

  EXPECT_EQ(Run({"save", "--random", "--columns", "10", "--rows", "4", "--width", "300", "--height", "200", "-o",
                 File("random.grf")})
                .status,
            0);
  RandomSeed = 0;
  expected.Clear();
  BuildNonGriddedGraph(expected, 40, 300, 0, 200);
  LoadGraph(File("random.grf"), saved);
  EXPECT_EQ(ReportSequence(saved), ReportSequence(expected));
  EXPECT_EQ(saved.Positions.Get(39), expected.Positions.Get(39));
}

TEST_F(CyclornCli, SavesAProblemGridAsTheExampleFile) {
  EXPECT_EQ(Run({"save", "-o", File("g1.grf"), "--problem", "1"}).status, 0);
  const std::string text = ReadFile(File("g1.grf"));
  EXPECT_THAT(text,
              StartsWith("20\r\nA\r\n 7.50000000000000E+0001  7.50000000000000E+0001  0.00000000000000E+0000\r\n"));
  EXPECT_THAT(text, HasSubstr("\r\n16\r\n0 1\r\n1 2\r\n"));
}

TEST_F(CyclornCli, OptimizeListPrintsTheTurnedEdgesAndSavesTheResult) {
  const TRun run = Run({"optimize-list", "--grid", "-o", File("sorted.grf")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "2\n");  // E-D and F-C are turned
  TSurveyGraph saved;
  LoadGraph(File("sorted.grf"), saved);
  const std::vector<std::string> edges = ReportSequence(saved);
  EXPECT_EQ(edges.size(), 7u);
  for (int32_t e = 0; e < saved.Edges.Count(); ++e) EXPECT_LT(saved.Edges.Froms.Get(e), saved.Edges.Tos.Get(e));
  EXPECT_EQ(Run({"optimize-list", "--load", File("sorted.grf")}).out, "0\n");
}

TEST_F(CyclornCli, NamesTheFileAndLineOfABadGraphFile) {
  const std::string bad = Write("bad.grf", "2\r\nA\r\n1 2 3\r\nB\r\n75,0 1 2\r\n0\r\n");
  const TRun run = Run({"loops", "--load", bad});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "cyclorn-cli: " + bad + ": line 5: Invalid numeric input\n");
  const TRun missing = Run({"report", "sequence", "--load", File("absent.grf")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "cyclorn-cli: " + File("absent.grf") + ": File not found\n");
  const std::string far = Write("far.grf", "1\nA\n0 0 0\n1\n0 4\n");
  EXPECT_EQ(Run({"tree", "dfs", "--load", far}).err,
            "cyclorn-cli: " + far + ": line 5: Edge end 4 is not below the station count 1\n");
}

TEST_F(CyclornCli, RefusesToSaveWhereItCannotAndKeepsTheOldFile) {
  std::filesystem::create_directory(File("folder.grf"));
  const TRun run = Run({"save", "--problem", "1", "-o", File("folder.grf")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "cyclorn-cli: " + File("folder.grf") + ": File access denied\n");
  const std::string old = Write("old.grf", "old");
  const TRun failed = Run({"optimize-list", "--problem", "2", "-o", File("missing/x.grf")});
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.out, "");
  EXPECT_EQ(ReadFile(old), "old");
}

TEST_F(CyclornCli, RefusesValuesThatMakeNoSenseWithStatusOne) {
  const TRun run = Run({"loops", "--random", "--width", "20"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "cyclorn-cli: --width must be at least 50, not 20\n");
  EXPECT_EQ(Run({"save", "-o", File("x.grf"), "--grid", "--rows", "0"}).status, 1);
  EXPECT_FALSE(std::filesystem::exists(File("x.grf")));
}

TEST_F(CyclornCli, PrintsTheUsageForAWrongCommandLineWithStatusTwo) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{},
                                             {"loops"},
                                             {"loops", "--problem", "7"},
                                             {"tree", "bfs", "--grid", "--random"},
                                             {"export", "--grid"},
                                             {"loops", "--problem", "1", "--method", "least"},
                                             {"tree", "dfs", "--problem", "1", "--quality"}}) {
    const TRun run = Run(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_THAT(run.err, StartsWith("cyclorn-cli: "));
    EXPECT_THAT(run.err, HasSubstr(CliUsage()));
  }
}

TEST_F(CyclornCli, ExportsTheGraphViewByTheFileExtension) {
  for (const char* name : {"net.emf", "net.WMF", "net.svg", "net.png"}) {
    const TRun run = Run({"export", "-o", File(name), "--problem", "1"});
#ifndef CYCLORN_TEST_QT_PICTURES
    // Built without Qt, the tool writes metafiles only.
    if (std::string(name).ends_with("g")) {
      EXPECT_EQ(run.err, "cyclorn-cli: This cyclorn-cli is built without Qt and cannot write \"" + File(name) + "\"\n");
      continue;
    }
#endif
    EXPECT_EQ(run.status, 0) << name << ": " << run.err;
    EXPECT_EQ(run.out, "");
  }
  // The problem network lies well inside the smallest drawing area, 1024 x 768.
  const std::string emf = ReadFile(File("net.emf"));
  ASSERT_GE(emf.size(), 108u);
  EXPECT_EQ(emf.substr(40, 4), " EMF");
  const std::string wmf = ReadFile(File("net.WMF"));
  ASSERT_GE(wmf.size(), 22u);
  EXPECT_EQ(wmf.substr(0, 4), "\xD7\xCD\xC6\x9A");
  EXPECT_EQ(wmf.substr(10, 4), std::string("\x00\x04\x00\x03", 4));  // right 1024, bottom 768
#ifdef CYCLORN_TEST_QT_PICTURES
  EXPECT_THAT(ReadFile(File("net.svg")), HasSubstr("<svg"));
  EXPECT_EQ(ReadFile(File("net.png")).substr(0, 8), "\x89PNG\r\n\x1A\n");
#endif
}

TEST_F(CyclornCli, RefusesAnExportFormatItCannotTellAndWritesNothing) {
  const TRun run = Run({"export", "-o", File("net.bmp"), "--problem", "1"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "cyclorn-cli: Cannot tell the picture format of \"" + File("net.bmp") +
                         "\": name it .emf, .wmf, .svg or .png\n");
  EXPECT_FALSE(std::filesystem::exists(File("net.bmp")));
}

}  // namespace

namespace {

// A square a-b-c-d with a splay at a and a duplicate diagonal a-c.
const char* const kSquareSurvey =
    "*title \"Square\"\n*begin cave\n*data normal from to tape compass clino\n"
    "a b 10.00 000 0\nb c 10.00 090 0\nc d 10.00 180 0\nd a 10.00 270 0\n"
    "*flags splay\na . 2.00 045 0\n*flags not splay duplicate\na c 14.14 045 0\n*end cave\n";

TEST_F(CyclornCli, SummarisesASurveyAndNamesItsLoopsByFullName) {
  const std::string survey = Write("square.svx", kSquareSurvey);
  const TRun summary = Run({"survey", "--load", survey});
  EXPECT_EQ(summary.status, 0) << summary.err;
  EXPECT_THAT(summary.Lines(), ::testing::IsSupersetOf({"title: Square", "stations: 5", "splay legs: 1 left out",
                                                        "duplicate legs: 1 kept", "shots: 5", "pieces: 1", "loops: 2"}));
  EXPECT_EQ(Run({"loops", "--load", survey, "--method", "minimal", "--names", "full"}).Lines(),
            (std::vector<std::string>{"loop 0 edges 3 val 0 com 2 first 1: cave.c cave.d, cave.d cave.a, cave.a cave.c",
                                      "loop 1 edges 3 val 0 com 1 first 1: cave.b cave.c, cave.c cave.a, cave.a cave.b"}));
  // Without the duplicate, one loop; the splay's end joins as a station of its own.
  const TRun legs = Run({"survey", "--load", survey, "--no-legs", "duplicate", "--legs", "splay"});
  EXPECT_THAT(legs.Lines(), ::testing::IsSupersetOf({"network stations: 5", "shots: 5", "loops: 1",
                                                     "splay legs: 1 kept", "duplicate legs: 1 left out"}));
  // A survey converts to a graph file like any network.
  EXPECT_EQ(Run({"save", "--load", survey, "-o", File("square.grf")}).status, 0);
  EXPECT_EQ(Run({"loops", "--load", File("square.grf")}).Lines().size(), 2u);

  const TRun notSurvey = Run({"survey", "--load", File("square.grf")});
  EXPECT_EQ(notSurvey.status, 1);
  EXPECT_EQ(notSurvey.err, "cyclorn-cli: " + File("square.grf") + ": not a survey (.3d or .svx)\n");
  const std::string bad = Write("bad.svx", "1 2 3.0 000 0\n*nonsense\n");
  const TRun refused = Run({"loops", "--load", bad});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_THAT(refused.err, StartsWith("cyclorn-cli: " + bad + ":2: "));
  for (const std::vector<std::string>& wrong : {std::vector<std::string>{"survey", "--problem", "1"},
                                                {"loops", "--problem", "1", "--legs", "splay"},
                                                {"loops", "--load", survey, "--no-legs", "walls"},
                                                {"tree", "bfs", "--load", survey, "--names", "full"}})
    EXPECT_EQ(Run(wrong).status, 2) << ::testing::PrintToString(wrong);
}

}  // namespace

namespace {

TEST_F(CyclornCli, SimulatesASurveyAndFindsItsPlantedBlunders) {
  const std::string svx = File("sim.svx");
  const TRun simulate = Run({"simulate", "-o", svx, "--columns", "8", "--rows", "6", "--blunders", "3", "--seed", "4"});
  EXPECT_EQ(simulate.status, 0) << simulate.err;
  EXPECT_EQ(simulate.out, "");
  // The same seed gives the same survey.
  const std::string again = File("again.svx");
  Run({"simulate", "-o", again, "--columns", "8", "--rows", "6", "--blunders", "3", "--seed", "4"});
  EXPECT_EQ(ReadFile(svx), ReadFile(again));
  const std::vector<std::string> planted = [&] {
    std::vector<std::string> lines;
    std::istringstream in(ReadFile(File("sim.blunders")));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }();
  ASSERT_EQ(planted.size(), 3u);

  // Every planted blunder is a suspect, named by its leg and its kind.
  const TRun csv = Run({"blunders", "--load", svx, "--format", "csv"});
  EXPECT_EQ(csv.status, 0) << csv.err;
  for (const std::string& line : planted) {
    std::istringstream fields(line);
    std::string from, to, kind;
    fields >> from >> to >> kind;
    EXPECT_THAT(csv.out, HasSubstr("suspect,")) << line;
    EXPECT_THAT(csv.out, ::testing::ContainsRegex(from + "," + to + ",.*," + kind + ",")) << line;
  }
  const TRun json = Run({"blunders", "--load", svx, "--format", "json", "--top", "1"});
  EXPECT_THAT(json.out, StartsWith("{\"critical\": 3.290,"));
  EXPECT_THAT(json.out, HasSubstr("\"rank\": 1,"));
  EXPECT_THAT(json.out, ::testing::Not(HasSubstr("\"rank\": 2,")));

  // The worst misclosure points at a planted blunder's loop.
  const TRun worst = Run({"misclosures", "--load", svx, "--sort", "ratio", "--top", "1", "--format", "csv"});
  EXPECT_EQ(worst.status, 0) << worst.err;
  ASSERT_EQ(worst.Lines().size(), 2u);  // the header and one loop

  for (const std::vector<std::string>& wrong :
       {std::vector<std::string>{"misclosures", "--problem", "1"}, {"simulate", "--problem", "1", "-o", svx},
        {"simulate", "--blunders", "2"}, {"blunders", "--load", svx, "--sort", "ratio"},
        {"loops", "--problem", "1", "--format", "json"}, {"blunders", "--load", svx, "--critical", "4",
                                                           "--survey-alpha", "0.05"}})
    EXPECT_EQ(Run(wrong).status, 2) << ::testing::PrintToString(wrong);
  // A network without readings has nothing to close.
  const TRun graph = Run({"misclosures", "--load", WriteSquare()});
  EXPECT_EQ(graph.status, 1);
  EXPECT_EQ(graph.err, "cyclorn-cli: Loop misclosures need raw survey data: load a .svx survey\n");
}

}  // namespace
