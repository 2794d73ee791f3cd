#include "render/paint_area.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "render/drawing_index.h"
#include "render/renderer.h"
#include "tests/render/recording_canvas.h"

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

TDisplaySettings DistinctSettings() {
  TDisplaySettings s;
  s.BackColor = TColor::Rgb(10, 11, 12);
  s.LineColor = TColor::Rgb(1, 2, 3);
  s.ArrowColor = TColor::Rgb(4, 5, 6);
  s.LabelColor = TColor::Rgb(7, 8, 9);
  s.LoopColor = TColor::Rgb(0, 200, 0);
  s.LineWidth = 3;
  return s;
}

// A triangle A(100,50) B(200,50) C(150,150) with edges A-B, B-C, C-A and a
// station D that no edge touches.
void BuildTriangle(TSurveyGraph& g) {
  g.AddStation("A", {100, 50, 0});
  g.AddStation("B", {200, 50, 0});
  g.AddStation("C", {150, 150, 0});
  g.AddStation("D", {400, 400, 0});
  g.AddEdgeByIndex(0, 1);
  g.AddEdgeByIndex(1, 2);
  g.AddEdgeByIndex(2, 0);
}

void AddLoop(TLoopList& loops, std::initializer_list<TEdgeRec> edges) {
  TEdgeArray& loop = loops.AddLoop();
  for (const TEdgeRec& e : edges) loop.AddEdge(e);
}

TEST(GraphView, FillsTheClipThenDrawsEachEdgeAsFromLabelToLabelAndLine) {
  TSurveyGraph g;
  g.AddStation("A", {100, 50, 0});
  g.AddStation("B", {200, 50, 0});
  g.AddEdgeByIndex(0, 1);
  TRecordingCanvas canvas;
  canvas.Clip = {5, 6, 300, 200};
  DrawGraph(canvas, g, DistinctSettings());
  EXPECT_THAT(canvas.Log,
              ElementsAre("BrushColor 10,11,12", "BrushStyle solid", "FillRect 5 6 300 200", "PenColor 0,0,0",
                          // label A
                          "Font MS Sans Serif -11 windowtext", "PenWidth 3", "TextExtent A", "BrushColor 7,8,9",
                          "BrushStyle solid", "Rectangle 94 41 107 60", "TextRect 94 41 107 60 97 44 A",
                          "BrushStyle clear", "Rectangle 93 40 108 61",
                          // label B
                          "Font MS Sans Serif -11 windowtext", "PenWidth 3", "TextExtent B", "BrushColor 7,8,9",
                          "BrushStyle solid", "Rectangle 194 41 207 60", "TextRect 194 41 207 60 197 44 B",
                          "BrushStyle clear", "Rectangle 193 40 208 61",
                          // line and arrow
                          "BrushColor 4,5,6", "BrushStyle solid", "PenColor 1,2,3", "PenWidth 3", "MoveTo 110 50",
                          "LineTo 190 50", "Polygon 190 50 180 45 180 55"));
}

TEST(GraphView, TruncatesLabelCentresTowardZero) {
  TSurveyGraph g;
  g.AddStation("A", {10.9, -0.7, 0});
  g.AddStation("B", {110.9, 20.99, 0});
  g.AddEdgeByIndex(0, 1);
  TRecordingCanvas canvas;
  DrawGraph(canvas, g, TDisplaySettings{});
  // Centres (10, 0) and (110, 20); each text is 7 by 13.
  EXPECT_THAT(canvas.Only("TextRect"), ElementsAre("TextRect 4 -9 17 10 7 -6 A", "TextRect 104 11 117 30 107 14 B"));
}

TEST(GraphView, LabelsAStationOncePerEdgeAndNeverOneWithoutEdges) {
  TSurveyGraph g;
  BuildTriangle(g);
  TRecordingCanvas canvas;
  DrawGraph(canvas, g, TDisplaySettings{});
  EXPECT_THAT(canvas.Only("TextExtent"), ElementsAre("TextExtent A", "TextExtent B", "TextExtent B", "TextExtent C",
                                                     "TextExtent C", "TextExtent A"));
  EXPECT_THAT(canvas.Only("LineTo").size(), 3u);
}

