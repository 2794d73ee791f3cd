#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <set>
#include <stdexcept>

#include "app/application.h"
#include "app/automation.h"
#include "app/drawing_size.h"
#include "app/help_window.h"
#include "controls/integer_spin.h"
#include "core/errors.h"
#include "render_qt/display_dialog.h"
#include "render_qt/paint_box.h"
#include "tests/app/app_test_support.h"

namespace {

using ::testing::ElementsAre;

QString LabelOf(QWidget* field) {
  auto* form = qobject_cast<QFormLayout*>(field->parentWidget()->layout());
  if (!form) return {};
  auto* label = qobject_cast<QLabel*>(form->labelForField(field));
  return label ? label->text() : QString();
}

struct TSpinDefaults {
  int64_t Min, Max, Step, Value;
};

void ExpectSpin(TIntegerSpin* spin, TSpinDefaults expected) {
  SCOPED_TRACE(spin->objectName().toStdString());
  EXPECT_EQ(spin->MinValue(), expected.Min);
  EXPECT_EQ(spin->MaxValue(), expected.Max);
  EXPECT_EQ(spin->Increment(), expected.Step);
  EXPECT_EQ(spin->Value(), expected.Value);
  EXPECT_TRUE(spin->UseLimit());
}

using MainWindow = TWindowTest;

TEST_F(MainWindow, StartsWithTheSpecifiedLayoutAndState) {
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Cyclorn"));
  // 603 x 455 at least; taller and wider where this font's pages need it,
  // so that every page shows whole, without scrolling and nothing cut off.
  EXPECT_EQ(form->width(), 603);
  EXPECT_GE(form->height(), 455);
  EXPECT_GE(form->PageControl1->width(), 185);
  form->show();
  for (int page = 0; page < form->PageControl1->count(); ++page) {
    form->PageControl1->setCurrentIndex(page);
    QTest::qWait(0);
    auto* area = qobject_cast<QScrollArea*>(form->PageControl1->widget(page));
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->verticalScrollBar()->maximum(), 0) << page;
    EXPECT_GE(area->widget()->width(), area->widget()->minimumSizeHint().width()) << page;
  }
  form->PageControl1->setCurrentIndex(0);
  ASSERT_EQ(form->PageControl1->count(), 3);
  EXPECT_EQ(form->PageControl1->tabText(0), QStringLiteral("Grid"));
  EXPECT_EQ(form->PageControl1->tabText(1), QStringLiteral("Spanning"));
  EXPECT_EQ(form->PageControl1->tabText(2), QStringLiteral("Loops"));
  EXPECT_EQ(form->PageControl1->currentIndex(), 0);
  EXPECT_EQ(form->PaintBox1->size(), QSize(1024, 768));
  EXPECT_EQ(form->ScrollBox1->widget(), form->PaintBox1);

  EXPECT_EQ(form->ShownGraph, form->WorkGraph.get());
  EXPECT_FALSE(form->ShowLoops);
  EXPECT_EQ(form->WorkGraph->StationCount(), 0);
  EXPECT_EQ(form->ResultGraph->StationCount(), 0);
  EXPECT_EQ(form->Loops->Count(), 0);
  EXPECT_EQ(form->DisplaySettings, TDisplaySettings{});
  EXPECT_NE(form->DisplayDialog(), nullptr);
}

TEST_F(MainWindow, MenusCarryTheirCaptions) {
  const QList<QAction*> menus = form->menuBar()->actions();
  ASSERT_EQ(menus.size(), 4);
  EXPECT_EQ(menus[0]->text(), QStringLiteral("&File"));
  EXPECT_EQ(menus[1]->text(), QStringLiteral("Options"));
  EXPECT_EQ(menus[2]->text(), QStringLiteral("View"));
  EXPECT_EQ(menus[3]->text(), QStringLiteral("Help"));
  QStringList viewItems;
  for (QAction* item : menus[2]->menu()->actions()) viewItems.append(item->text());
  EXPECT_EQ(viewItems, (QStringList{QStringLiteral("Zoom In"), QStringLiteral("Zoom Out"),
                                    QStringLiteral("Fit to Window"), QStringLiteral("Actual Size")}));
  EXPECT_EQ(form->ZoomIn1->shortcut(), QKeySequence(Qt::Key_Plus));
  EXPECT_EQ(form->ZoomOut1->shortcut(), QKeySequence(Qt::Key_Minus));
  QStringList fileItems;
  for (QAction* item : menus[0]->menu()->actions()) fileItems.append(item->text());
  EXPECT_EQ(fileItems, (QStringList{QStringLiteral("Load Graph File"), QStringLiteral("Open Survey..."),
                                    QStringLiteral("Save Graph File"), QStringLiteral("Save Metafile")}));
  EXPECT_EQ(menus[1]->menu()->actions().value(0), form->LoopDisplay1);
  EXPECT_EQ(form->LoopDisplay1->text(), QStringLiteral("Loop Display..."));
  EXPECT_EQ(menus[3]->menu()->actions().value(0), form->Help2);
  EXPECT_EQ(form->Help2->text(), QStringLiteral("Help"));
}

