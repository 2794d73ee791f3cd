// Saved metafiles read back by independent readers (emf2svg-conv, wmf2svg),
// the choice of format by name, and what a failed save leaves behind.

#include "metafile/metafile_export.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/errors.h"
#include "support/file_errors.h"
#include "core/survey_graph.h"
#include "render/display_settings.h"
#include "metafile/metafile_canvas.h"
#include "render/renderer.h"
#include "tests/metafile/metafile_test_support.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

TMetafileCanvas SmallNetwork() {
  TMetafileCanvas canvas(200, 150, TestMeasure);
  DrawSmallNetwork(canvas);
  return canvas;
}

void WriteText(const std::filesystem::path& path, const std::string& text) { std::ofstream(path) << text; }

}  // namespace

TEST(MetafileReaders, EnhancedNetworkReadsBackAsLabelsLinesAndArrows) {
  TScratchFolder scratch;
  const auto file = scratch.Path() / "network.emf";
  SaveMetafile(file.string(), SmallNetwork());
  const std::string svg = EmfToSvg(file, scratch);
  // emf2svg-conv writes rectangles as <rect>, lines as open paths and
  // polygons as closed ones.
  EXPECT_EQ(CountOf(svg, "<rect"), 13u);
  EXPECT_EQ(CountOf(svg, "<path"), 6u);
  EXPECT_EQ(CountOf(svg, " Z\""), 3u);
  EXPECT_THAT(SvgTexts(svg), ElementsAre("A", "B", "B", "C", "C", "A"));
  EXPECT_EQ(CountOf(svg, "fill=\"#808080\""), 1u);
  EXPECT_EQ(CountOf(svg, "font-family=\"MS Sans Serif\""), 6u);
}

TEST(MetafileReaders, PlaceableNetworkReadsBackAsLabelsLinesAndArrows) {
  TScratchFolder scratch;
  const auto file = scratch.Path() / "network.wmf";
  SaveMetafile(file.string(), SmallNetwork());
  const std::string svg = WmfToSvg(file, scratch);
  EXPECT_THAT(svg, HasSubstr("width=\"200\" height=\"150\""));
  EXPECT_EQ(CountOf(svg, "<rect"), 13u);
  EXPECT_EQ(CountOf(svg, "<line"), 3u);
  EXPECT_EQ(CountOf(svg, "<polygon"), 3u);
  // wmf2svg places each character by its advance, one text element apiece.
  EXPECT_THAT(SvgTexts(svg), ElementsAre("A", "B", "B", "C", "C", "A"));
  EXPECT_EQ(CountOf(svg, "fill:gray"), 1u);
}

TEST(MetafileReaders, TextsKeepTheirCharactersAndStylesInBothFormats) {
  TScratchFolder scratch;
  TMetafileCanvas canvas(200, 100, TestMeasure);
  TFontSpec font;
  font.Face = "Arial";
  font.Bold = true;
  font.Italic = true;
  font.Color = clRed;
  canvas.SetFont(font);
  canvas.SetBrushColor(clWhite);
  canvas.TextRect(TRect{10, 10, 80, 30}, 13, 13, "Wé");
  const auto emf = scratch.Path() / "styled.emf";
  const auto wmf = scratch.Path() / "styled.wmf";
  SaveMetafile(emf.string(), canvas);
  SaveMetafile(wmf.string(), canvas);

  const std::string emfSvg = EmfToSvg(emf, scratch);
  EXPECT_THAT(SvgTexts(emfSvg), ElementsAre("Wé"));
  EXPECT_THAT(emfSvg, HasSubstr("font-weight=\"700\""));
  EXPECT_THAT(emfSvg, HasSubstr("font-style=\"italic\""));
  EXPECT_THAT(emfSvg, HasSubstr("fill=\"#FF0000\""));

  const std::string wmfSvg = WmfToSvg(wmf, scratch);
  EXPECT_THAT(SvgTexts(wmfSvg), ElementsAre("W\xE9"));  // wmf2svg writes the code page's byte as it is
  EXPECT_THAT(wmfSvg, HasSubstr("font-weight:bold"));
  EXPECT_THAT(wmfSvg, HasSubstr("fill:red"));
}