TEST(GraphView, HoldsFarAwayStationsWithinTheIntegerRange) {
  TSurveyGraph g;
  g.AddStation("A", {1e12, -1e12, 0});
  g.AddStation("B", {-3e15, 5e9, 0});
  g.AddEdgeByIndex(0, 1);
  TRecordingCanvas canvas;
  DrawGraph(canvas, g, TDisplaySettings{});
  EXPECT_THAT(canvas.Only("TextRect"), ElementsAre("TextRect 1073741818 -1073741833 1073741831 -1073741814 "
                                                   "1073741821 -1073741830 A",
                                                   "TextRect -1073741830 1073741815 -1073741817 1073741834 "
                                                   "-1073741827 1073741818 B"));
  EXPECT_THAT(canvas.Only("MoveTo"), ElementsAre("MoveTo 1073741824 -1073741824"));
  EXPECT_THAT(canvas.Only("LineTo"), ElementsAre("LineTo -1073741824 1073741824"));
}

TEST(GraphView, WithoutEdgesDrawsOnlyTheBackground) {
  TSurveyGraph g;
  g.AddStation("A", {10, 10, 0});
  TRecordingCanvas canvas;
  DrawGraph(canvas, g, TDisplaySettings{});
  EXPECT_THAT(canvas.Log, ElementsAre("BrushColor 128,128,128", "BrushStyle solid", "FillRect 0 0 1024 768"));
}

TEST(GraphView, LabelsShowStationIndicesInIndexMode) {
  TSurveyGraph g;
  BuildTriangle(g);
  TDisplaySettings s;
  s.LabelMode = lmIndex;
  TRecordingCanvas canvas;
  DrawGraph(canvas, g, s);
  EXPECT_THAT(canvas.Only("TextExtent"), ElementsAre("TextExtent 0", "TextExtent 1", "TextExtent 1", "TextExtent 2",
                                                     "TextExtent 2", "TextExtent 0"));
}

TEST(GraphView, ArrowsOffLeavesLinesAndLabelsAsTheyWere) {
  TSurveyGraph g;
  BuildTriangle(g);
  TRecordingCanvas withArrows, withoutArrows;
  TDisplaySettings s;
  DrawGraph(withArrows, g, s);
  s.ShowArrow = false;
  DrawGraph(withoutArrows, g, s);
  EXPECT_THAT(withoutArrows.Only("Polygon"), IsEmpty());
  EXPECT_EQ(withArrows.Only("Polygon").size(), 3u);
  std::vector<std::string> expected = withArrows.Log;
  std::erase_if(expected, [](const std::string& line) { return line.starts_with("Polygon"); });
  EXPECT_EQ(withoutArrows.Log, expected);
}

TEST(GraphView, LabelsOnlyJunctionsAndEndsWhereArrowsStopAtTheLabelOrNoStationAtAll) {
  // A - B - LONGNAME9 in a row with a branch B - D: B is a junction, A, D and
  // LONGNAME9 are ends; C would be a station on a traverse.
  TSurveyGraph g;
  g.AddStation("A", {100, 50, 0});
  g.AddStation("B", {200, 50, 0});
  g.AddStation("LONGNAME9", {400, 50, 0});
  g.AddStation("D", {200, 150, 0});
  g.AddStation("C", {300, 50, 0});
  g.AddEdgeByIndex(0, 1);
  g.AddEdgeByIndex(1, 4);
  g.AddEdgeByIndex(4, 2);
  g.AddEdgeByIndex(1, 3);
  TDisplaySettings s;
  const auto draw = [&](int32_t show) {
    s.LabelShow = show;
    TRecordingCanvas canvas;
    DrawGraph(canvas, g, s);
    return canvas;
  };
  const TRecordingCanvas all = draw(lsAll);
  const TRecordingCanvas junctions = draw(lsJunctions);
  const TRecordingCanvas none = draw(lsNone);
  EXPECT_EQ(all.Only("TextRect").size(), 8u);
  std::vector<std::string> labelled;
  for (const std::string& line : junctions.Only("TextRect")) labelled.push_back(line.substr(line.rfind(' ') + 1));
  EXPECT_THAT(labelled, ElementsAre("A", "B", "B", "LONGNAME9", "B", "D"));
  EXPECT_THAT(none.Only("TextRect"), IsEmpty());
  // Every line ends 10 short of its station, but at the junctions' setting
  // the one into LONGNAME9 (63 wide: 31.5 + 3 margin + 1 frame + 0.5 pen)
  // ends at its box, and the one down into D at its box's top (13 high:
  // 6.5 + 4.5 = 11); a one-letter box is only 8 wide each side of its centre.
  EXPECT_THAT(all.Only("LineTo"), ElementsAre("LineTo 190 50", "LineTo 290 50", "LineTo 390 50", "LineTo 200 140"));
  EXPECT_THAT(none.Only("LineTo"), ElementsAreArray(all.Only("LineTo")));
  EXPECT_THAT(junctions.Only("LineTo"),
              ElementsAre("LineTo 190 50", "LineTo 290 50", "LineTo 364 50", "LineTo 200 139"));
}

