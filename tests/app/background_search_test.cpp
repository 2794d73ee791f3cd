// "Find Loops" runs off the window's thread: meanwhile the other commands
// are disabled, the drawing scrolls, and "Stop" ends the search, leaving the
// loops, the grid and the network as they were.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "app/grid_page.h"
#include "app/loops_page.h"
#include "tests/app/app_test_support.h"
#include "workbench/commands.h"

namespace {

class BackgroundSearch : public TWindowTest {
 protected:
  // A grid large enough that "Overlap" takes seconds, built as the Grid page builds its grids.
  void BuildLargeGrid() {
    TGridParameters grid;
    grid.Columns = 300;
    grid.Rows = 300;
    form->Workbench.BuildGridded(grid);
    form->FitDrawingArea(*form->WorkGraph);
  }
};

TEST_F(BackgroundSearch, StopEndsTheSearchAndLeavesThePreviousLoopsWhileTheWindowGoesOn) {
  BuildLargeGrid();
  form->SetOptimizeRadioIndex(2);
  Click(form->Button1);
  const int32_t before = form->Loops->Count();
  ASSERT_EQ(before, 299 * 299);
  const TLoopList* list = form->Loops.get();
  const std::vector<std::string> firstRow = LoopGridRow(1);

  form->SetOptimizeRadioIndex(1);
  bool sawSearching = false;
  int scrolled = -1;
  QTimer::singleShot(150, form.get(), [&] {
    sawSearching = form->LoopsPage->Searching() && !form->GridPage->isEnabled() && !form->Button1->isEnabled() &&
                   form->LoopsPage->StopBtn->isEnabled() &&
                   form->LoopsPage->SearchProgressLabel->text().startsWith(QStringLiteral("Searching"));
    form->ScrollBox1->horizontalScrollBar()->setValue(500);
    scrolled = form->ScrollBox1->horizontalScrollBar()->value();
    QTest::mouseClick(form->LoopsPage->StopBtn, Qt::LeftButton);
  });
  Click(form->Button1);
  EXPECT_TRUE(sawSearching);
  EXPECT_EQ(scrolled, 500);
  EXPECT_EQ(form->statusBar()->currentMessage(), QStringLiteral("Search stopped: the loops are as they were"));
  EXPECT_EQ(form->Loops.get(), list);
  EXPECT_EQ(form->Loops->Count(), before);
  EXPECT_EQ(LoopGridRow(1), firstRow);
  EXPECT_EQ(form->LoopCntDis->text(), QString::number(before));
  // Every command is back.
  EXPECT_FALSE(form->LoopsPage->Searching());
  EXPECT_TRUE(form->GridPage->isEnabled());
  EXPECT_TRUE(form->Button1->isEnabled());
  EXPECT_FALSE(form->LoopsPage->StopBtn->isEnabled());
  EXPECT_TRUE(form->LoopsPage->SearchProgressLabel->text().isEmpty());
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(BackgroundSearch, ClosingTheWindowDuringASearchStopsItAndThenCloses) {
  BuildLargeGrid();
  form->SetOptimizeRadioIndex(1);
  form->show();
  QTimer::singleShot(150, form.get(), [&] { form->close(); });
  Click(form->Button1);
  EXPECT_EQ(form->Loops->Count(), 0);  // stopped: no loops were found before
  QTest::qWait(20);
  EXPECT_FALSE(form->isVisible());
}

}  // namespace
