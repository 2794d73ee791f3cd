// What the window tells about a loop and a station of a network that is no
// survey: drawing units, graph names, and a long loop's stations cut short.

#include "workbench/drawing_details.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::StartsWith;

TEST(DrawingDetails, ALoopGivesItsShotsLengthAndStationsAndALongOneIsCutShort) {
  TWorkbench bench;
  TGridParameters grid;
  grid.Columns = 3;
  grid.Rows = 2;
  bench.BuildGridded(grid);
  bench.FindLoops(TLoopMethod::lmMinimal, true);
  ASSERT_EQ(bench.Loops->Count(), 2);
  const std::vector<std::string> lines = LoopDetails(bench, 0, nullptr);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Loop 0: 4 shots, length 280");  // a 70 x 70 square
  EXPECT_THAT(lines[1], StartsWith("stations: "));
  EXPECT_EQ(std::count(lines[1].begin(), lines[1].end(), ' '), 4);
  EXPECT_TRUE(LoopDetails(bench, 2, nullptr).empty());
  EXPECT_TRUE(LoopDetails(bench, -1, nullptr).empty());

  // The fundamental loops of a 30 x 30 grid run far round: past 40 stations
  // the rest are counted.
  grid.Columns = 30;
  grid.Rows = 30;
  bench.BuildGridded(grid);
  bench.FindLoops(TLoopMethod::lmShortest, false);
  int32_t longest = 0;
  for (int32_t i = 1; i < bench.Loops->Count(); ++i)
    if (bench.Loops->LoopAt(i).Count() > bench.Loops->LoopAt(longest).Count()) longest = i;
  const int32_t shots = bench.Loops->LoopAt(longest).Count();
  ASSERT_GT(shots, 40);
  const std::string stations = LoopDetails(bench, longest, nullptr).back();
  EXPECT_THAT(stations, EndsWith(" and " + std::to_string(shots - 40) + " more"));
  EXPECT_EQ(std::count(stations.begin(), stations.end(), ' '), 40 + 3);
}

TEST(DrawingDetails, AClickFindsTheNearestStationWithinItsRadiusAndTellsItsShots) {
  TWorkbench bench;
  TGridParameters grid;  // 3 x 2 stations 70 apart
  bench.BuildGridded(grid);
  const TSurveyGraph& g = *bench.WorkGraph;
  const Vec3 p = g.Positions.Get(1);
  EXPECT_EQ(StationNear(bench, p.X + 3, p.Y - 4, 5), 1);
  EXPECT_EQ(StationNear(bench, p.X + 3, p.Y - 4, 4.9), -1);  // 5 away
  EXPECT_EQ(StationNear(bench, p.X + 34, p.Y, 40), 1);       // nearer to 1 than to its neighbour
  const THugeInteger& at = g.Neighbors.ListOf(1);
  std::string shots;
  for (int32_t k = 0; k < at.Count(); ++k) shots += (k == 0 ? " " : ", ") + g.Names.GetName(at.Get(k));
  EXPECT_EQ(StationDetails(bench, 1), "Station " + g.Names.GetName(1) + " (1) at " + std::to_string(int(p.X)) + ", " +
                                          std::to_string(int(p.Y)) + ", 0; " + std::to_string(at.Count()) +
                                          " shots: to" + shots);
  EXPECT_EQ(StationDetails(bench, 99), "");
}

}  // namespace