TEST(LoopView, DrawsEachLoopEdgeInItsStoredDirection) {
  TSurveyGraph g;
  BuildTriangle(g);
  TEdgeArray loop;
  loop.AddEdge({1, 0, 0});  // B to A, against the graph's A-B
  TRecordingCanvas canvas;
  DrawLoop(canvas, g, loop, false, TColor::Rgb(0, 0, 255), TDisplaySettings{});
  EXPECT_THAT(canvas.Only("TextExtent"), ElementsAre("TextExtent B", "TextExtent A"));
  EXPECT_THAT(canvas.Only("MoveTo"), ElementsAre("MoveTo 190 50"));
  EXPECT_THAT(canvas.Only("LineTo"), ElementsAre("LineTo 110 50"));
  EXPECT_THAT(canvas.Only("PenColor"), ElementsAre("PenColor 0,0,0", "PenColor 0,0,255"));
  EXPECT_THAT(canvas.Only("FillRect"), IsEmpty());
  EXPECT_EQ(canvas.Log.front(), "BrushStyle solid");
}

TEST(LoopView, SkipsEdgesWhoseStationsAreNotInTheGraph) {
  TSurveyGraph g;
  BuildTriangle(g);
  TEdgeArray loop;
  loop.AddEdge({0, 7, 0});
  loop.AddEdge({-1, 1, 0});
  loop.AddEdge({1, 2, 0});
  TRecordingCanvas canvas;
  DrawLoop(canvas, g, loop, true, clBlack, TDisplaySettings{});
  EXPECT_THAT(std::vector(canvas.Log.begin(), canvas.Log.begin() + 3),
              ElementsAre("BrushStyle solid", "BrushColor 128,128,128", "FillRect 0 0 1024 768"));
  EXPECT_THAT(canvas.Only("FillRect"), ElementsAre("FillRect 0 0 1024 768"));
  EXPECT_THAT(canvas.Only("TextExtent"), ElementsAre("TextExtent B", "TextExtent C"));
}

class DrawingArea : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildTriangle(work);
    shown.AddStation("P", {10, 10, 0});
    shown.AddStation("Q", {90, 10, 0});
    shown.AddEdgeByIndex(0, 1);
    state = {false, &shown, &work, &loops, 0};
  }
  std::vector<std::string> Paint(const TDisplaySettings& s = DistinctSettings()) {
    TRecordingCanvas canvas;
    PaintDrawingArea(canvas, state, s);
    return canvas.Log;
  }
  static std::vector<std::string> Only(const std::vector<std::string>& log, const std::string& op) {
    std::vector<std::string> result;
    for (const std::string& line : log)
      if (line.starts_with(op + " ")) result.push_back(line);
    return result;
  }

  TSurveyGraph work, shown;
  TLoopList loops;
  TDrawingState state;
};

TEST_F(DrawingArea, ShowsTheShownGraphWhileLoopsAreOff) {
  AddLoop(loops, {{0, 1, 0}});
  const std::vector<std::string> log = Paint();
  EXPECT_THAT(Only(log, "FillRect"), ElementsAre("FillRect 0 0 1024 768"));
  EXPECT_EQ(log.front(), "BrushColor 10,11,12");
  EXPECT_THAT(Only(log, "TextExtent"), ElementsAre("TextExtent P", "TextExtent Q"));
}

