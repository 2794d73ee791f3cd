#include "cli/cli_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

TEST(FormatMilliseconds, WritesThreeDecimalsWithAPoint) {
  EXPECT_EQ(FormatMilliseconds(12345), "12.345 ms.");
  EXPECT_EQ(FormatMilliseconds(999999), "999.999 ms.");
  EXPECT_EQ(FormatMilliseconds(7), "0.007 ms.");
  EXPECT_EQ(FormatMilliseconds(0), "0.000 ms.");
  EXPECT_EQ(FormatMilliseconds(75123456), "75123.456 ms.");
  EXPECT_EQ(FormatMilliseconds(5000000000000LL), "5000000000.000 ms.");
}

TEST(LoopLine, WritesTheAttributesAndEveryEdge) {
  TEdgeArray loop;
  for (const auto& [from, to] : {std::pair{13, 14}, {9, 13}, {5, 9}, {10, 14}, {6, 10}, {5, 6}})
    loop.AddEdge({from, to, 0});
  loop.CommonStation = 5;
  loop.FirstPathCount = 3;
  EXPECT_EQ(LoopLine(0, loop), "loop 0 edges 6 val 0 com 5 first 3: 13-14 9-13 5-9 10-14 6-10 5-6");
  loop.LoopValue = -2;
  EXPECT_THAT(LoopLine(12, loop), ::testing::StartsWith("loop 12 edges 6 val -2 com 5 first 3: 13-14"));
}

TEST(LoopLine, WritesNothingAfterTheColonForAnEmptyLoop) {
  TEdgeArray loop;
  loop.CommonStation = 5;
  loop.FirstPathCount = 1;
  EXPECT_EQ(LoopLine(3, loop), "loop 3 edges 0 val 0 com 5 first 1:");
}

TEST(QualityLine, WritesTheCountsInTheirFixedOrder) {
  EXPECT_EQ(QualityLine({3, 14, 2, 4, 3}), "quality: loops 3 edges 14 independent 2 of 4 closed 3");
  EXPECT_EQ(QualityLine({0, 0, 0, 0, 0}), "quality: loops 0 edges 0 independent 0 of 0 closed 0");
  EXPECT_EQ(QualityLine({998001, 3992004, 998001, 998001, 998001}),
            "quality: loops 998001 edges 3992004 independent 998001 of 998001 closed 998001");
}

}  // namespace
