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

std::string Refusal(TPictureFormat format, TSize area) {
  try {
    CheckPictureSize(format, area);
  } catch (const ECyclornError& error) {
    return error.what();
  }
  return "";
}

TEST(CheckPictureSize, RefusesEachFormatJustPastItsLimitNamingSizeAndLimit) {
  EXPECT_EQ(Refusal(TPictureFormat::pfPng, {23170, 23170}), "");  // 536,848,900 pixels
  EXPECT_EQ(Refusal(TPictureFormat::pfPng, {23171, 23171}),
            "A picture of 23171 x 23171 pixels does not fit a PNG file: at most 536870912 pixels (2 GB)");
  EXPECT_EQ(Refusal(TPictureFormat::pfPng, {1, 536870913}),
            "A picture of 1 x 536870913 pixels does not fit a PNG file: at most 536870912 pixels (2 GB)");
  EXPECT_EQ(Refusal(TPictureFormat::pfWmf, {32767, 32767}), "");
  EXPECT_EQ(Refusal(TPictureFormat::pfWmf, {1024, 32768}),
            "A picture of 1024 x 32768 pixels does not fit a Windows metafile: at most 32767 pixels a side");
  for (const TPictureFormat format : {TPictureFormat::pfEmf, TPictureFormat::pfSvg}) {
    EXPECT_EQ(Refusal(format, {16777216, 16777216}), "");
    EXPECT_THAT(Refusal(format, {16777217, 768}),
                ::testing::EndsWith(" does not fit " +
                                    std::string(format == TPictureFormat::pfEmf ? "an enhanced metafile" : "an SVG file") +
                                    ": at most 16777216 pixels a side"));
  }
}

}  // namespace
