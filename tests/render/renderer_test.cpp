#include "render/renderer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/render/recording_canvas.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// The two logged lines that draw one edge's line and arrow head.
std::vector<std::string> LineAndArrow(const TRecordingCanvas& canvas) {
  std::vector<std::string> result;
  for (const std::string& line : canvas.Log)
    if (line.starts_with("MoveTo") || line.starts_with("LineTo") || line.starts_with("Polygon")) result.push_back(line);
  return result;
}

std::vector<std::string> DrawnEdge(Vec3 from, Vec3 to, const TDisplaySettings& settings = {}) {
  TRecordingCanvas canvas;
  DrawEdge(canvas, from, to, clBlack, settings);
  return LineAndArrow(canvas);
}

TEST(DisplaySettings, StartFromTheDocumentedDefaults) {
  const TDisplaySettings s;
  EXPECT_EQ(s.BackColor, TColor::Rgb(128, 128, 128));
  EXPECT_EQ(s.LineColor, TColor::Rgb(0, 0, 0));
  EXPECT_EQ(s.LoopColor, TColor::Rgb(255, 0, 0));
  EXPECT_EQ(s.LabelColor, TColor::Rgb(255, 255, 255));
  EXPECT_EQ(s.ArrowColor, TColor::Rgb(255, 255, 255));
  EXPECT_EQ(s.LineWidth, 1);
  EXPECT_TRUE(s.ShowArrow);
  EXPECT_EQ(s.LabelMode, lmStation);
  EXPECT_EQ(s.LabelFont.Face, "MS Sans Serif");
  EXPECT_EQ(s.LabelFont.Height, -11);
  EXPECT_FALSE(s.LabelFont.Bold || s.LabelFont.Italic || s.LabelFont.Underline || s.LabelFont.StrikeOut);
  EXPECT_TRUE(s.LabelFont.Color.IsWindowText());
}

TEST(StationLabel, BoxesAnOddWidthTextThreePixelsOutAndFramesItOneFurther) {
  TRecordingCanvas canvas;  // "A" measures 7 by 13
  DrawStationLabel(canvas, 100, 50, "A", TDisplaySettings{});
  EXPECT_THAT(canvas.Log, ElementsAre("Font MS Sans Serif -11 windowtext", "PenWidth 1", "TextExtent A",
                                      "BrushColor 255,255,255", "BrushStyle solid", "Rectangle 94 41 107 60",
                                      "TextRect 94 41 107 60 97 44 A", "BrushStyle clear", "Rectangle 93 40 108 61"));
}

TEST(StationLabel, CentresEvenWidthsAndHeightsExactly) {
  TRecordingCanvas canvas;
  canvas.TextHeight = 14;
  DrawStationLabel(canvas, 100, 50, "AB", TDisplaySettings{});  // 14 by 14
  EXPECT_THAT(canvas.Only("Rectangle"), ElementsAre("Rectangle 90 40 110 60", "Rectangle 89 39 111 61"));
  EXPECT_THAT(canvas.Only("TextRect"), ElementsAre("TextRect 90 40 110 60 93 43 AB"));
}

TEST(StationLabel, HalvesTheTextSizeTowardZeroLeftOfNegativeCentres) {
  TRecordingCanvas canvas;
  DrawStationLabel(canvas, -5, -2, "ABC", TDisplaySettings{});  // 21 by 13: 10 left, 6 up
  EXPECT_THAT(canvas.Only("TextRect"), ElementsAre("TextRect -18 -11 9 8 -15 -8 ABC"));
}

TEST(StationLabel, UsesTheLabelSettingsForFontFillAndFrameWidth) {
  TDisplaySettings s;
  s.LabelColor = TColor::Rgb(1, 2, 3);
  s.LineWidth = 4;
  s.LabelFont.Face = "Serif";
  s.LabelFont.Height = -20;
  s.LabelFont.Color = TColor::Rgb(9, 9, 9);
  TRecordingCanvas canvas;
  DrawStationLabel(canvas, 0, 0, "A", s);
  EXPECT_THAT(canvas.Only("Font"), ElementsAre("Font Serif -20 9,9,9"));
  EXPECT_THAT(canvas.Only("PenWidth"), ElementsAre("PenWidth 4"));
  EXPECT_THAT(canvas.Only("BrushColor"), ElementsAre("BrushColor 1,2,3"));
}

TEST(EdgeLine, IsShortenedByTenAtEachEndWithTheArrowAtTheToEnd) {
  EXPECT_THAT(DrawnEdge({100, 50, 0}, {200, 50, 0}),
              ElementsAre("MoveTo 110 50", "LineTo 190 50", "Polygon 190 50 180 45 180 55"));
}

TEST(EdgeLine, IsShortenedAlongTheThreeDimensionalDirection) {
  // Length 130 in 3-D; in plan each end moves only 10 * 50 / 130.
  EXPECT_THAT(DrawnEdge({0, 0, 0}, {30, 40, 120}),
              ElementsAre("MoveTo 2 3", "LineTo 28 37", "Polygon 28 37 25 26 17 32"));
}

