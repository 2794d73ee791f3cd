#include "render/spatial_index.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <random>
#include <string>

#include "render/drawing_index.h"
#include "render/paint_area.h"
#include "render_qt/qt_canvas.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const QColor kUnpainted(1, 2, 3);

// A jittered grid of side x side stations `spacing` apart, each joined to its
// right and lower neighbour, some long shots across the network, and names
// of every length, including some beyond ASCII.
void BuildRandomNetwork(TSurveyGraph& graph, int side, int spacing, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> jitter(-spacing / 3, spacing / 3);
  const std::string names[] = {"A", "WIDEWIDEWIDE", "Ωmega", "ß7", "MMMMMMMMMMMM", "i"};
  for (int row = 0; row < side; ++row)
    for (int column = 0; column < side; ++column) {
      const int k = row * side + column;
      const std::string name = names[k % 6] + (k % 6 == 1 || k % 6 == 4 ? "" : std::to_string(k));
      graph.AddStation(name.substr(0, 12),
                       {double(spacing / 2 + spacing * column + jitter(random)),
                        double(spacing / 2 + spacing * row + jitter(random)), double(jitter(random))});
    }
  for (int row = 0; row < side; ++row)
    for (int column = 0; column < side; ++column) {
      const int k = row * side + column;
      if (column + 1 < side) graph.AddEdgeByIndex(k, k + 1);
      if (row + 1 < side) graph.AddEdgeByIndex(k + side, k);
    }
  std::uniform_int_distribution<int> anyStation(0, side * side - 1);
  for (int i = 0; i < 6; ++i) graph.AddEdgeByIndex(anyStation(random), anyStation(random));
  // Shots shorter than 20 draw their lines beyond their stations.
  graph.AddStation("SHORT", {300.5, 311.7, 0});
  graph.AddEdgeByIndex(side * side, side + 4);
  graph.AddEdgeByIndex(side * side, side * side);
}

// Squares of the grid, each in its own direction, and a few long loops.
void BuildLoops(TLoopList& loops, int side) {
  for (int row = 0; row + 1 < side; row += 2)
    for (int column = 0; column + 1 < side; column += 3) {
      const int k = row * side + column;
      TEdgeArray& loop = loops.AddLoop();
      loop.AddEdge({k, k + 1, 0});
      loop.AddEdge({k + 1, k + 1 + side, 0});
      loop.AddEdge({k + side + 1, k + side, 0});
      loop.AddEdge({k + side, k, 0});
    }
  TEdgeArray& around = loops.AddLoop();
  for (int column = 0; column + 1 < side; ++column) around.AddEdge({column, column + 1, 0});
  for (int row = 0; row + 1 < side; ++row) around.AddEdge({row * side + side - 1, (row + 1) * side + side - 1, 0});
  around.AddEdge({side * side - 1, 0, 0});
  loops.AddLoop();                      // emptied by a merge: draws nothing
  TEdgeArray& stale = loops.AddLoop();  // from an earlier, larger network
  stale.AddEdge({0, side * side + 50, 0});
  stale.AddEdge({1, 2, 0});
}

QImage PaintWhole(const TDrawingState& state, const TDisplaySettings& settings, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(kUnpainted);
  QPainter painter(&image);
  TQtCanvas canvas(painter);
  PaintDrawingArea(canvas, state, settings);
  return image;
}

// Repaints the image tile by tile through the index, as scrolling does.
QImage PaintInTiles(const TDrawingState& state, const TDisplaySettings& settings, QSize size, TDrawingIndex& index,
                    QSize tile) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(kUnpainted);
  for (int top = 0; top < size.height(); top += tile.height())
    for (int left = 0; left < size.width(); left += tile.width()) {
      const QRect part = QRect(QPoint(left, top), tile) & image.rect();
      QPainter painter(&image);
      painter.setClipRect(part);
      TQtCanvas canvas(painter, part);
      PaintDrawingArea(canvas, state, settings, index, canvas.ClipRect());
    }
  return image;
}

// The first pixel where two pictures differ, for the failure message.
std::string FirstDifference(const QImage& a, const QImage& b) {
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) return "first difference at " + std::to_string(x) + "," + std::to_string(y);
  return "same";
}