TEST_F(MainWindow, GridPageControlsHaveTheirRangesDefaultsAndCaptions) {
  ExpectSpin(form->ColumnSpin, {1, 50, 1, 3});
  ExpectSpin(form->RowSpin, {1, 50, 1, 2});
  ExpectSpin(form->DensitySpin, {0, 100, 5, 100});
  ExpectSpin(form->RandomSpin, {0, 75, 5, 0});
  ExpectSpin(form->SpaceXSpin, {10, 1000, 1, 70});
  ExpectSpin(form->SpaceYSpin, {10, 1000, 1, 70});
  EXPECT_EQ(LabelOf(form->ColumnSpin), QStringLiteral("X Size"));
  EXPECT_EQ(LabelOf(form->RowSpin), QStringLiteral("Y Size"));
  EXPECT_EQ(LabelOf(form->DensitySpin), QStringLiteral("Density"));
  EXPECT_EQ(LabelOf(form->RandomSpin), QStringLiteral("Randomness"));
  EXPECT_EQ(LabelOf(form->SpaceXSpin), QStringLiteral("X"));
  EXPECT_EQ(LabelOf(form->SpaceYSpin), QStringLiteral("Y"));
  EXPECT_EQ(form->DensitySpin->UnitsString(), QStringLiteral("%"));
  EXPECT_EQ(form->RandomSpin->UnitsString(), QStringLiteral("%"));
  EXPECT_EQ(qobject_cast<QGroupBox*>(form->ColumnSpin->parentWidget())->title(), QStringLiteral("Grid Parameters"));
  EXPECT_EQ(qobject_cast<QGroupBox*>(form->SpaceXSpin->parentWidget())->title(), QStringLiteral("Grid Spacing"));
  EXPECT_EQ(qobject_cast<QGroupBox*>(form->Problem1->parentWidget())->title(), QStringLiteral("Problem Grids"));

  EXPECT_EQ(form->BorderedChk->text(), QStringLiteral("Bordered"));
  EXPECT_TRUE(form->BorderedChk->isChecked());
  EXPECT_EQ(form->SparseChk->text(), QStringLiteral("Skip Rows"));
  EXPECT_FALSE(form->SparseChk->isChecked());
  EXPECT_EQ(form->GridBtn->text(), QStringLiteral("Build Gridded Graph"));
  EXPECT_EQ(form->Button3->text(), QStringLiteral("Build Non-Gridded Graph"));
  const QPushButton* problems[] = {form->Problem1,    form->Problem2Btn, form->Problem3Btn,
                                   form->Problem4Btn, form->Problem5Btn, form->Problem6Btn};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(problems[i]->text(), QStringLiteral("Grid-%1").arg(i + 1));
}

