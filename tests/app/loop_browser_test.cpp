#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

#include "app/loops_page.h"
#include "controls/integer_spin.h"
#include "controls/sub_timer.h"
#include "loops/minimal_loops.h"
#include "render_qt/paint_box.h"
#include "tests/app/app_test_support.h"
#include "tests/app/recording_canvas.h"
#include "tests/loops/loop_test_graphs.h"

namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;

class LoopBrowser : public TWindowTest {
 protected:
  // A fully connected bordered grid of columns x rows stations, which has
  // (columns - 1) x (rows - 1) loops.
  void BuildFullGrid(int columns, int rows) {
    form->ColumnSpin->SetValue(columns);
    form->RowSpin->SetValue(rows);
    form->DensitySpin->SetValue(100);
    Click(form->GridBtn);
  }

  // Checks every data row of the grid against the loop list.
  void ExpectGridMatchesLoops() {
    const int32_t count = form->Loops->Count();
    EXPECT_EQ(LoopGridRowCount(), std::max(count + 1, 10));
    EXPECT_THAT(LoopGridRow(0), ElementsAre("#", "Edg", "Val", "Com", "Cl1", "Cl2"));
    for (int32_t i = 0; i < count; ++i) {
      const TEdgeArray& loop = form->Loops->LoopAt(i);
      ASSERT_GT(loop.Count(), 0);
      EXPECT_THAT(LoopGridRow(i + 1),
                  ElementsAre(std::to_string(i), std::to_string(loop.Count()), std::to_string(loop.LoopValue),
                              std::to_string(loop.CommonStation), std::to_string(loop.GetEdge(0).From),
                              std::to_string(loop.GetEdge(0).To)));
    }
    for (int row = count + 1; row < LoopGridRowCount(); ++row) {
      EXPECT_THAT(LoopGridRow(row), ElementsAre("", "", "", "", "", ""));
    }
  }

  // The pen colour of the lines drawn last, after the black ones of every loop.
  TRecordingCanvas Paint() const {
    TRecordingCanvas canvas;
    form->PaintBox1Paint(canvas);
    return canvas;
  }

  QImage Grab() const { return form->PaintBox1->grab().toImage(); }
};

