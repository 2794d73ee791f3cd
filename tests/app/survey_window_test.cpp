// A raw survey in the window: the loop grid's misclosure columns and their
// sorting, the loops coloured by their ratio, and the "Blunders" page, whose
// chosen suspect shows its leg and loops in the drawing and its source.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include "app/application.h"
#include "app/blunders_page.h"
#include "app/loop_grid_model.h"
#include "app/loops_page.h"
#include "render_qt/paint_box.h"
#include "tests/app/app_test_support.h"
#include "workbench/misclosure_colors.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A 3 x 3 grid of 10 m legs; the tape of g.b2 - g.b3 (line 5) reads 15 m, so
// the two loops through it misclose by 5 m and the other two close exactly.
constexpr char kGridWithBlunder[] =
    "*begin g\n"
    "a1 a2 10.00 090 0\na2 a3 10.00 090 0\nb1 b2 10.00 090 0\nb2 b3 15.00 090 0\n"
    "c1 c2 10.00 090 0\nc2 c3 10.00 090 0\na1 b1 10.00 180 0\nb1 c1 10.00 180 0\n"
    "a2 b2 10.00 180 0\nb2 c2 10.00 180 0\na3 b3 10.00 180 0\nb3 c3 10.00 180 0\n"
    "*end g\n";

class SurveyWindow : public TWindowTest {
 protected:
  void OpenSurvey(const QString& name, const char* text) {
    const QString path = TempPath(name);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    form->ChooseFile = [path](const TFileDialogRequest&) { return path; };
    form->OpenSurvey1->trigger();
    ASSERT_THAT(messages, IsEmpty());
  }
  std::string Cell(QTableView* grid, int row, int column) const {
    return Text(grid->model()->index(row, column).data().toString());
  }
  std::vector<std::string> Headers(QTableView* grid) const {
    std::vector<std::string> headers;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
      headers.push_back(Text(grid->model()->headerData(c, Qt::Horizontal).toString()));
    return headers;
  }
  int BlundersTab() const { return form->PageControl1->indexOf(form->BlundersArea); }
};

