#include "core/vector3.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(Vec3, NormalizeKeepsTheZeroVector) {
  EXPECT_EQ(Normalize3(MakeVec3(0, 0, 0)), MakeVec3(0, 0, 0));
  const Vec3 n = Normalize3(MakeVec3(3, 0, 4));
  EXPECT_DOUBLE_EQ(n.X, 0.6);
  EXPECT_DOUBLE_EQ(n.Y, 0);
  EXPECT_DOUBLE_EQ(n.Z, 0.8);
  EXPECT_EQ(Normalize2(MakeVec2(0, 0)), MakeVec2(0, 0));
}

TEST(Vec3, TrimsMoveEachEndTowardsTheOther) {
  Segment3 s{MakeVec3(0, 0, 0), MakeVec3(30, 40, 0)};
  TrimSegmentStart(s, 10);
  EXPECT_DOUBLE_EQ(s.Start.X, 6);
  EXPECT_DOUBLE_EQ(s.Start.Y, 8);
  TrimSegmentEnd(s, 10);
  EXPECT_DOUBLE_EQ(s.End.X, 24);
  EXPECT_DOUBLE_EQ(s.End.Y, 32);
}

TEST(Vec3, RoundingGoesToEven) {
  EXPECT_EQ(RoundVec2(MakeVec2(2.5, 3.5)), (TPoint{2, 4}));
  EXPECT_EQ(RoundVec2(MakeVec2(-2.5, 12.5)), (TPoint{-2, 12}));
  EXPECT_EQ(RoundVec2(MakeVec2(13.5, 0.49)), (TPoint{14, 0}));
}

TEST(Vec3, MinMaxAndLength) {
  EXPECT_EQ(Min3(MakeVec3(10, 20, 0), MakeVec3(5, 40, -3)), MakeVec3(5, 20, -3));
  EXPECT_EQ(Max3(MakeVec3(10, 20, 0), MakeVec3(5, 40, -3)), MakeVec3(10, 40, 0));
  EXPECT_DOUBLE_EQ(Length3(MakeVec3(2, 3, 6)), 7);
  EXPECT_DOUBLE_EQ(Length3(MakeVec3(1e200, 1e200, 0)), 1e200 * std::sqrt(2.0)) << "no overflow in the sum";
}

}  // namespace