TEST_F(LoopBrowser, FindLoopsFillsCounterGridAndChooserForEveryMethod) {
  BuildFullGrid(5, 5);  // 16 loops
  form->PageControl1->setCurrentIndex(2);
  struct TCase {
    int Method;
    bool Optimize;
  };
  for (const TCase run : {TCase{0, true}, TCase{0, false}, TCase{1, true}, TCase{1, false}}) {
    SCOPED_TRACE(testing::Message() << "method " << run.Method << " optimise " << run.Optimize);
    form->SetOptimizeRadioIndex(run.Method);
    form->OptimiseChk->setChecked(run.Optimize);
    Click(form->Button1);
    ASSERT_EQ(form->Loops->Count(), 16);
    EXPECT_EQ(form->LoopCntDis->text(), QStringLiteral("16"));
    EXPECT_EQ(form->LoopSpin->MaxValue(), 15);
    EXPECT_EQ(form->LoopSpin->Value(), 0);
    EXPECT_TRUE(form->ShowLoops);
    EXPECT_THAT(form->SubTimer1->text().toStdString(), EndsWith(" ms."));
    ExpectGridMatchesLoops();
    if (!run.Optimize) {
      // Longest first.
      for (int32_t i = 1; i < 16; ++i) EXPECT_GE(form->Loops->LoopAt(i - 1).Count(), form->Loops->LoopAt(i).Count());
    }
  }
  // Optimised shortest loops of a full grid are its sixteen squares.
  form->SetOptimizeRadioIndex(0);
  form->OptimiseChk->setChecked(true);
  Click(form->Button1);
  for (int32_t i = 0; i < 16; ++i) EXPECT_EQ(form->Loops->LoopAt(i).Count(), 4) << "loop " << i;
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(LoopBrowser, MinimalFindsTheSquaresOfAFullGridWhateverOptimizeSays) {
  BuildFullGrid(5, 5);
  form->SetOptimizeRadioIndex(2);
  EXPECT_EQ(form->OptimizeRadioIndex(), 2);
  for (const bool optimize : {true, false}) {
    SCOPED_TRACE(testing::Message() << "optimise " << optimize);
    form->OptimiseChk->setChecked(optimize);
    form->SubTimer1->Reset();
    Click(form->Button1);
    TLoopList expected;
    FindLoopsMinimal(*form->WorkGraph, expected);
    ASSERT_EQ(form->Loops->Count(), 16);
    EXPECT_EQ(Snapshot(*form->Loops), Snapshot(expected));
    for (int32_t i = 0; i < 16; ++i) EXPECT_EQ(form->Loops->LoopAt(i).Count(), 4) << "loop " << i;
    EXPECT_EQ(form->LoopCntDis->text(), QStringLiteral("16"));
    EXPECT_EQ(form->LoopQualityLabel->text(), QStringLiteral("Total edges: 64, a minimum basis"));
    EXPECT_EQ(form->LoopSpin->MaxValue(), 15);
    EXPECT_THAT(form->SubTimer1->text().toStdString(), EndsWith(" ms."));
    EXPECT_TRUE(form->ShowLoops);
    ExpectGridMatchesLoops();
  }
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(LoopBrowser, TheQualityLineFollowsEveryFindLoops) {
  // "Grid-4": the fundamental loops take the long way round (26 shots), the
  // shortened and the minimal ones do not (20).
  Click(form->Problem4Btn);
  struct TCase {
    int Method;
    bool Optimize;
    const char* Text;
  };
  for (const TCase run : {TCase{0, false, "Total edges: 26, a basis"}, TCase{0, true, "Total edges: 20, a basis"},
                          TCase{1, false, "Total edges: 26, a basis"}, TCase{1, true, "Total edges: 20, a basis"},
                          TCase{2, false, "Total edges: 20, a minimum basis"}}) {
    SCOPED_TRACE(testing::Message() << "method " << run.Method << " optimise " << run.Optimize);
    form->SetOptimizeRadioIndex(run.Method);
    form->OptimiseChk->setChecked(run.Optimize);
    Click(form->Button1);
    EXPECT_EQ(form->LoopQualityLabel->text(), QString::fromUtf8(run.Text));
  }
  // Two separate triangles: the shortest search keeps to the piece of its
  // start station, so its one loop is not a basis; the minimal search finds both.
  form->WorkGraph->Clear();
  for (const char* name : {"A", "B", "C", "D", "E", "F"}) form->WorkGraph->AddStation(name, Vec3{0, 0, 0});
  for (const auto& [from, to] : {std::pair{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5}, {5, 3}})
    form->WorkGraph->AddEdgeByIndex(from, to);
  form->SetOptimizeRadioIndex(0);
  Click(form->Button1);
  EXPECT_EQ(form->LoopQualityLabel->text(),
            QStringLiteral("Total edges: 3, not a basis: 1 of 2 independent loops; \"Minimal\" finds all 2"));
  form->SetOptimizeRadioIndex(2);
  Click(form->Button1);
  EXPECT_EQ(form->LoopQualityLabel->text(), QStringLiteral("Total edges: 6, a minimum basis"));
  // A network without loops has the empty basis.
  Click(form->Problem2Btn);
  EXPECT_TRUE(form->LoopQualityLabel->text().isEmpty());
  form->ColumnSpin->SetValue(1);
  form->RowSpin->SetValue(1);
  Click(form->GridBtn);
  Click(form->Button1);
  EXPECT_EQ(form->LoopQualityLabel->text(), QStringLiteral("Total edges: 0, a minimum basis"));
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(LoopBrowser, TenLoopsOfGrid2FillElevenRowsAndLoopNineIsInRowTen) {
  Click(form->Problem2Btn);
  Click(form->Button1);
  ASSERT_EQ(form->Loops->Count(), 10);
  EXPECT_EQ(LoopGridRowCount(), 11);
  EXPECT_EQ(LoopGridRow(10)[0], "9");
  ExpectGridMatchesLoops();
}

TEST_F(LoopBrowser, ASearchWithoutLoopsShowsZeroAndDrawsNothing) {
  Click(form->Problem2Btn);
  Click(form->Button1);
  form->ColumnSpin->SetValue(1);
  form->RowSpin->SetValue(1);
  Click(form->GridBtn);
  form->PageControl1->setCurrentIndex(2);
  Click(form->Button1);
  EXPECT_EQ(form->Loops->Count(), 0);
  EXPECT_EQ(form->LoopCntDis->text(), QStringLiteral("0"));
  EXPECT_EQ(LoopGridRowCount(), 10);
  EXPECT_THAT(LoopGridRow(0), ElementsAre("#", "Edg", "Val", "Com", "Cl1", "Cl2"));
  EXPECT_THAT(LoopGridRow(1), ElementsAre("", "", "", "", "", ""));
  // The chooser stays at 0, the status line says why, and the network stays in view.
  EXPECT_EQ(form->LoopSpin->MaxValue(), 0);
  EXPECT_EQ(form->LoopSpin->text(), QStringLiteral("0"));
  EXPECT_EQ(form->LoopSpin->Value(), 0);
  EXPECT_EQ(form->statusBar()->currentMessage(), QStringLiteral("No loops: no shot of the network closes a loop"));
  EXPECT_FALSE(form->ShowLoops);

  // The drawing shows the network, which has no lines.
  EXPECT_TRUE(Paint().Lines.empty());
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(LoopBrowser, ASearchOnAnEmptyNetworkSaysSoAndShowsNoNegativeLoop) {
  Click(form->Button1);
  EXPECT_EQ(form->LoopSpin->text(), QStringLiteral("0"));
  EXPECT_EQ(form->LoopCntDis->text(), QStringLiteral("0"));
  EXPECT_EQ(form->statusBar()->currentMessage(),
            QStringLiteral("No loops: the network is empty; make a grid or load a file first"));
  EXPECT_FALSE(form->ShowLoops);
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(LoopBrowser, TheLoopViewDrawsEveryLoopInBlackAndTheChosenOneOnTopInTheLoopColour) {
  BuildFullGrid(5, 5);
  Click(form->Button1);
  form->LoopSpin->SetValue(5);
  EXPECT_EQ(form->LoopGridRow(), 6);
  const TRecordingCanvas canvas = Paint();
  ASSERT_FALSE(canvas.Fills.empty());
  EXPECT_EQ(canvas.Fills.front(), clGray);
  int loopEdges = 0;
  for (int32_t i = 0; i < form->Loops->Count(); ++i) loopEdges += form->Loops->LoopAt(i).Count();
  EXPECT_EQ(canvas.CountLines(form->DisplaySettings.LoopColor), form->Loops->LoopAt(5).Count());
  EXPECT_EQ(canvas.CountLines(clBlack), loopEdges);
  // The lines drawn last are the chosen loop's.
  EXPECT_EQ(canvas.Lines.back().Pen, form->DisplaySettings.LoopColor);
  const QImage picture = Grab();
  EXPECT_EQ(picture.pixelColor(2, 2), QColor(128, 128, 128));
}

TEST_F(LoopBrowser, SpinAndGridSelectionFollowEachOther) {
  BuildFullGrid(4, 2);  // 3 loops
  form->PageControl1->setCurrentIndex(2);
  Click(form->Button1);
  ASSERT_EQ(form->Loops->Count(), 3);

  form->LoopSpin->SetValue(2);
  EXPECT_EQ(form->LoopGridRow(), 3);
  form->SetShowLoops(false);
  ClickLoopGridRow(2);
  EXPECT_EQ(form->LoopSpin->Value(), 1);
  EXPECT_EQ(form->LoopGridRow(), 2);
  EXPECT_TRUE(form->ShowLoops);

  // The first empty row chooses the last loop and keeps its own highlight.
  ClickLoopGridRow(4);
  EXPECT_EQ(form->LoopSpin->Value(), 2);
  EXPECT_EQ(form->LoopGridRow(), 4);
  EXPECT_EQ(Paint().CountLines(form->DisplaySettings.LoopColor), form->Loops->LoopAt(2).Count());

  // Rows further down change nothing.
  ClickLoopGridRow(1);
  ASSERT_EQ(form->LoopSpin->Value(), 0);
  form->SetShowLoops(false);
  ClickLoopGridRow(5);
  EXPECT_EQ(form->LoopSpin->Value(), 0);
  EXPECT_FALSE(form->ShowLoops);
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(LoopBrowser, ClickingTheGridWithoutLoopsSwitchesToTheEmptyLoopView) {
  Click(form->Problem1);
  ASSERT_FALSE(form->ShowLoops);
  ClickLoopGridRow(1);
  EXPECT_TRUE(form->ShowLoops);
  EXPECT_TRUE(Paint().Lines.empty());
}

TEST_F(LoopBrowser, NoMethodChosenRunsNoSearchAndKeepsTheLoops) {
  Click(form->Problem2Btn);
  Click(form->Button1);
  form->SetOptimizeRadioIndex(-1);
  EXPECT_EQ(form->OptimizeRadioIndex(), -1);
  TEdgeArray* first = &form->Loops->LoopAt(0);
  Click(form->Button1);
  ASSERT_EQ(form->Loops->Count(), 10);
  EXPECT_EQ(&form->Loops->LoopAt(0), first);
  EXPECT_EQ(form->LoopCntDis->text(), QStringLiteral("10"));
}

TEST_F(LoopBrowser, AChosenLoopBeyondTheListIsNotDrawnAfterATreeCommand) {
  BuildFullGrid(5, 5);
  Click(form->Button1);
  form->LoopSpin->SetValue(15);
  // Remove all but one closing edge: a single-station network is not built,
  // so shrink the loop list through a tree command on a smaller network.
  form->WorkGraph->Clear();
  form->WorkGraph->AddStation("A", Vec3{0, 0, 0});
  form->WorkGraph->AddStation("B", Vec3{80, 0, 0});
  form->WorkGraph->AddEdgeByIndex(0, 1);
  form->WorkGraph->AddEdgeByIndex(1, 0);
  Click(form->PrimBtn);
  ASSERT_EQ(form->Loops->Count(), 1);
  form->SetShowLoops(true);
  const TRecordingCanvas canvas = Paint();
  EXPECT_EQ(canvas.CountLines(form->DisplaySettings.LoopColor), 0);
  EXPECT_EQ(canvas.CountLines(clBlack), 1);
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(LoopBrowser, AHundredThousandLoopsFillTheGridAndAFarRowChoosesItsLoop) {
  constexpr int32_t kCount = 100000;
  for (int32_t i = 0; i < kCount; ++i) {
    TEdgeArray& loop = form->Loops->AddLoop();
    loop.AddEdge({i, i + 1, 0});
    for (int32_t k = 0; k < i % 5; ++k) loop.AddEdge({i + k + 1, i + k + 2, 0});
    loop.LoopValue = 3 * i;
    loop.CommonStation = i + 7;
  }
  form->LoopSpin->SetMaxValue(kCount - 1);
  form->FillLoopGrid();
  EXPECT_EQ(LoopGridRowCount(), kCount + 1);
  EXPECT_THAT(LoopGridRow(0), ElementsAre("#", "Edg", "Val", "Com", "Cl1", "Cl2"));
  EXPECT_THAT(LoopGridRow(1), ElementsAre("0", "1", "0", "7", "0", "1"));
  EXPECT_THAT(LoopGridRow(kCount), ElementsAre("99999", "5", "299997", "100006", "99999", "100000"));

  ClickLoopGridRow(90001);
  EXPECT_EQ(form->LoopSpin->Value(), 90000);
  EXPECT_EQ(form->LoopGridRow(), 90001);
  EXPECT_TRUE(form->ShowLoops);
  form->LoopSpin->SetValue(99999);
  EXPECT_EQ(form->LoopGridRow(), kCount);
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(LoopBrowser, TheGridShowsTheSearchedLoopsUntilTheNextSearchWhateverReplacesTheList) {
  Click(form->Problem2Btn);
  Click(form->Button1);
  const std::vector<std::string> lastRow = LoopGridRow(10);
  form->PageControl1->setCurrentIndex(1);
  Click(form->PrimBtn);
  Click(form->DepthFirstBtn);
  ASSERT_EQ(form->Loops->LoopAt(9).Count(), 1);
  EXPECT_EQ(LoopGridRow(10), lastRow);
  (void)form->LoopGrid->grab();  // the view reads every visible cell

  // A list emptied behind the grid's back shows empty rows rather than
  // reading loops that are gone.
  Click(form->Button1);
  form->Loops->Clear();
  EXPECT_EQ(LoopGridRowCount(), 11);
  EXPECT_THAT(LoopGridRow(1), ElementsAre("", "", "", "", "", ""));
  EXPECT_THAT(LoopGridRow(0), ElementsAre("#", "Edg", "Val", "Com", "Cl1", "Cl2"));
  (void)form->LoopGrid->grab();
  EXPECT_TRUE(messages.isEmpty());
}

}  // namespace

namespace {

TEST_F(LoopBrowser, AfterASearchTheGridFitsItsColumnsAndCanNameTheStations) {
  Click(form->Problem2Btn);
  Click(form->Button1);
  const QFontMetrics metrics(form->LoopGrid->font());
  for (int column = 0; column < form->LoopGrid->model()->columnCount(); ++column) {
    const QString header = form->LoopGrid->model()->headerData(column, Qt::Horizontal).toString();
    EXPECT_GE(form->LoopGrid->columnWidth(column), metrics.horizontalAdvance(header)) << column;
    const QString cell = form->LoopGrid->model()->index(0, column).data().toString();
    EXPECT_GE(form->LoopGrid->columnWidth(column), metrics.horizontalAdvance(cell)) << column;
  }
  form->LoopGrid->setCurrentIndex(form->LoopGrid->model()->index(2, 0));
  form->LoopsPage->StationNamesChk->setChecked(true);
  const TEdgeRec closing = form->Loops->LoopAt(0).GetEdge(0);
  EXPECT_EQ(LoopGridRow(1)[4], form->WorkGraph->Names.GetName(closing.From));
  EXPECT_EQ(LoopGridRow(1)[5], form->WorkGraph->Names.GetName(closing.To));
  EXPECT_EQ(LoopGridRow(1)[3], form->WorkGraph->Names.GetName(form->Loops->LoopAt(0).CommonStation));
  EXPECT_EQ(form->LoopGridRow(), 3);  // the current row stays
  form->LoopsPage->StationNamesChk->setChecked(false);
  EXPECT_EQ(LoopGridRow(1)[4], std::to_string(closing.From));
  EXPECT_TRUE(messages.isEmpty());
}

}  // namespace