TEST(MetafileReaders, EmptyDrawingReadsBackAsTheBackgroundFillAlone) {
  TScratchFolder scratch;
  const auto emf = scratch.Path() / "empty.emf";
  const auto wmf = scratch.Path() / "empty.wmf";
  SaveMetafile(emf.string(), BackgroundOnly(300, 200));
  SaveMetafile(wmf.string(), BackgroundOnly(300, 200));

  const std::string emfSvg = EmfToSvg(emf, scratch);
  EXPECT_EQ(CountOf(emfSvg, "<rect"), 1u);
  EXPECT_EQ(CountOf(emfSvg, "<path") + CountOf(emfSvg, "<text"), 0u);
  EXPECT_THAT(emfSvg, HasSubstr("fill=\"#808080\""));

  const std::string wmfSvg = WmfToSvg(wmf, scratch);
  EXPECT_EQ(CountOf(wmfSvg, "<rect"), 1u);
  EXPECT_EQ(CountOf(wmfSvg, "<line") + CountOf(wmfSvg, "<polygon") + CountOf(wmfSvg, "<text"), 0u);
  EXPECT_THAT(wmfSvg, HasSubstr("fill:gray"));
}

TEST(SaveMetafile, ChoosesThePlaceableFormatForWmfNamesInAnyCase) {
  EXPECT_TRUE(IsPlaceableMetafileName("net.wmf"));
  EXPECT_TRUE(IsPlaceableMetafileName("dir.x/NET.WMF"));
  EXPECT_TRUE(IsPlaceableMetafileName("net.Wmf"));
  EXPECT_FALSE(IsPlaceableMetafileName("net.emf"));
  EXPECT_FALSE(IsPlaceableMetafileName("net.wmf.emf"));
  EXPECT_FALSE(IsPlaceableMetafileName("wmf"));
  EXPECT_FALSE(IsPlaceableMetafileName("dir.wmf/net"));

  TScratchFolder scratch;
  for (const char* name : {"upper.WMF", "plain", "enhanced.emf"}) {
    SaveMetafile((scratch.Path() / name).string(), BackgroundOnly(300, 200));
  }
  EXPECT_EQ(ReadU32(ReadFileBytes(scratch.Path() / "upper.WMF"), 0), 0x9AC6CDD7u);
  EXPECT_EQ(ReadU32(ReadFileBytes(scratch.Path() / "plain"), 40), 0x464D4520u);
  EXPECT_EQ(ReadU32(ReadFileBytes(scratch.Path() / "enhanced.emf"), 40), 0x464D4520u);
  EXPECT_THAT(scratch.FileNames(), ElementsAre("enhanced.emf", "plain", "upper.WMF"));
}

TEST(SaveMetafile, ReplacesAnOldFileAndLeavesNoTemporaryFile) {
  TScratchFolder scratch;
  const auto file = scratch.Path() / "net.emf";
  WriteText(file, "old picture");
  SaveMetafile(file.string(), BackgroundOnly(300, 200));
  std::ostringstream expected;
  WriteEnhancedMetafile(expected, BackgroundOnly(300, 200));
  EXPECT_EQ(ReadFileBytes(file), expected.str());
  EXPECT_THAT(scratch.FileNames(), ElementsAre("net.emf"));
}

TEST(SaveMetafile, IntoAMissingFolderRaisesItsMessageAndWritesNothing) {
  TScratchFolder scratch;
  const std::string file = (scratch.Path() / "missing" / "net.emf").string();
  try {
    SaveMetafile(file, BackgroundOnly(300, 200));
    FAIL() << "saving into a missing folder succeeded";
  } catch (const EFileError& error) {
    // Every writer words its failures alike: the reason, and the file apart.
    EXPECT_EQ(std::string(error.what()), "File not found");
    EXPECT_EQ(error.FileName(), file);
  }
  EXPECT_THAT(scratch.FileNames(), ElementsAre());
}

