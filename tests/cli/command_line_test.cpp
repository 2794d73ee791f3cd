#include "cli/command_line.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/errors.h"

namespace {

using ::testing::HasSubstr;

TCliOptions Parse(std::vector<std::string> args) { return ParseCommandLine(args); }

TEST(ParseCommandLine, TakesTheGridPageDefaults) {
  const TCliOptions options = Parse({"loops", "--grid"});
  EXPECT_EQ(options.Command, TCliCommand::ccLoops);
  EXPECT_EQ(options.Source, TCliSource::csGrid);
  EXPECT_EQ(options.Method, TLoopMethod::lmShortest);
  EXPECT_TRUE(options.Optimize);
  EXPECT_EQ(options.Grid.Columns, 3);
  EXPECT_EQ(options.Grid.Rows, 2);
  EXPECT_EQ(options.Grid.Density, 100);
  EXPECT_EQ(options.Grid.Randomness, 0);
  EXPECT_TRUE(options.Grid.Bordered);
  EXPECT_FALSE(options.Grid.SkipRows);
  EXPECT_EQ(options.Grid.SpacingX, 70);
  EXPECT_EQ(options.Grid.SpacingY, 70);
  const TCliOptions random = Parse({"save", "-o", "x.grf", "--random"});
  EXPECT_EQ(random.Width, 1024);
  EXPECT_EQ(random.Height, 768);
  EXPECT_EQ(random.OutputFile, "x.grf");
}

TEST(ParseCommandLine, AcceptsOptionsInAnyOrderAfterTheCommandWords) {
  const TCliOptions a = Parse({"tree", "bfs", "--time", "--columns", "7", "--grid", "--favor-high-order",
                               "--no-bordered", "--skip-rows", "--spacing-y", "33", "--dump-state"});
  EXPECT_EQ(a.Command, TCliCommand::ccTree);
  EXPECT_EQ(a.Tree, TTreeKind::tkBreadthFirst);
  EXPECT_TRUE(a.FavorHighOrder && a.Time && a.DumpState && a.Grid.SkipRows);
  EXPECT_FALSE(a.Grid.Bordered);
  EXPECT_EQ(a.Grid.Columns, 7);
  EXPECT_EQ(a.Grid.SpacingY, 33);
  const TCliOptions b = Parse({"report", "parents", "--favor-high-order", "--tree", "bfs", "--load", "net.grf"});
  EXPECT_EQ(b.Report, TReportKind::rkParents);
  EXPECT_EQ(b.Tree, TTreeKind::tkBreadthFirst);
  EXPECT_EQ(b.LoadFile, "net.grf");
  const TCliOptions c = Parse({"loops", "--no-optimize", "--problem", "6", "--method", "overlap"});
  EXPECT_EQ(c.Method, TLoopMethod::lmOverlap);
  EXPECT_FALSE(c.Optimize);
  EXPECT_EQ(c.ProblemNumber, 6);
  EXPECT_FALSE(c.Quality);
  const TCliOptions d = Parse({"loops", "--quality", "--method", "minimal", "--problem", "1", "--no-optimize"});
  EXPECT_EQ(d.Method, TLoopMethod::lmMinimal);
  EXPECT_TRUE(d.Quality);
  EXPECT_FALSE(d.Optimize);
}

TEST(ParseCommandLine, AllowsValuesOutsideTheWindowsRanges) {
  const TCliOptions options =
      Parse({"loops", "--grid", "--columns", "400", "--rows", "300", "--density", "-20", "--randomness", "90"});
  EXPECT_EQ(options.Grid.Columns, 400);
  EXPECT_EQ(options.Grid.Density, -20);
  EXPECT_EQ(options.Grid.Randomness, 90);
}

TEST(ParseCommandLine, RefusesWrongCommandLinesWithAReason) {
  const std::vector<std::vector<std::string>> wrong = {
      {},
      {"loops"},
      {"find", "--problem", "1"},
      {"tree", "--problem", "1"},
      {"tree", "xfs", "--problem", "1"},
      {"report", "--problem", "1"},
      {"report", "neighbours", "--problem", "1"},
      {"loops", "--problem", "7"},
      {"loops", "--problem", "0"},
      {"loops", "--problem", "two"},
      {"loops", "--problem"},
      {"loops", "--problem", "2", "--grid"},
      {"loops", "--grid", "--grid"},
      {"loops", "--problem", "1", "--columns", "3"},
      {"loops", "--random", "--spacing-x", "5"},
      {"loops", "--random", "--skip-rows"},
      {"loops", "--grid", "--width", "100"},
      {"loops", "--grid", "--columns", "x"},
      {"loops", "--grid", "--columns", "3.5"},
      {"loops", "--grid", "--bordered", "--no-bordered"},
      {"loops", "--problem", "1", "--favor-high-order"},
      {"tree", "dfs", "--problem", "1", "--favor-high-order"},
      {"report", "sequence", "--problem", "1", "--favor-high-order"},
      {"report", "sequence", "--problem", "1", "--tree", "dfs", "--favor-high-order"},
      {"report", "sequence", "--problem", "1", "--tree", "xfs"},
      {"tree", "bfs", "--problem", "1", "--tree", "bfs"},
      {"report", "adjacency", "--problem", "1", "--dump-state"},
      {"save", "--problem", "1", "--time", "-o", "x"},
      {"save", "--problem", "1"},
      {"save", "--problem", "1", "-o"},
      {"loops", "--problem", "1", "-o", "x"},
      {"loops", "--problem", "1", "--method", "smallest"},
      {"loops", "--problem", "1", "--method"},
      {"loops", "--problem", "1", "--quality", "--quality"},
      {"tree", "bfs", "--problem", "1", "--quality"},
      {"report", "adjacency", "--problem", "1", "--quality"},
      {"save", "-o", "x.grf", "--problem", "1", "--quality"},
      {"tree", "bfs", "--problem", "1", "--method", "overlap"},
      {"loops", "--problem", "1", "--time", "--time"},
      {"export", "--problem", "1"},
      {"export", "-o", "x.emf", "--problem", "1", "--time"},
      {"loops", "--problem", "1", "stray"},
  };
  for (const auto& args : wrong) {
    std::string line;
    for (const auto& a : args) line += a + " ";
    EXPECT_THROW(ParseCommandLine(args), EUsageError) << line;
  }
}

TEST(ParseCommandLine, RefusesSourceValuesThatMakeNoSenseWithAMessage) {
  const auto message = [](std::vector<std::string> args) {
    try {
      ParseCommandLine(args);
    } catch (const EUsageError&) {
      return std::string("usage");
    } catch (const ECyclornError& error) {
      return std::string(error.what());
    }
    return std::string("accepted");
  };
  EXPECT_EQ(message({"loops", "--grid", "--columns", "0"}), "--columns must be at least 1, not 0");
  EXPECT_EQ(message({"loops", "--random", "--rows", "-3"}), "--rows must be at least 1, not -3");
  EXPECT_EQ(message({"loops", "--grid", "--spacing-x", "0"}), "--spacing-x must be at least 1, not 0");
  EXPECT_EQ(message({"loops", "--random", "--width", "49"}), "--width must be at least 50, not 49");
  EXPECT_EQ(message({"loops", "--random", "--height", "10"}), "--height must be at least 50, not 10");
  EXPECT_THAT(message({"loops", "--grid", "--columns", "5000", "--rows", "5000"}), HasSubstr("at most 16777216"));
  EXPECT_EQ(message({"loops", "--random", "--width", "50", "--height", "50"}), "accepted");
  EXPECT_EQ(message({"loops", "--grid", "--spacing-x", "1", "--spacing-y", "1"}), "accepted");
}

TEST(CliUsage, ListsEveryCommandAndSource) {
  for (const char* word :
       {"save -o FILE", "tree bfs", "tree dfs", "loops [--method shortest|overlap|minimal] [--no-optimize] [--near-minimum] [--quality]",
        "report adjacency|sequence|parents|indexes", "optimize-list", "--load FILE", "--problem N", "--grid",
        "--random", "--dump-state", "--time"})
    EXPECT_THAT(CliUsage(), HasSubstr(word));
}

}  // namespace
