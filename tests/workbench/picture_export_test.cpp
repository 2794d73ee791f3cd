#include "workbench/picture_export.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/errors.h"

namespace {

TSize AreaWithFarCorner(double x, double y) {
  TSurveyGraph graph;
  graph.AddStation("A", MakeVec3(10, 10, 0));
  graph.AddStation("B", MakeVec3(x, y, 5));
  return DrawingAreaSize(graph);
}

TEST(DrawingAreaSize, IsTheFarCornerPlus25AndNeverBelow1024By768) {
  EXPECT_EQ(AreaWithFarCorner(300, 200), (TSize{1024, 768}));
  EXPECT_EQ(AreaWithFarCorner(2000, 500), (TSize{2025, 768}));
  // Truncated, not rounded.
  EXPECT_EQ(AreaWithFarCorner(1100.9, 900.6), (TSize{1125, 925}));
  const TSurveyGraph empty;
  EXPECT_EQ(DrawingAreaSize(empty), (TSize{1024, 768}));
}

TEST(DrawingAreaSize, RefusesANetworkBeyondAnyPicture) {
  EXPECT_THROW(AreaWithFarCorner(1e12, 10), ECyclornError);
  EXPECT_THAT([] { AreaWithFarCorner(10, 1e300); },
              ::testing::ThrowsMessage<ECyclornError>(::testing::EndsWith("a station lies at 1e+300")));
}

}  // namespace