TEST_F(SurveyWindow, TheLoopGridGainsSortableMisclosureColumnsAndTheLoopsTheirRatioColours) {
  OpenSurvey(QStringLiteral("grid.svx"), kGridWithBlunder);
  form->SetOptimizeRadioIndex(2);
  Click(form->Button1);
  ASSERT_EQ(form->Loops->Count(), 4);
  EXPECT_THAT(Headers(form->LoopGrid),
              ElementsAre("#", "Edg", "Val", "Com", "Cl1", "Cl2", "Length", "Misclosure", "Error %", "Ratio"));
  // In list order, each loop's figures as the misclosure list gives them.
  const std::vector<TLoopMisclosure> misclosures = form->Workbench.Misclosures();
  std::vector<int> blundered;
  for (int loop = 0; loop < 4; ++loop) {
    const TLoopMisclosure& m = misclosures[static_cast<size_t>(loop)];
    EXPECT_EQ(Cell(form->LoopGrid, loop, 0), std::to_string(loop));
    EXPECT_EQ(Cell(form->LoopGrid, loop, 6), m.Error > 1 ? "45.00" : "40.00") << loop;
    EXPECT_EQ(Cell(form->LoopGrid, loop, 7), m.Error > 1 ? "5.000" : "0.000") << loop;
    EXPECT_EQ(Cell(form->LoopGrid, loop, 8), m.Error > 1 ? "11.11" : "0.00") << loop;
    EXPECT_EQ(Cell(form->LoopGrid, loop, 9), QString::number(m.Ratio, 'f', 2).toStdString()) << loop;
    // Drawn magenta where the blunder is, green where the loop closes.
    EXPECT_EQ(form->LoopsPage->LoopColors().at(static_cast<size_t>(loop)),
              m.Error > 1 ? kBlunderLoopColor : kGoodLoopColor)
        << loop;
    if (m.Error > 1) blundered.push_back(loop);
  }
  ASSERT_EQ(blundered.size(), 2u);
  EXPECT_EQ(form->DrawingState().LoopColors.size(), 4u);
  // The loop panel tells the chosen loop's figures and its stations by full name.
  form->LoopSpin->SetValue(blundered[0]);
  const TLoopMisclosure& chosen = misclosures[static_cast<size_t>(blundered[0])];
  std::string stations;
  for (const int32_t st : chosen.Stations) stations += " " + std::string(form->Workbench.Survey()->MainName(st));
  EXPECT_EQ(Text(form->LoopsPage->LoopInfoLabel->text()),
            "Loop " + std::to_string(blundered[0]) + ": 4 shots, 45.00 m\nmisclosure 5.000 m (11.11 %), ratio " +
                QString::number(chosen.Ratio, 'f', 2).toStdString() + "\nstations:" + stations);
  EXPECT_EQ(stations.substr(0, 3), " g.");

  // A click on a station tells its full name, where it is in metres and its shots.
  const TSurvey& survey = *form->Workbench.Survey();
  const int32_t node = form->Workbench.Network().NodeOfStation.at(0);
  const Vec3 at = form->WorkGraph->Positions.Get(node);
  form->ScrollBox1->CentreOn(QPointF(at.X, at.Y));
  const QPoint pixel = form->PaintBox1->ToPixels(QPointF(at.X + 1, at.Y - 1)).toPoint();
  QTest::mouseClick(form->PaintBox1, Qt::LeftButton, {}, pixel);
  const Vec3 metres = survey.Positions[0];
  const std::string message = Text(form->statusBar()->currentMessage());
  EXPECT_THAT(message, testing::StartsWith("Station " + std::string(survey.MainName(0)) + " ("));
  EXPECT_THAT(message, testing::HasSubstr(QString::number(metres.X, 'f', 2).toStdString() + " m east, " +
                                          QString::number(metres.Y, 'f', 2).toStdString() + " m north"));
  EXPECT_THAT(message, testing::HasSubstr(" shots: to g."));

  // Worst ratio first; equal ratios keep list order; choosing the first row
  // chooses its loop, and choosing a loop finds its row.
  form->LoopGrid->sortByColumn(9, Qt::DescendingOrder);
  EXPECT_EQ(Cell(form->LoopGrid, 0, 0), std::to_string(blundered[0]));
  EXPECT_EQ(Cell(form->LoopGrid, 1, 0), std::to_string(blundered[1]));
  ClickLoopGridRow(2);
  EXPECT_EQ(form->LoopSpin->Value(), blundered[1]);
  form->LoopSpin->SetValue(blundered[0]);
  EXPECT_EQ(form->LoopGridRow(), 1);
  // Shortest first by length: the two 40 m loops, in list order.
  form->LoopGrid->sortByColumn(6, Qt::AscendingOrder);
  EXPECT_EQ(Cell(form->LoopGrid, 2, 6), "45.00");
  EXPECT_LT(std::stoi(Cell(form->LoopGrid, 0, 0)), std::stoi(Cell(form->LoopGrid, 1, 0)));

  // A network without raw data has the specified six columns, in list order, uncoloured.
  Click(form->GridBtn);
  form->SetOptimizeRadioIndex(0);
  Click(form->Button1);
  EXPECT_EQ(form->LoopGrid->model()->columnCount(), 6);
  EXPECT_FALSE(form->LoopGrid->isSortingEnabled());
  EXPECT_EQ(Cell(form->LoopGrid, 1, 0), "1");
  EXPECT_THAT(form->LoopsPage->LoopColors(), IsEmpty());
}

