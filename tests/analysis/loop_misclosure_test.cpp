#include "analysis/loop_misclosure.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <Eigen/Dense>
#include <cmath>

#include "analysis_test_support.h"

namespace {

using ::testing::ElementsAre;

// A - B - C - D - A: north 10, east 10 at 30 degrees up, south 10, west 10.5.
std::vector<TTestLeg> FourLegs() {
  return {{0, 1, 10, 0, 0}, {1, 2, 10, 90, 30}, {2, 3, 10, 180, 0}, {3, 0, 10.5, 270, 0}};
}

TEST(LoopMisclosure, AddsAHandComputedLoopOfFourLegs) {
  const TAnalysedSurvey a(MakeSurvey(4, FourLegs()));
  ASSERT_EQ(a.Misclosures.size(), 1u);
  const TLoopMisclosure& loop = a.Misclosures[0];
  EXPECT_EQ(loop.Status, TLoopStatus::Measured);
  EXPECT_EQ(loop.Legs, 4);
  // Going round A B C D: east 8.660 - 10.5, north 10 - 10, up 5.
  const double sign = loop.Misclosure.Z > 0 ? 1 : -1;
  EXPECT_NEAR(sign * loop.Misclosure.X, -1.8397, 0.001);
  EXPECT_NEAR(loop.Misclosure.Y, 0, 0.001);
  EXPECT_NEAR(sign * loop.Misclosure.Z, 5, 0.001);
  EXPECT_NEAR(loop.Length, 40.5, 1e-9);
  EXPECT_NEAR(loop.Error, 5.3277, 0.001);
  EXPECT_NEAR(loop.ErrorPercent, 100 * 5.3277 / 40.5, 0.01);
  EXPECT_EQ(loop.Stations.size(), 4u);
  // The ratio against the summed covariances, computed here from the leg covariances directly.
  Eigen::Matrix3d c = Eigen::Matrix3d::Zero();
  for (const TLegMeasurement& m : a.Survey.Measurements) {
    const auto& p = m.Covariance;
    Eigen::Matrix3d leg;
    leg << p[0], p[1], p[2], p[1], p[3], p[4], p[2], p[4], p[5];
    c += leg;
  }
  const Eigen::Vector3d mis(loop.Misclosure.X, loop.Misclosure.Y, loop.Misclosure.Z);
  EXPECT_NEAR(loop.Ratio, std::sqrt(mis.dot(c.inverse() * mis) / 3), 1e-9);
  EXPECT_GT(loop.Ratio, 5);
}

TEST(LoopMisclosure, FollowsStationPairsInAnyOrderAndDirection) {
  const TAnalysedSurvey a(MakeSurvey(4, FourLegs()));
  // The loop as a pair-named search writes it: edges out of order, some turned.
  TLoopList loops;
  TEdgeArray& loop = loops.AddLoop();
  loop.AddEdge({0, 1, 0});
  loop.AddEdge({3, 2, 0});
  loop.AddEdge({0, 3, 0});
  loop.AddEdge({1, 2, 0});
  const std::vector<TLoopMisclosure> m = ComputeMisclosures(a.Survey, a.Network, a.Graph, loops);
  ASSERT_EQ(m[0].Status, TLoopStatus::Measured);
  // Walked A B C D A from the first edge's From.
  EXPECT_THAT(m[0].Stations, ElementsAre(0, 1, 2, 3));
  EXPECT_THAT(m[0].LegIndices, ElementsAre(0, 1, 2, 3));
  EXPECT_THAT(m[0].Directions, ElementsAre(1, 1, 1, 1));
  EXPECT_NEAR(m[0].Misclosure.X, -1.8397, 0.001);
  EXPECT_NEAR(m[0].Misclosure.Z, 5, 0.001);

  // Edges that do not go round, or name a shot the graph lacks.
  TLoopList bad;
  TEdgeArray& open = bad.AddLoop();
  open.AddEdge({0, 1, 0});
  open.AddEdge({1, 2, 0});
  TEdgeArray& missing = bad.AddLoop();
  missing.AddEdge({0, 2, 0});
  missing.AddEdge({2, 0, 0});
  const std::vector<TLoopMisclosure> none = ComputeMisclosures(a.Survey, a.Network, a.Graph, bad);
  for (const TLoopMisclosure& x : none) {
    EXPECT_EQ(x.Status, TLoopStatus::NotClosed);
    EXPECT_TRUE(std::isnan(x.Error));
    EXPECT_TRUE(std::isnan(x.Ratio));
  }
}

TEST(LoopMisclosure, TwoParallelLegsMakeALoopAndAReversedLegCountsAgainstTheWalk) {
  // Two legs between the same stations, the second entered backwards.
  const TAnalysedSurvey a(MakeSurvey(2, {{0, 1, 10, 45, 0}, {1, 0, 10.2, 225, 0}}));
  ASSERT_EQ(a.Misclosures.size(), 1u);
  EXPECT_EQ(a.Misclosures[0].Legs, 2);
  EXPECT_NEAR(a.Misclosures[0].Error, 0.2, 1e-9);
  EXPECT_NEAR(a.Misclosures[0].Length, 20.2, 1e-9);
}

TEST(LoopMisclosure, SaysSoForALoopThroughALegWithoutReadings) {
  std::vector<TTestLeg> legs = FourLegs();
  legs[2].Style = TLegStyle::NoSurvey;
  const TAnalysedSurvey a(MakeSurvey(4, legs));
  ASSERT_EQ(a.Misclosures.size(), 1u);
  EXPECT_EQ(a.Misclosures[0].Status, TLoopStatus::Unmeasured);
  EXPECT_EQ(a.Misclosures[0].UnmeasuredLegs, 1);
  EXPECT_EQ(a.Misclosures[0].Legs, 4);
  EXPECT_TRUE(std::isnan(a.Misclosures[0].Length));
  EXPECT_TRUE(std::isnan(a.Misclosures[0].Misclosure.X));
}

TEST(LoopMisclosure, SortsByEachFieldWithUnknownFiguresLastAndTiesByIndex) {
  std::vector<TLoopMisclosure> loops(4);
  const double ratios[] = {2, NAN, 5, 2};
  for (int i = 0; i < 4; ++i) {
    loops[static_cast<size_t>(i)].Index = i;
    loops[static_cast<size_t>(i)].Ratio = ratios[i];
    loops[static_cast<size_t>(i)].Legs = 10 - i;
  }
  const auto order = [&loops] {
    std::vector<int32_t> o;
    for (const TLoopMisclosure& l : loops) o.push_back(l.Index);
    return o;
  };
  SortMisclosures(loops, TMisclosureField::Ratio, true);
  EXPECT_THAT(order(), ElementsAre(2, 0, 3, 1));
  SortMisclosures(loops, TMisclosureField::Ratio, false);
  EXPECT_THAT(order(), ElementsAre(0, 3, 2, 1));
  SortMisclosures(loops, TMisclosureField::Legs, false);
  EXPECT_THAT(order(), ElementsAre(3, 2, 1, 0));
  SortMisclosures(loops, *MisclosureFieldByName("index"), false);
  EXPECT_THAT(order(), ElementsAre(0, 1, 2, 3));
  EXPECT_EQ(MisclosureFieldByName("error_percent"), TMisclosureField::ErrorPercent);
  EXPECT_FALSE(MisclosureFieldByName("Ratio").has_value());
}

}  // namespace