TEST(SaveMetafile, PictureThatDoesNotFitKeepsTheOldFileWhole) {
  TScratchFolder scratch;
  const auto file = scratch.Path() / "net.wmf";
  WriteText(file, "old picture");
  TMetafileCanvas canvas(100, 100, TestMeasure);
  canvas.MoveTo(TPoint{0, 0});
  canvas.LineTo(TPoint{0, -50000});
  try {
    SaveMetafile(file.string(), canvas);
    FAIL() << "a coordinate of -50000 was saved";
  } catch (const EFileError& error) {
    EXPECT_EQ(error.FileName(), file.string());
    EXPECT_THAT(error.what(), HasSubstr("-50000"));
  }
  EXPECT_EQ(ReadFileBytes(file), "old picture");
  EXPECT_THAT(scratch.FileNames(), ElementsAre("net.wmf"));
}

TEST(SaveMetafile, OverAFolderFailsAndRemovesItsTemporaryFile) {
  TScratchFolder scratch;
  const auto folder = scratch.Path() / "net.emf";
  std::filesystem::create_directory(folder);
  EXPECT_THROW(SaveMetafile(folder.string(), BackgroundOnly(300, 200)), ECyclornError);
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_THAT(scratch.FileNames(), ElementsAre("net.emf"));
}

TEST(MetafileReaders, GraphViewOfATriangleReadsBackWithItsLabelsLinesAndArrows) {
  TSurveyGraph graph;
  graph.AddStation("A1", MakeVec3(50, 50, 0));
  graph.AddStation("B1", MakeVec3(250, 50, 0));
  graph.AddStation("C1", MakeVec3(150, 200, 0));
  graph.AddEdgeByIndex(0, 1);
  graph.AddEdgeByIndex(1, 2);
  graph.AddEdgeByIndex(2, 0);
  TMetafileCanvas canvas(300, 250, TestMeasure);
  DrawGraph(canvas, graph, TDisplaySettings{});

  TScratchFolder scratch;
  const auto emf = scratch.Path() / "triangle.emf";
  const auto wmf = scratch.Path() / "triangle.wmf";
  SaveMetafile(emf.string(), canvas);
  SaveMetafile(wmf.string(), canvas);

  const std::string emfSvg = EmfToSvg(emf, scratch);
  EXPECT_THAT(SvgTexts(emfSvg), ElementsAre("A1", "B1", "B1", "C1", "C1", "A1"));
  EXPECT_EQ(CountOf(emfSvg, "<path") - CountOf(emfSvg, " Z\""), 3u);
  EXPECT_EQ(CountOf(emfSvg, " Z\""), 3u);

  // Each label whole in one text element: no advances spread its letters.
  const std::string wmfSvg = WmfToSvg(wmf, scratch);
  EXPECT_THAT(SvgTexts(wmfSvg), ElementsAre("A1", "B1", "B1", "C1", "C1", "A1"));
  EXPECT_EQ(CountOf(wmfSvg, "<line"), 3u);
  EXPECT_EQ(CountOf(wmfSvg, "<polygon"), 3u);
}

TEST(MetafileReaders, GraphViewOfAGraphWithoutEdgesHoldsOnlyTheBackground) {
  TSurveyGraph graph;
  graph.AddStation("A", MakeVec3(50, 50, 0));
  TMetafileCanvas canvas(120, 80, TestMeasure);
  DrawGraph(canvas, graph, TDisplaySettings{});
  std::ostringstream emf, wmf;
  WriteEnhancedMetafile(emf, canvas);
  WritePlaceableMetafile(wmf, canvas);
  std::ostringstream expectedEmf, expectedWmf;
  TMetafileCanvas background(120, 80, TestMeasure);
  background.SetBrushColor(clGray);
  background.FillRect(background.ClipRect());
  WriteEnhancedMetafile(expectedEmf, background);
  WritePlaceableMetafile(expectedWmf, background);
  EXPECT_EQ(emf.str(), expectedEmf.str());
  EXPECT_EQ(wmf.str(), expectedWmf.str());
}