TEST(PartialRepaint, GivesEveryPixelOfTheWholePictureInBothViewsWithAnySettings) {
  constexpr int kSide = 22;
  TSurveyGraph graph;
  BuildRandomNetwork(graph, kSide, 60, 7);
  TLoopList loops;
  BuildLoops(loops, kSide);
  const QSize size(60 * kSide + 40, 60 * kSide + 40);

  TDisplaySettings wide;
  wide.LineWidth = 5;
  wide.LabelFont.Height = -17;
  wide.LabelFont.Bold = true;
  TDisplaySettings indexLabels;
  indexLabels.LabelMode = lmIndex;
  indexLabels.ShowArrow = false;
  for (const TDisplaySettings& settings : {TDisplaySettings{}, wide, indexLabels}) {
    for (const bool showLoops : {false, true}) {
      SCOPED_TRACE(testing::Message() << "line width " << settings.LineWidth << ", loops " << showLoops);
      const TDrawingState state{showLoops, &graph, &graph, &loops, 3};
      const QImage whole = PaintWhole(state, settings, size);
      TDrawingIndex index;
      // Tiles of odd sizes cut through labels, lines and arrow heads.
      const QImage tiled = PaintInTiles(state, settings, size, index, QSize(97, 61));
      EXPECT_TRUE(whole == tiled) << FirstDifference(whole, tiled);
      EXPECT_EQ(index.Builds(), showLoops ? 2 : 1);
    }
  }
}

TEST(PartialRepaint, DrawsStationsFarOutsideTheAreaAsTheWholePictureDoes) {
  TSurveyGraph graph;
  graph.AddStation("NEAR", {100, 100, 0});
  graph.AddStation("FAR", {1e300, 5e299, 0});
  graph.AddStation("DEEP", {150, 160, -1e308});
  graph.AddStation("BELOW", {-3e9, 200, 0});
  graph.AddEdgeByIndex(0, 1);
  graph.AddEdgeByIndex(2, 0);
  graph.AddEdgeByIndex(3, 0);
  // Still drawn where they lie, and a whole area's width apart.
  graph.AddStation("WEST", {-9e8, 250, 0});
  graph.AddStation("EAST", {9e8, 10, 0});
  graph.AddEdgeByIndex(4, 5);
  const TDrawingState state{false, &graph, &graph, nullptr, 0};
  const QSize size(400, 300);
  TDrawingIndex index;
  const QImage whole = PaintWhole(state, TDisplaySettings{}, size);
  const QImage tiled = PaintInTiles(state, TDisplaySettings{}, size, index, QSize(50, 40));
  EXPECT_TRUE(whole == tiled) << FirstDifference(whole, tiled);
}

class EdgeSpatialIndex : public testing::Test {
 protected:
  EdgeSpatialIndex() : image(10, 10, QImage::Format_RGB32), painter(&image), canvas(painter) {}

  TEdgeSpatialIndex Build(const TSurveyGraph& graph, const TDisplaySettings& settings = {}) {
    return TEdgeSpatialIndex(graph, StationReach(graph, settings, canvas));
  }

  QImage image;
  QPainter painter;
  TQtCanvas canvas;
};

TEST_F(EdgeSpatialIndex, FindsTheEdgesAtAStationInIndexOrderOnce) {
  TSurveyGraph graph;
  for (int i = 0; i < 6; ++i) graph.AddStation("S" + std::to_string(i), {100.0 + 100 * i, 100, 0});
  for (int i = 5; i > 0; --i) graph.AddEdgeByIndex(i - 1, i);  // edge 4 is 0-1, edge 0 is 4-5
  graph.AddEdgeByIndex(2, 3);
  const TEdgeSpatialIndex index = Build(graph);
  EXPECT_THAT(index.EdgesMeeting({95, 95, 105, 105}), ElementsAre(4));
  EXPECT_THAT(index.EdgesMeeting({295, 95, 305, 105}), ElementsAre(2, 3, 5));
  EXPECT_THAT(index.EdgesMeeting({395, 95, 405, 105}), ElementsAre(1, 2, 5));
  EXPECT_THAT(index.EdgesMeeting({390, 0, 410, 20}), IsEmpty());
  EXPECT_THAT(index.EdgesMeeting({0, 0, 2000, 2000}), ElementsAre(0, 1, 2, 3, 4, 5));
  EXPECT_THAT(index.EdgesMeeting({0, 300, 2000, 400}), IsEmpty());
  EXPECT_THAT(index.EdgesMeeting({300, 100, 300, 200}), IsEmpty());  // an empty rectangle
}