TEST(EdgeLine, RoundsItsEndsHalfToEven) {
  // The shortened ends fall on 12.5 and 23.5.
  EXPECT_THAT(DrawnEdge({2.5, 0, 0}, {33.5, 0, 0}),
              ElementsAre("MoveTo 12 0", "LineTo 24 0", "Polygon 24 0 14 -5 14 5"));
}

TEST(EdgeLine, ShrinksToAPointForLengthsZeroTenAndTwenty) {
  EXPECT_THAT(DrawnEdge({50, 50, 0}, {50, 50, 0}),
              ElementsAre("MoveTo 50 50", "LineTo 50 50", "Polygon 50 50 50 50 50 50"));
  // At 10 the start lands on the end, which then has no direction to move in.
  EXPECT_THAT(DrawnEdge({50, 50, 0}, {60, 50, 0}),
              ElementsAre("MoveTo 60 50", "LineTo 60 50", "Polygon 60 50 60 50 60 50"));
  EXPECT_THAT(DrawnEdge({50, 50, 0}, {70, 50, 0}),
              ElementsAre("MoveTo 60 50", "LineTo 60 50", "Polygon 60 50 60 50 60 50"));
}

TEST(EdgeLine, ShorterThanTenKeepsItsLengthBeyondTheToStation) {
  EXPECT_THAT(DrawnEdge({50, 50, 0}, {54, 50, 0}),
              ElementsAre("MoveTo 60 50", "LineTo 64 50", "Polygon 64 50 54 45 54 55"));
}

TEST(EdgeLine, BetweenTenAndTwentyRunsBackWithItsArrowTowardTheFromStation) {
  EXPECT_THAT(DrawnEdge({50, 50, 0}, {65, 50, 0}),
              ElementsAre("MoveTo 60 50", "LineTo 55 50", "Polygon 55 50 65 55 65 45"));
}

TEST(EdgeLine, OfAVerticalShotIsAPointAtTheStations) {
  EXPECT_THAT(DrawnEdge({40, 30, 0}, {40, 30, 50}),
              ElementsAre("MoveTo 40 30", "LineTo 40 30", "Polygon 40 30 40 30 40 30"));
}

TEST(EdgeLine, SetsArrowFillThenPenColourAndWidthBeforeDrawing) {
  TDisplaySettings s;
  s.ArrowColor = TColor::Rgb(4, 5, 6);
  s.LineWidth = 2;
  TRecordingCanvas canvas;
  DrawEdge(canvas, {0, 0, 0}, {100, 0, 0}, TColor::Rgb(7, 8, 9), s);
  EXPECT_THAT(canvas.Log, ElementsAre("BrushColor 4,5,6", "BrushStyle solid", "PenColor 7,8,9", "PenWidth 2",
                                      "MoveTo 10 0", "LineTo 90 0", "Polygon 90 0 80 -5 80 5"));
}

TEST(EdgeLine, HasNoArrowHeadWhenArrowsAreOff) {
  TDisplaySettings s;
  s.ShowArrow = false;
  EXPECT_THAT(DrawnEdge({100, 50, 0}, {200, 50, 0}, s), ElementsAre("MoveTo 110 50", "LineTo 190 50"));
}

TEST(ArrowHead, TruncatesBaseCornersTowardZeroAndRoundsTheTipHalfToEven) {
  TRecordingCanvas canvas;
  // Corners at (0.90, 16.12) and (-8.77, 13.55); the tip at (-6.5, 24.5).
  DrawArrowHead(canvas, {0, 0}, {-6.5, 24.5}, 10, 5);
  // Corners at (101.73, 107.19) and (92.99, 102.33); the tip at (92.5, 113.5).
  DrawArrowHead(canvas, {100, 100}, {92.5, 113.5}, 10, 5);
  EXPECT_THAT(canvas.Log, ElementsAre("Polygon -6 24 0 16 -8 13", "Polygon 92 114 101 107 92 102"));
}

TEST(ArrowHead, ScalesWithLengthAndHalfWidth) {
  TRecordingCanvas canvas;
  DrawArrowHead(canvas, {0, 0}, {0, 100}, 20, 8);
  EXPECT_THAT(canvas.Log, ElementsAre("Polygon 0 100 8 80 -8 80"));
}

TEST(ArrowLine, DrawsHeadsAtTheRequestedEnds) {
  TRecordingCanvas canvas;
  DrawArrowLine(canvas, {0, 0}, {50, 0}, true, false, 10, 5);
  EXPECT_THAT(canvas.Log, ElementsAre("MoveTo 0 0", "LineTo 50 0", "Polygon 0 0 10 5 10 -5"));
  canvas.Log.clear();
  DrawArrowLine(canvas, {0, 0}, {50, 0}, true, true, 10, 5);
  EXPECT_THAT(canvas.Only("Polygon"), ElementsAre("Polygon 50 0 40 -5 40 5", "Polygon 0 0 10 5 10 -5"));
  canvas.Log.clear();
  DrawArrowLine(canvas, {0, 0}, {50, 0}, false, false, 10, 5);
  EXPECT_THAT(canvas.Only("Polygon"), IsEmpty());
}

}  // namespace