TEST_F(MainWindow, SpanningAndLoopsPageControlsHaveTheirDefaultsAndCaptions) {
  EXPECT_EQ(form->PrimBtn->text(), QStringLiteral("Breadth First (Prim)"));
  EXPECT_EQ(form->ByIncidenceChk->text(), QStringLiteral("Favor High Order"));
  EXPECT_FALSE(form->ByIncidenceChk->isChecked());
  EXPECT_EQ(form->DepthFirstBtn->text(), QStringLiteral("Depth First Tree"));
  EXPECT_EQ(form->OriginalBtn->text(), QStringLiteral("Original"));
  EXPECT_EQ(form->ResultBtn->text(), QStringLiteral("Result"));
  EXPECT_EQ(form->AdjacencyBtn->text(), QStringLiteral("Show Adjacency"));
  EXPECT_EQ(form->SequenceBtn->text(), QStringLiteral("Show Sequence"));
  EXPECT_EQ(form->ParentsBtn->text(), QStringLiteral("Show Parents"));
  EXPECT_EQ(form->IndexBtn->text(), QStringLiteral("Show Indexes"));
  EXPECT_EQ(form->OptimizeBtn->text(), QStringLiteral("Optimize List"));
  EXPECT_TRUE(form->GraphMemo->toPlainText().isEmpty());

  EXPECT_EQ(form->Button1->text(), QStringLiteral("Find Loops"));
  EXPECT_EQ(form->Button2->text(), QStringLiteral("Original"));
  ExpectSpin(form->LoopSpin, {0, 0, 1, 0});
  EXPECT_TRUE(form->LoopCntDis->text().isEmpty());
  EXPECT_EQ(form->OptimiseChk->text(), QStringLiteral("Optimize"));
  EXPECT_TRUE(form->OptimiseChk->isChecked());
  EXPECT_EQ(form->OptimizeRadio->title(), QStringLiteral("Opitimize By"));
  EXPECT_EQ(form->OptimizeRadioIndex(), 0);
  EXPECT_EQ(form->OptimizeRadioItems->button(0)->text(), QStringLiteral("Shortest"));
  EXPECT_EQ(form->OptimizeRadioItems->button(1)->text(), QStringLiteral("Overlap"));
  EXPECT_EQ(form->OptimizeRadioItems->button(2)->text(), QStringLiteral("Minimal"));
  EXPECT_EQ(form->OptimizeRadioItems->buttons().size(), 3);
  EXPECT_TRUE(form->LoopQualityLabel->text().isEmpty());

  // Before the first search: ten rows, the header row without headers.
  EXPECT_EQ(LoopGridRowCount(), 10);
  EXPECT_THAT(LoopGridRow(0), ElementsAre("", "", "", "", "", ""));
  EXPECT_EQ(form->LoopGrid->model()->columnCount(), 6);
  const int widths[] = {19, 23, 23, 23, 23, 23};
  for (int column = 0; column < 6; ++column) EXPECT_EQ(form->LoopGrid->columnWidth(column), widths[column]);
  EXPECT_EQ(form->LoopGrid->verticalHeader()->defaultSectionSize(), 17);
  EXPECT_EQ(form->LoopGrid->selectionBehavior(), QAbstractItemView::SelectRows);
}

TEST_F(MainWindow, ResultBeforeAnyTreeShowsTheEmptyResultGraphAndOriginalShowsTheWorkGraphAgain) {
  Click(form->Problem1);
  form->PageControl1->setCurrentIndex(1);
  Click(form->ResultBtn);
  EXPECT_EQ(form->ShownGraph, form->ResultGraph.get());
  EXPECT_EQ(form->ShownGraph->StationCount(), 0);
  EXPECT_FALSE(form->ShowLoops);
  Click(form->OriginalBtn);
  EXPECT_EQ(form->ShownGraph, form->WorkGraph.get());

  form->PageControl1->setCurrentIndex(2);
  Click(form->Button1);
  EXPECT_TRUE(form->ShowLoops);
  Click(form->Button2);
  EXPECT_FALSE(form->ShowLoops);
  EXPECT_EQ(form->ShownGraph, form->WorkGraph.get());
}