TEST_F(EdgeSpatialIndex, FindsALongEdgeWhereItCrossesWithoutAnEndInView) {
  TSurveyGraph graph;
  graph.AddStation("WEST", {20, 20, 0});
  graph.AddStation("EAST", {60000, 40000, 0});
  graph.AddStation("A", {500, 500, 0});
  graph.AddStation("B", {560, 500, 0});
  graph.AddEdgeByIndex(2, 3);
  graph.AddEdgeByIndex(0, 1);
  const TEdgeSpatialIndex index = Build(graph);
  EXPECT_THAT(index.EdgesMeeting({30000, 20000, 31024, 20768}), ElementsAre(1));
  EXPECT_THAT(index.EdgesMeeting({59990, 39990, 59995, 39995}), ElementsAre(1));
  EXPECT_THAT(index.EdgesMeeting({400, 400, 600, 600}), ElementsAre(0, 1));
  EXPECT_THAT(index.EdgesMeeting({-100, 50000, 0, 50100}), IsEmpty());
}

TEST_F(EdgeSpatialIndex, ALabelReachesAsFarAsItsBoxAndItsFrame) {
  TSurveyGraph graph;
  graph.AddStation("MMMMMMMMMMMM", {1000, 1000, 0});
  graph.AddStation("N", {1000, 1100, 0});
  graph.AddEdgeByIndex(0, 1);
  TDisplaySettings settings;
  settings.LineWidth = 4;
  canvas.SetFont(settings.LabelFont);
  const TSize text = canvas.TextExtent("MMMMMMMMMMMM");
  const TEdgeSpatialIndex index = Build(graph, settings);
  // The frame's outer pixel column lies 4 beyond the text box, and the pen
  // of width 4 paints two more outside it.
  const int32_t frameRight = 1000 - text.Width / 2 + text.Width + 4 + 2;
  EXPECT_THAT(index.EdgesMeeting({frameRight - 1, 990, frameRight + 200, 1010}), ElementsAre(0));
  const TRect reach = index.StationReachBoxes()[0];
  EXPECT_GE(reach.Right, frameRight);
  EXPECT_LE(reach.Right, frameRight + 40);  // bounded, not the whole area
  EXPECT_LE(index.StationReachBoxes()[1].Right - index.StationReachBoxes()[1].Left, 80);
}

TEST_F(EdgeSpatialIndex, SkipsEdgesAtStationsWithoutNamesAndLoopsThatDrawNothing) {
  TSurveyGraph graph;
  graph.AddStation("A", {100, 100, 0});
  graph.AddStation("B", {200, 100, 0});
  graph.AddEdgeByIndex(0, 1);
  graph.Positions.Add({150, 150, 0});  // a position without a name is never drawn
  graph.Edges.AddEdge({1, 2, 0});
  const TEdgeSpatialIndex index = Build(graph);
  EXPECT_THAT(index.EdgesMeeting({0, 0, 1000, 1000}), ElementsAre(0));
  EXPECT_EQ(index.EdgeReach(1), kNoRect);

  TLoopList loops;
  loops.AddLoop();
  loops.AddLoop().AddEdge({0, 7, 0});
  TEdgeArray& real = loops.AddLoop();
  real.AddEdge({1, 0, 0});
  real.AddEdge({2, 1, 0});
  const std::vector<TRect> reach = LoopReach(loops, index.StationReachBoxes());
  ASSERT_EQ(reach.size(), 3u);
  EXPECT_EQ(reach[0], kNoRect);
  EXPECT_EQ(reach[1], kNoRect);
  EXPECT_EQ(reach[2], index.EdgeReach(0));
}