TEST_F(SurveyWindow, TheBlundersPageListsTheSuspectAndShowsItsLegLoopsAndSource) {
  EXPECT_LT(BlundersTab(), 0);  // no raw data yet: no page
  OpenSurvey(QStringLiteral("grid.svx"), kGridWithBlunder);
  ASSERT_GE(BlundersTab(), 0);
  EXPECT_EQ(form->PageControl1->tabText(BlundersTab()), QStringLiteral("Blunders"));

  // Without loops the search first finds the minimal ones.
  TBlundersPage& page = *form->BlundersPage;
  Click(page.FindBlundersBtn);
  ASSERT_THAT(messages, IsEmpty());
  EXPECT_EQ(form->OptimizeRadioIndex(), 2);
  EXPECT_EQ(form->Loops->Count(), 4);
  EXPECT_EQ(page.BlunderSummaryLabel->text(),
            QStringLiteral("1 suspect (w above 3.29); 0 legs unchecked; variance factor 0.00"));
  ASSERT_EQ(page.SuspectGrid->rowCount(), 1);
  std::vector<std::string> row;
  for (int c = 0; c < page.SuspectGrid->columnCount(); ++c) row.push_back(Text(page.SuspectGrid->item(0, c)->text()));
  const std::string source = Text(TempPath(QStringLiteral("grid.svx"))) + ":5";
  EXPECT_THAT(row, ElementsAre("1", "g.b2", "g.b3", "49.62", "tape", "-5.000 m", "100.0", source));

  page.SuspectGrid->setCurrentCell(0, 1);
  const TLegCheck& suspect = page.Report().Suspects.at(0);
  ASSERT_GE(form->MarkedShot, 0);
  EXPECT_EQ(form->Workbench.Network().LegOfShot.at(static_cast<size_t>(form->MarkedShot)), suspect.Leg);
  EXPECT_EQ(form->MarkedLoops, suspect.Loops);
  ASSERT_EQ(suspect.Loops.size(), 2u);
  EXPECT_EQ(form->LoopSpin->Value(), suspect.Loops[0]);
  EXPECT_TRUE(form->ShowLoops);
  EXPECT_EQ(form->DrawingState().MarkedEdge, form->MarkedShot);
  EXPECT_EQ(page.SuspectSourceLabel->text().toStdString(), source);
  EXPECT_EQ(form->statusBar()->currentMessage().toStdString(), "Suspect 1: g.b2 - g.b3, tape -5.000 m, " + source);

  // New loops drop the marks and the list, which named the old loops.
  form->SetOptimizeRadioIndex(0);
  Click(form->Button1);
  EXPECT_EQ(form->MarkedShot, -1);
  EXPECT_THAT(form->MarkedLoops, IsEmpty());
  EXPECT_EQ(page.SuspectGrid->rowCount(), 0);

  // A survey's drawing has a scale bar and a north arrow; a network without
  // raw data takes the page away, and a grid has neither.
  EXPECT_TRUE(form->ScrollBox1->findChild<QWidget*>(QStringLiteral("ScaleBar"))->isVisible());
  EXPECT_TRUE(form->ScrollBox1->findChild<QWidget*>(QStringLiteral("NorthArrow"))->isVisible());
  EXPECT_DOUBLE_EQ(form->ScrollBox1->MetresPerUnit(), 1 / form->Workbench.Network().Scale);
  Click(form->GridBtn);
  EXPECT_LT(BlundersTab(), 0);
  EXPECT_FALSE(form->ScrollBox1->findChild<QWidget*>(QStringLiteral("ScaleBar"))->isVisible());
  EXPECT_EQ(form->ScrollBox1->MetresPerUnit(), 0);
}

TEST_F(SurveyWindow, BlundersWithoutRawDataSayWhatIsNeededAndChangeNothing) {
  Click(form->GridBtn);
  RunCommand([this] { form->BlundersPage->FindBlundersBtnClick(); });
  EXPECT_THAT(messages, ElementsAre(QStringLiteral("Loop misclosures need raw survey data: load a .svx survey")));
  EXPECT_EQ(form->OptimizeRadioIndex(), 0);
  EXPECT_EQ(form->Loops->Count(), 0);
  EXPECT_EQ(form->BlundersPage->SuspectGrid->rowCount(), 0);
}

}  // namespace
