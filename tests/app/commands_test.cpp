#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTableView>

#include "controls/integer_spin.h"
#include "render_qt/paint_box.h"
#include "tests/app/app_test_support.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

std::vector<TEdgeRec> EdgesOf(const TSurveyGraph& graph) {
  std::vector<TEdgeRec> edges;
  for (int32_t i = 0; i < graph.Edges.Count(); ++i) edges.push_back(graph.Edges.GetEdge(i));
  return edges;
}

// The square 0 (0, 0), 1 (10, 0), 2 (10, 10), 3 (0, 10) with the edges
// (0, 1), (1, 2), (2, 3), (3, 0), named A to D.
void FillSquare(TSurveyGraph& graph) {
  graph.Clear();
  graph.AddStation("A", Vec3{0, 0, 0});
  graph.AddStation("B", Vec3{10, 0, 0});
  graph.AddStation("C", Vec3{10, 10, 0});
  graph.AddStation("D", Vec3{0, 10, 0});
  graph.AddEdgeByIndex(0, 1);
  graph.AddEdgeByIndex(1, 2);
  graph.AddEdgeByIndex(2, 3);
  graph.AddEdgeByIndex(3, 0);
}

using GridCommands = TWindowTest;

TEST_F(GridCommands, FirstGriddedBuildOnTheDefaultsGivesTheKnownNetwork) {
  Click(form->GridBtn);
  const TSurveyGraph& graph = *form->WorkGraph;
  ASSERT_EQ(graph.StationCount(), 6);
  const char* names[] = {"A", "B", "C", "D", "E", "F"};
  const Vec3 positions[] = {{50, 50, 0}, {120, 50, 0}, {190, 50, 0}, {50, 120, 0}, {120, 120, 0}, {190, 120, 0}};
  for (int32_t i = 0; i < 6; ++i) {
    EXPECT_EQ(graph.GetStation(i).Name, names[i]);
    EXPECT_EQ(graph.GetStation(i).Position, positions[i]);
  }
  form->PageControl1->setCurrentIndex(1);
  Click(form->SequenceBtn);
  EXPECT_THAT(MemoLines(), ElementsAre("A - B", "B - C", "E - D", "E - F", "A - D", "B - E", "F - C"));
  EXPECT_EQ(form->ShownGraph, form->WorkGraph.get());
  EXPECT_FALSE(form->ShowLoops);
  EXPECT_EQ(form->PaintBox1->size(), QSize(1280, 1024));
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(GridCommands, GriddedBuildReadsEveryParameterAndFitsTheDrawingArea) {
  form->ColumnSpin->SetValue(20);
  form->RowSpin->SetValue(1);
  form->DensitySpin->SetValue(0);
  form->SpaceXSpin->SetValue(100);
  form->SpaceYSpin->SetValue(30);
  Click(form->GridBtn);
  // One bordered row: every horizontal edge is made whatever the density.
  EXPECT_EQ(form->WorkGraph->StationCount(), 20);
  EXPECT_EQ(form->WorkGraph->Edges.Count(), 19);
  EXPECT_EQ(form->WorkGraph->GetStation(19).Position, (Vec3{50 + 19 * 100, 50, 0}));
  EXPECT_EQ(form->PaintBox1->size(), QSize(1950 + 25, 1024));

  form->BorderedChk->setChecked(false);
  form->RowSpin->SetValue(4);
  Click(form->GridBtn);
  EXPECT_EQ(form->WorkGraph->StationCount(), 80);
  EXPECT_EQ(form->WorkGraph->Edges.Count(), 0);
  EXPECT_EQ(form->WorkGraph->GetStation(79).Position, (Vec3{1950, 50 + 3 * 30, 0}));

  form->BorderedChk->setChecked(true);
  form->DensitySpin->SetValue(100);
  form->SparseChk->setChecked(true);
  form->ColumnSpin->SetValue(3);
  form->RowSpin->SetValue(2);
  Click(form->GridBtn);
  // Skip Rows with two rows: the bottom row has no horizontal edges.
  EXPECT_EQ(form->WorkGraph->Edges.Count(), 2 + 3);

  form->SparseChk->setChecked(false);
  form->RandomSpin->SetValue(50);
  Click(form->GridBtn);
  // Jittered: every station moves towards smaller X and Y.
  for (int32_t i = 0; i < form->WorkGraph->StationCount(); ++i) {
    const Vec3 p = form->WorkGraph->GetStation(i).Position;
    EXPECT_LT(p.X, 50 + (i % 3) * 100);
    EXPECT_LT(p.Y, 50 + (i / 3) * 30);
  }
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(GridCommands, NonGriddedBuildSpreadsTheStationsOverTheScrollArea) {
  form->ColumnSpin->SetValue(5);
  form->RowSpin->SetValue(4);
  Click(form->Button3);
  const QSize area = form->ScrollBox1->size();
  EXPECT_EQ(form->PaintBox1->size(), area);
  ASSERT_EQ(form->WorkGraph->StationCount(), 20);
  for (int32_t i = 0; i < 20; ++i) {
    const Vec3 p = form->WorkGraph->GetStation(i).Position;
    EXPECT_GE(p.X, 25);
    EXPECT_LT(p.X, area.width() - 25);
    EXPECT_GE(p.Y, 25);
    EXPECT_LT(p.Y, area.height() - 25);
  }
  EXPECT_LE(form->WorkGraph->Edges.Count(), 20);
  EXPECT_EQ(form->ShownGraph, form->WorkGraph.get());
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(GridCommands, NonGriddedBuildOnATinyAreaIsRefusedAndKeepsTheNetwork) {
  Click(form->Problem1);
  const QSize before = form->PaintBox1->size();
  form->ScrollBox1->setMinimumSize(0, 0);
  form->ScrollBox1->setFixedSize(40, 300);
  Click(form->Button3);
  EXPECT_THAT(messages, SizeIs(1));
  EXPECT_EQ(form->WorkGraph->StationCount(), 20);
  EXPECT_EQ(form->WorkGraph->Edges.Count(), 16);
  EXPECT_EQ(form->PaintBox1->size(), before);
}

TEST_F(GridCommands, EachProblemButtonFillsItsNetworkAndShowsIt) {
  QPushButton* buttons[] = {form->Problem1,    form->Problem2Btn, form->Problem3Btn,
                            form->Problem4Btn, form->Problem5Btn, form->Problem6Btn};
  const int32_t stations[] = {20, 20, 20, 25, 25, 25};
  const int32_t edges[] = {16, 29, 15, 25, 21, 29};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i + 1);
    form->ShownGraph = form->ResultGraph.get();
    Click(buttons[i]);
    EXPECT_EQ(form->WorkGraph->StationCount(), stations[i]);
    EXPECT_EQ(form->WorkGraph->Edges.Count(), edges[i]);
    EXPECT_EQ(form->ShownGraph, form->WorkGraph.get());
    EXPECT_FALSE(form->ShowLoops);
    // The problem networks fit the area as it is.
    EXPECT_EQ(form->PaintBox1->size(), QSize(1024, 768));
  }
  form->PageControl1->setCurrentIndex(1);
  Click(form->Problem1);
  Click(form->AdjacencyBtn);
  const std::vector<std::string> lines = MemoLines();
  ASSERT_THAT(lines, SizeIs(20));
  EXPECT_EQ(lines[3], "D - ");
  EXPECT_EQ(lines[6], "G - H,B,L,");
  Click(form->SequenceBtn);
  EXPECT_EQ(MemoLines().front(), "A - B");
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(GridCommands, BuildingWhileLoopsAreShownClearsTheLoopBrowserAndShowsThePlainGraph) {
  Click(form->Problem2Btn);
  Click(form->Button1);
  ASSERT_TRUE(form->ShowLoops);
  ASSERT_EQ(form->LoopCntDis->text(), QStringLiteral("10"));
  ASSERT_EQ(form->LoopQualityLabel->text(), QStringLiteral("Total edges: 44, a basis"));
  Click(form->GridBtn);
  EXPECT_FALSE(form->ShowLoops);
  EXPECT_EQ(form->Loops->Count(), 0);
  EXPECT_TRUE(form->LoopCntDis->text().isEmpty());
  EXPECT_TRUE(form->LoopQualityLabel->text().isEmpty());
  EXPECT_EQ(form->LoopSpin->MaxValue(), 0);
  EXPECT_EQ(form->LoopSpin->Value(), 0);
  EXPECT_EQ(LoopGridRowCount(), 10);
  EXPECT_THAT(LoopGridRow(0), ElementsAre("", "", "", "", "", ""));
  EXPECT_THAT(LoopGridRow(1), ElementsAre("", "", "", "", "", ""));
}

using TreeCommands = TWindowTest;

TEST_F(TreeCommands, BreadthFirstListsTheClosingEdgesWithNamesAndIndexes) {
  FillSquare(*form->WorkGraph);
  form->PageControl1->setCurrentIndex(1);
  for (const bool favorHighOrder : {false, true}) {
    SCOPED_TRACE(favorHighOrder);
    form->ByIncidenceChk->setChecked(favorHighOrder);
    Click(form->PrimBtn);
    EXPECT_THAT(MemoLines(), ElementsAre("D - C (3-2)"));
    EXPECT_EQ(form->ShownGraph, form->ResultGraph.get());
    EXPECT_FALSE(form->ShowLoops);
    EXPECT_THAT(EdgesOf(*form->ResultGraph), ElementsAre(TEdgeRec{0, 1, 0}, TEdgeRec{0, 3, 0}, TEdgeRec{1, 2, 0}));
    ASSERT_EQ(form->Loops->Count(), 1);
  }
}

TEST_F(TreeCommands, DepthFirstListsTheClosingEdgesByName) {
  FillSquare(*form->WorkGraph);
  form->PageControl1->setCurrentIndex(1);
  Click(form->DepthFirstBtn);
  EXPECT_THAT(MemoLines(), ElementsAre("A D"));
  EXPECT_EQ(form->ShownGraph, form->ResultGraph.get());
  EXPECT_THAT(EdgesOf(*form->ResultGraph), ElementsAre(TEdgeRec{0, 1, 0}, TEdgeRec{1, 2, 0}, TEdgeRec{2, 3, 0}));
  // The work graph keeps its visit numbers.
  EXPECT_EQ(form->WorkGraph->Marks.Get(3), 4);
}

TEST_F(TreeCommands, ReplaceTheLoopsButLeaveTheLoopPageAsItWas) {
  Click(form->Problem2Btn);
  Click(form->Button1);
  const std::vector<std::string> firstRow = LoopGridRow(1);
  ASSERT_NE(firstRow[1], "1");
  form->PageControl1->setCurrentIndex(1);
  Click(form->DepthFirstBtn);
  ASSERT_EQ(form->Loops->Count(), 10);
  EXPECT_EQ(form->Loops->LoopAt(0).Count(), 1);  // closing edges only
  EXPECT_EQ(LoopGridRow(1), firstRow);
  EXPECT_EQ(form->LoopCntDis->text(), QStringLiteral("10"));
  EXPECT_EQ(form->LoopSpin->MaxValue(), 9);
  EXPECT_EQ(LoopGridRowCount(), 11);
  EXPECT_FALSE(form->ShowLoops);
}

using Reports = TWindowTest;

TEST_F(Reports, ListTheShownGraphAndReplaceTheMemo) {
  form->PageControl1->setCurrentIndex(1);
  for (QPushButton* report : {form->AdjacencyBtn, form->SequenceBtn, form->ParentsBtn, form->IndexBtn}) {
    Click(report);
    EXPECT_THAT(MemoLines(), IsEmpty());
  }
  Click(form->GridBtn);
  Click(form->ParentsBtn);
  EXPECT_THAT(MemoLines(), ElementsAre("A -  (-1)", "B - A (0)", "C - F (5)", "D - A (0)", "E - B (1)", "F - E (4)"));
  Click(form->IndexBtn);
  Click(form->IndexBtn);
  EXPECT_THAT(MemoLines(), ElementsAre("A - 0", "B - 1", "C - 2", "D - 3", "E - 4", "F - 5"));
  Click(form->AdjacencyBtn);
  EXPECT_THAT(MemoLines(), ElementsAre("A - B,D,", "B - A,C,E,", "C - B,F,", "D - E,A,", "E - D,F,B,", "F - E,C,"));

  Click(form->DepthFirstBtn);
  Click(form->SequenceBtn);
  EXPECT_THAT(MemoLines(), SizeIs(5));  // the tree of six stations
  Click(form->OriginalBtn);
  Click(form->SequenceBtn);
  EXPECT_THAT(MemoLines(), SizeIs(7));
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Reports, OptimizeListTurnsTheShownGraphsEdgesAndShowsTheCountInTheCaption) {
  Click(form->GridBtn);
  form->PageControl1->setCurrentIndex(1);
  form->SetShowLoops(true);
  Click(form->OptimizeBtn);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("2"));  // E-D and F-C
  EXPECT_FALSE(form->ShowLoops);
  const std::vector<TEdgeRec> edges = EdgesOf(*form->WorkGraph);
  ASSERT_THAT(edges, SizeIs(7));
  for (size_t i = 0; i < edges.size(); ++i) {
    EXPECT_LT(edges[i].From, edges[i].To);
    if (i > 0) {
      EXPECT_LE(edges[i - 1].To, edges[i].To);
    }
  }
  Click(form->OptimizeBtn);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("0"));

  // On the result graph only the tree changes.
  Click(form->DepthFirstBtn);
  Click(form->OptimizeBtn);
  EXPECT_EQ(form->ShownGraph, form->ResultGraph.get());
  EXPECT_THAT(EdgesOf(*form->WorkGraph), SizeIs(7));
  EXPECT_TRUE(messages.isEmpty());
}

}  // namespace