TEST_F(DrawingArea, DrawsEveryLoopInBlackOnGreyThenTheChosenOneInLoopColour) {
  AddLoop(loops, {{0, 1, 0}, {1, 2, 0}, {2, 0, 0}});
  AddLoop(loops, {{1, 2, 0}});
  state.ShowLoops = true;
  state.ChosenLoop = 1;
  const std::vector<std::string> log = Paint();
  // Grey, not BackColor, and only once.
  EXPECT_THAT(Only(log, "FillRect"), ElementsAre("FillRect 0 0 1024 768"));
  EXPECT_THAT(log, Contains("BrushColor 128,128,128"));
  EXPECT_THAT(log, Not(Contains("BrushColor 10,11,12")));
  EXPECT_THAT(Only(log, "PenColor"), ElementsAre("PenColor 0,0,0", "PenColor 0,0,0", "PenColor 0,0,0", "PenColor 0,0,0",
                                                 "PenColor 0,0,0", "PenColor 0,0,0", "PenColor 0,0,0", "PenColor 0,0,0",
                                                 // the chosen loop on top, labels again
                                                 "PenColor 0,0,0", "PenColor 0,200,0"));
  EXPECT_THAT(Only(log, "TextExtent"),
              ElementsAre("TextExtent A", "TextExtent B", "TextExtent B", "TextExtent C", "TextExtent C",
                          "TextExtent A", "TextExtent B", "TextExtent C", "TextExtent B", "TextExtent C"));
}

TEST_F(DrawingArea, ColoursLoopsThenDrawsMarkedLoopsTheChosenOneAndTheMarkedEdgeWiderInEveryPath) {
  AddLoop(loops, {{0, 1, 0}, {1, 2, 0}, {2, 0, 0}});
  AddLoop(loops, {{1, 2, 0}});
  const std::vector<TColor> colors = {TColor::Rgb(0, 0, 255)};  // shorter than the list: loop 1 black
  const std::vector<int32_t> marked = {1, 7, -1};               // 7 and -1 are no loops
  state.ShowLoops = true;
  state.ChosenLoop = 0;
  state.LoopColors = colors;
  state.MarkedLoops = marked;
  state.MarkedEdge = 2;  // C-A
  const auto pens = [](const std::vector<std::string>& log) {
    std::vector<std::string> result;
    for (const std::string& line : log)
      if ((line.starts_with("PenColor ") && line != "PenColor 0,0,0") || line.starts_with("LineTo "))
        result.push_back(line);
    return result;
  };
  const std::vector<std::string> whole = Paint();
  const std::vector<std::string> expected = {
      "PenColor 0,0,255",   "LineTo 190 50",  "PenColor 0,0,255", "LineTo 154 141", "PenColor 0,0,255", "LineTo 104 59",
      "LineTo 154 141",                        // loop 1 in black
      "PenColor 0,200,0",   "LineTo 154 141",  // marked
      "PenColor 0,200,0",   "LineTo 190 50",  "PenColor 0,200,0", "LineTo 154 141", "PenColor 0,200,0", "LineTo 104 59",
      "PenColor 255,255,0", "LineTo 104 59"};
  EXPECT_THAT(pens(whole), ElementsAreArray(expected));
  EXPECT_EQ(Only(whole, "PenWidth").back(), "PenWidth 5");
  TRecordingCanvas picture;
  PaintPicture(picture, state, DistinctSettings());
  EXPECT_THAT(pens(picture.Log), ElementsAreArray(expected));
  TRecordingCanvas part;
  TDrawingIndex index;
  PaintDrawingArea(part, state, DistinctSettings(), index, part.Clip);
  EXPECT_THAT(pens(part.Log), ElementsAreArray(expected));
  // A marked edge that is not in the work graph is not drawn.
  state.MarkedEdge = 3;
  EXPECT_THAT(pens(Paint()), Not(Contains("PenColor 255,255,0")));
}

TEST_F(DrawingArea, DrawsNothingAtAllForAnEmptyLoopList) {
  state.ShowLoops = true;
  EXPECT_THAT(Paint(), IsEmpty());
}

TEST_F(DrawingArea, SkipsAChosenLoopOutsideTheList) {
  AddLoop(loops, {{0, 1, 0}});
  state.ShowLoops = true;
  for (int64_t chosen : {int64_t{1}, int64_t{-1}, int64_t{1} << 40}) {
    state.ChosenLoop = chosen;
    const std::vector<std::string> log = Paint();
    EXPECT_THAT(log, Not(Contains("PenColor 0,200,0"))) << chosen;
    EXPECT_EQ(Only(log, "LineTo").size(), 1u) << chosen;
  }
}