TEST_F(MainWindow, AScriptPressesControlsByNameAndSavesPictures) {
  const QString picture = TempPath(QStringLiteral("grid.png"));
  EXPECT_TRUE(RunScript(*form, QStringLiteral("click Problem2Btn; page 2; click Button1; grab ") + picture).isEmpty());
  EXPECT_EQ(form->WorkGraph->StationCount(), 20);
  EXPECT_EQ(form->Loops->Count(), 10);
  EXPECT_EQ(form->PageControl1->currentIndex(), 2);
  EXPECT_EQ(QImage(picture).size(), QSize(1024, 768));

  // The first step that cannot run stops the script.
  EXPECT_EQ(RunScript(*form, QStringLiteral("click Problem1;click NoSuchButton;click Problem2Btn")),
            QStringLiteral("unknown control: NoSuchButton"));
  EXPECT_EQ(form->Loops->Count(), 0);  // Grid-1 ran and cleared the loops; Grid-2 did not run
  EXPECT_EQ(form->WorkGraph->Edges.Count(), 16);
  EXPECT_EQ(RunScript(*form, QStringLiteral("page 3")), QStringLiteral("no such page: 3"));
  EXPECT_EQ(RunScript(*form, QStringLiteral("jump")), QStringLiteral("unknown step: jump"));
  EXPECT_TRUE(RunScript(*form, QStringLiteral("labels junctions")).isEmpty());
  EXPECT_EQ(form->DisplaySettings.LabelShow, lsJunctions);
  EXPECT_EQ(RunScript(*form, QStringLiteral("labels some")), QStringLiteral("labels takes all, junctions or none: some"));
  EXPECT_EQ(form->DisplaySettings.LabelShow, lsJunctions);
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MainWindow, EveryControlAUserCanPressHasItsOwnNameForScripts) {
  form->CreateDisplayDialog();
  std::set<QString> names;
  const auto check = [&](QObject* control, const char* kind) {
    const QString name = control->objectName();
    EXPECT_FALSE(name.isEmpty()) << kind << " " << control->property("text").toString().toStdString() << " in "
                                 << control->parent()->objectName().toStdString() << " "
                                 << control->parent()->metaObject()->className();
    if (!name.isEmpty()) {
      EXPECT_TRUE(names.insert(name).second) << "twice: " << name.toStdString();
    }
  };
  // The pages, the dialog and the Blunders page while it is no tab are all the window's children.
  for (QWidget* root : {static_cast<QWidget*>(form.get())}) {
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
      // A tab bar's scroll arrows and a table's corner button are the toolkit's own.
      if (button->parent()->inherits("QTabBar") || button->parent()->inherits("QAbstractItemView")) continue;
      check(button, "button");
    }
    for (QAction* action : root->findChildren<QAction*>()) {
      if (!action->isSeparator() && !action->text().isEmpty() && action->menu() == nullptr) check(action, "action");
    }
  }
  // The arrows of the loop chooser, by the chooser's name.
  form->SetOptimizeRadioIndex(2);
  Click(form->Problem2Btn);
  EXPECT_TRUE(RunScript(*form, QStringLiteral("click Button1; click LoopSpinUp; click LoopSpinUp; click LoopSpinDown"))
                  .isEmpty());
  EXPECT_EQ(form->LoopSpin->Value(), 1);
  EXPECT_TRUE(RunScript(*form, QStringLiteral("click ShortestRadio")).isEmpty());
  EXPECT_EQ(form->OptimizeRadioIndex(), 0);
}

TEST_F(MainWindow, AScriptLoadsAGraphFileAndScrollsTheDrawing) {
  form->resize(700, 500);
  EXPECT_TRUE(RunScript(*form, QStringLiteral("load ") + DataPath(QStringLiteral("square.grf"))).isEmpty());
  EXPECT_EQ(form->WorkGraph->StationCount(), 4);

  form->PaintBox1->setFixedSize(40000, 4000);
  EXPECT_TRUE(RunScript(*form, QStringLiteral("scroll 1200 800")).isEmpty());
  EXPECT_EQ(form->ScrollBox1->horizontalScrollBar()->value(), 1200);
  EXPECT_EQ(form->ScrollBox1->verticalScrollBar()->value(), 800);
  EXPECT_EQ(RunScript(*form, QStringLiteral("scroll 12")), QStringLiteral("scroll needs two whole numbers: 12"));
  EXPECT_EQ(RunScript(*form, QStringLiteral("scroll a b")), QStringLiteral("scroll needs two whole numbers: a b"));
  EXPECT_EQ(RunScript(*form, QStringLiteral("load")), QStringLiteral("unknown step: load"));
  // A drawing too large for one picture is refused rather than half made.
  const QString picture = TempPath(QStringLiteral("huge.png"));
  EXPECT_EQ(RunScript(*form, QStringLiteral("grab ") + picture),
            QStringLiteral("too large to grab (40000 x 4000): ") + picture);
  EXPECT_FALSE(QFile::exists(picture));
  EXPECT_TRUE(RunScript(*form, QStringLiteral("grab-window ") + picture).isEmpty());
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MainWindow, LoopDisplayOpensTheOptionsDialogOnTheWindowsOwnSettings) {
  bool wasOpen = false;
  // The dialog is modal: act in it once it runs, then close it.
  QTimer::singleShot(0, form.get(), [this, &wasOpen] {
    TDisplayDlg* dialog = form->DisplayDialog();
    wasOpen = dialog->isVisible();
    dialog->findChild<QCheckBox*>(QStringLiteral("ShowArrowChk"))->click();
    dialog->reject();
  });
  form->LoopDisplay1->trigger();
  EXPECT_TRUE(wasOpen);
  EXPECT_FALSE(form->DisplayDialog()->isVisible());
  // Cancel puts back the settings the dialog opened with.
  EXPECT_TRUE(form->DisplaySettings.ShowArrow);
  EXPECT_TRUE(messages.isEmpty());
}