TEST_F(EdgeSpatialIndex, FindsAScreenfulOfAFullGridOfNinetyThousandStationsInLittleMemory) {
  TSurveyGraph graph;
  constexpr int kSide = 300;
  for (int k = 0; k < kSide * kSide; ++k)
    graph.AddStation("S" + std::to_string(k), {35.0 + 70 * (k % kSide), 35.0 + 70 * (k / kSide), 0});
  for (int k = 0; k < kSide * kSide; ++k) {
    if (k % kSide + 1 < kSide) graph.AddEdgeByIndex(k, k + 1);
    if (k + kSide < kSide * kSide) graph.AddEdgeByIndex(k, k + kSide);
  }
  const TEdgeSpatialIndex index = Build(graph);
  // A screenful in the middle holds about 15 x 11 stations and their shots.
  const std::vector<int32_t> found = index.EdgesMeeting({10000, 10000, 11024, 10768});
  EXPECT_GT(found.size(), 2u * 14 * 10);
  EXPECT_LT(found.size(), 2u * 18 * 14);
  EXPECT_TRUE(std::is_sorted(found.begin(), found.end()));
  EXPECT_EQ(std::adjacent_find(found.begin(), found.end()), found.end());
  EXPECT_LT(index.MemoryBytes(), size_t{64} * graph.Edges.Count());
}

TEST(DrawingIndex, BuildsOncePerGraphAndSettingsThatMoveThingsAndAgainAfterInvalidate) {
  QImage image(10, 10, QImage::Format_RGB32);
  QPainter painter(&image);
  TQtCanvas canvas(painter);
  TSurveyGraph work, result;
  work.AddStation("A", {10, 10, 0});
  work.AddStation("B", {90, 10, 0});
  work.AddEdgeByIndex(0, 1);
  result.AddStation("A", {10, 10, 0});
  TDisplaySettings settings;
  TDrawingIndex index;
  const TEdgeSpatialIndex* first = &index.ForGraph(work, settings, canvas);
  EXPECT_EQ(&index.ForGraph(work, settings, canvas), first);
  index.ForGraph(result, settings, canvas);
  EXPECT_EQ(&index.ForGraph(work, settings, canvas), first);  // two graphs are kept
  EXPECT_EQ(index.Builds(), 2);

  settings.LoopColor = clBlack;
  settings.ShowArrow = false;
  index.ForGraph(work, settings, canvas);
  EXPECT_EQ(index.Builds(), 2);  // colours and arrows move nothing
  settings.LineWidth = 3;
  index.ForGraph(work, settings, canvas);
  settings.LabelMode = lmIndex;
  index.ForGraph(work, settings, canvas);
  settings.LabelFont.Height = -20;
  index.ForGraph(work, settings, canvas);
  EXPECT_EQ(index.Builds(), 5);

  work.AddEdgeByIndex(1, 0);
  EXPECT_THAT(index.ForGraph(work, settings, canvas).EdgesMeeting({0, 0, 100, 100}), ElementsAre(0, 1));
  EXPECT_EQ(index.Builds(), 6);

  TLoopList loops;
  loops.AddLoop().AddEdge({0, 1, 0});
  index.LoopReachOf(work, loops, settings, canvas);
  index.LoopReachOf(work, loops, settings, canvas);
  EXPECT_EQ(index.Builds(), 7);
  index.Invalidate();
  index.LoopReachOf(work, loops, settings, canvas);
  EXPECT_EQ(index.Builds(), 9);
}

// Saved pictures draw each station's label once, where it is drawn last;
// every pixel is still that of the drawing area, labels over lines and all.
TEST(PaintPicture, DrawsTheDrawingAreasPixelsWithOneLabelPerStation) {
  TSurveyGraph graph;
  BuildRandomNetwork(graph, 9, 60, 5);
  TLoopList loops(5);
  BuildLoops(loops, 9);
  const QSize size(620, 620);
  for (const int width : {1, 4}) {
    TDisplaySettings settings;
    settings.LineWidth = width;
    settings.LabelFont.Height = width == 1 ? -11 : -17;
    for (const bool showLoops : {false, true}) {
      SCOPED_TRACE(testing::Message() << "width " << width << (showLoops ? ", loop view" : ", graph view"));
      const TDrawingState state{showLoops, &graph, &graph, &loops, 2};
      QImage once(size, QImage::Format_RGB32);
      once.fill(kUnpainted);
      {
        QPainter painter(&once);
        TQtCanvas canvas(painter);
        PaintPicture(canvas, state, settings);
      }
      EXPECT_TRUE(once == PaintWhole(state, settings, size));
    }
  }
}

}  // namespace