TEST_F(DrawingArea, DrawsNothingWithoutAGraph) {
  state.ShownGraph = nullptr;
  EXPECT_THAT(Paint(), IsEmpty());
  AddLoop(loops, {{0, 1, 0}});
  state.ShowLoops = true;
  state.WorkGraph = nullptr;
  EXPECT_THAT(Paint(), IsEmpty());
}

TEST_F(DrawingArea, InPartDrawsOnlyTheEdgesReachingThePartInTheirOrder) {
  state.ShownGraph = &work;
  TDrawingIndex index;
  const auto paintPart = [&](const TRect& part) {
    TRecordingCanvas canvas;
    canvas.Clip = part;
    PaintDrawingArea(canvas, state, DistinctSettings(), index, part);
    return canvas.Log;
  };
  // Near A: the shots A-B (edge 0) and C-A (edge 2), not B-C.
  std::vector<std::string> log = paintPart({60, 30, 90, 70});
  EXPECT_THAT(Only(log, "FillRect"), ElementsAre("FillRect 60 30 90 70"));
  EXPECT_THAT(Only(log, "LineTo"), ElementsAre("LineTo 190 50", "LineTo 104 59"));
  // Around D, which no shot touches: the background only.
  log = paintPart({380, 380, 420, 420});
  EXPECT_THAT(Only(log, "FillRect"), ElementsAre("FillRect 380 380 420 420"));
  EXPECT_THAT(Only(log, "LineTo"), IsEmpty());
}

TEST_F(DrawingArea, InPartFillsTheLoopViewGreyEvenWhenTheFirstLoopIsOutOfSight) {
  const int32_t e = work.AddStation("E", {2000, 2000, 0});
  const int32_t f = work.AddStation("F", {2100, 2000, 0});
  AddLoop(loops, {{e, f, 0}, {f, e, 0}});
  AddLoop(loops, {{0, 1, 0}, {1, 2, 0}, {2, 0, 0}});
  state.ShowLoops = true;
  state.ChosenLoop = 0;
  TDrawingIndex index;
  TRecordingCanvas canvas;
  canvas.Clip = {0, 0, 300, 200};
  PaintDrawingArea(canvas, state, DistinctSettings(), index, canvas.Clip);
  const std::vector<std::string>& log = canvas.Log;
  const auto fill = std::find(log.begin(), log.end(), "FillRect 0 0 300 200");
  ASSERT_NE(fill, log.end());
  EXPECT_EQ(*(fill - 1), "BrushColor 128,128,128");
  // The triangle in black; the chosen loop lies out of sight.
  EXPECT_EQ(Only(log, "LineTo").size(), 3u);
  EXPECT_THAT(Only(log, "PenColor"), Not(Contains("PenColor 0,200,0")));
}

TEST_F(DrawingArea, PictureDrawsEachStationsLabelOnceWhereItIsDrawnLast) {
  const auto picture = [this] {
    TRecordingCanvas canvas;
    PaintPicture(canvas, state, DistinctSettings());
    return canvas.Log;
  };
  // Graph view A-B, B-C, C-A: B last at B-C, C and A last at C-A.
  state.ShownGraph = &work;
  std::vector<std::string> log = picture();
  EXPECT_EQ(log.front(), "BrushColor 10,11,12");
  EXPECT_THAT(Only(log, "TextExtent"), ElementsAre("TextExtent B", "TextExtent C", "TextExtent A"));
  EXPECT_EQ(Only(log, "LineTo").size(), 3u);
  // Loop view: the chosen loop B-C is drawn last, so its labels are.
  AddLoop(loops, {{0, 1, 0}, {1, 2, 0}, {2, 0, 0}});
  AddLoop(loops, {{1, 2, 0}, {2, 5, 0}});  // 2-5 has no station 5 and draws nothing
  state.ShowLoops = true;
  state.ChosenLoop = 1;
  log = picture();
  EXPECT_THAT(Only(log, "FillRect"), ElementsAre("FillRect 0 0 1024 768"));
  EXPECT_THAT(Only(log, "TextExtent"), ElementsAre("TextExtent A", "TextExtent B", "TextExtent C"));
  EXPECT_EQ(Only(log, "LineTo").size(), 5u);
  EXPECT_EQ(Only(log, "PenColor").back(), "PenColor 0,200,0");
  loops.Clear();
  EXPECT_THAT(picture(), IsEmpty());
}

}  // namespace