TEST(FittedDrawingSize, IsTheFarCornerPlusMarginButAtLeastTheScreen) {
  const QSize screen(1280, 1024);
  EXPECT_EQ(FittedDrawingSize(Vec3{300, 200, 0}, screen), QSize(1280, 1024));
  EXPECT_EQ(FittedDrawingSize(Vec3{2000, 500, 0}, screen), QSize(2025, 1024));
  // Integer part, truncated towards zero.
  EXPECT_EQ(FittedDrawingSize(Vec3{1999.9, 1500.99, 0}, screen), QSize(2024, 1525));
  // An empty graph's far corner and an absurd one stay within a widget's reach.
  EXPECT_EQ(FittedDrawingSize(Vec3{-9.9e99, -9.9e99, 0}, screen), screen);
  EXPECT_EQ(FittedDrawingSize(Vec3{9.9e99, 3000, 0}, screen), QSize(kMaxDrawingSide, 3025));
}

TEST_F(MainWindow, ADrawingAreaThatCannotReachTheNetworkSaysSoOnTheStatusLine) {
  TSurveyGraph far;
  far.AddStation("A", Vec3{2e7, 2e7, 0});
  form->FitDrawingArea(far);
  EXPECT_EQ(form->PaintBox1->size(), QSize(kMaxDrawingSide, kMaxDrawingSide));
  EXPECT_EQ(form->statusBar()->currentMessage(),
            QStringLiteral("The drawing area reaches only 16777214 pixels a side; stations out to (2e+07, 2e+07) lie "
                           "beyond it"));
  far.AddStation("B", Vec3{2e7, 3e6, 0});
  // Fitted to a network it holds, the area is its own size and the note goes.
  TSurveyGraph near;
  near.AddStation("A", Vec3{2000, 500, 0});
  form->FitDrawingArea(near);
  EXPECT_EQ(form->PaintBox1->size(), QSize(2025, 1024));
  EXPECT_EQ(form->statusBar()->currentMessage(), QString());
}

TEST_F(MainWindow, FitDrawingAreaUsesTheScreenSize) {
  TSurveyGraph graph;
  graph.AddStation("A", Vec3{2000, 500, 0});
  form->FitDrawingArea(graph);
  EXPECT_EQ(form->PaintBox1->size(), QSize(2025, 1024));
  form->ScreenSize = [] { return QSize(800, 600); };
  graph.AddStation("B", Vec3{300, 700, 0});
  form->FitDrawingArea(graph);
  EXPECT_EQ(form->PaintBox1->size(), QSize(2025, 725));
}

TEST_F(MainWindow, HelpOpensTheCompiledHelpTextOnce) {
  form->Help2->trigger();
  auto* help = form->findChild<THelpWindow*>();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  const QString text = help->Browser->toPlainText();
  EXPECT_TRUE(text.contains(QStringLiteral("closing edge"))) << text.left(200).toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Find Loops")));
  EXPECT_TRUE(text.contains(QStringLiteral("Cl1")));
  form->Help2->trigger();
  EXPECT_EQ(form->findChildren<THelpWindow*>().size(), 1);
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MainWindow, AHelpFileThatIsNotThereIsReported) {
  SetApplicationHelpFile(QStringLiteral("OTHER.HLP"));
  form->Help2->trigger();
  EXPECT_THAT(messages, ElementsAre(QStringLiteral("Cannot open the help file \"OTHER.HLP\"")));
  EXPECT_EQ(form->findChild<THelpWindow*>(), nullptr);
}

// An object whose event handler fails, as a command would.
class TFailingReceiver : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) throw EEmptyArrayAllocation();
    return QObject::event(event);
  }
};

TEST(ErrorHandler, ShowsTheMessageOfAFailureThatLeavesAnEventAndCarriesOn) {
  EnsureApplication();
  QStringList shown;
  SetErrorPresenter([&shown](const QString& message) { shown.append(message); });
  TFailingReceiver receiver;
  QEvent first(QEvent::User);
  EXPECT_FALSE(QApplication::sendEvent(&receiver, &first));
  QEvent second(QEvent::User);
  QApplication::sendEvent(&receiver, &second);
  EXPECT_THAT(shown, ElementsAre(QStringLiteral("Empty Array Allocation"), QStringLiteral("Empty Array Allocation")));
  SetErrorPresenter({});
}

TEST(ErrorHandler, RunCommandShowsTheMessageAndReturns) {
  QStringList shown;
  SetErrorPresenter([&shown](const QString& message) { shown.append(message); });
  bool after = false;
  RunCommand([] { throw std::runtime_error("Disk full"); });
  RunCommand([&after] { after = true; });
  EXPECT_THAT(shown, ElementsAre(QStringLiteral("Disk full")));
  EXPECT_TRUE(after);
  SetErrorPresenter({});
}

}  // namespace
