#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <tuple>
#include <utility>

#include "app/application.h"
#include "app/blunders_page.h"
#include "app/drawing_size.h"
#include "app/grid_page.h"
#include "app/help_window.h"
#include "app/loops_page.h"
#include "app/spanning_page.h"
#include "controls/integer_spin.h"
#include "render/drawing_index.h"
#include "render/paint_area.h"
#include "render_qt/display_dialog.h"
#include "render_qt/drawing_view.h"
#include "render_qt/paint_box.h"
#include "workbench/drawing_details.h"

namespace {

constexpr int kPageControlWidth = 185;
constexpr int kDefaultWindowWidth = 603;
constexpr int kDefaultWindowHeight = 455;
// Room around stations for their labels when a part of the drawing is brought into view.
constexpr double kLabelRoom = 25;
// Below this zoom the screen draws no labels (an 11-pixel font would be under 4 pixels).
constexpr double kLabelZoomLimit = 0.35;
// How near, in screen pixels, a click must land to a station to tell about it.
constexpr double kClickRadius = 8;

// The box around the stations of a loop's edges that are stations of the graph.
QRectF StationBox(const TSurveyGraph& graph, const TEdgeArray& loop) {
  double left = 0, top = 0, right = -1, bottom = -1;
  bool any = false;
  for (int32_t k = 0; k < loop.Count(); ++k) {
    const TEdgeRec edge = loop.GetEdge(k);
    for (const int32_t station : {edge.From, edge.To}) {
      if (station < 0 || station >= graph.StationCount()) continue;
      const Vec3 p = graph.Positions.Get(station);
      left = any ? std::min(left, p.X) : p.X;
      right = any ? std::max(right, p.X) : p.X;
      top = any ? std::min(top, p.Y) : p.Y;
      bottom = any ? std::max(bottom, p.Y) : p.Y;
      any = true;
    }
  }
  return any ? QRectF(QPointF(left, top), QPointF(right, bottom)) : QRectF();
}

// The pages hold more controls than a small window has room for; each page
// scrolls rather than forcing the window larger.
QScrollArea* Scrollable(QWidget* page) {
  auto* area = new QScrollArea;
  area->setWidgetResizable(true);
  area->setFrameShape(QFrame::NoFrame);
  area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area->setWidget(page);
  return area;
}

QSize PrimaryScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->size() : QSize(kDefaultDrawingWidth, kDefaultDrawingHeight);
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent),
      ScreenSize(PrimaryScreenSize),
      ChooseFile(RunFileDialog),
      DrawingIndex(std::make_unique<TDrawingIndex>()) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Cyclorn"));
  // The window's font, with narrow stand-ins where it is not installed.
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                    QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                    QStringLiteral("DejaVu Sans Condensed")});
  font.setPixelSize(11);
  setFont(font);

  auto* central = new QWidget(this);
  auto* layout = new QHBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  PageControl1 = new QTabWidget(central);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  PageControl1->setFixedWidth(kPageControlWidth);
  GridPage = new TGridPage(*this);
  SpanningPage = new TSpanningPage(*this);
  LoopsPage = new TLoopsPage(*this);
  BlundersPage = new TBlundersPage(*this);
  PageControl1->addTab(Scrollable(GridPage), QStringLiteral("Grid"));
  PageControl1->addTab(Scrollable(SpanningPage), QStringLiteral("Spanning"));
  PageControl1->addTab(Scrollable(LoopsPage), QStringLiteral("Loops"));
  // The "Blunders" page is a tab only while the network has raw data.
  BlundersArea = Scrollable(BlundersPage);
  BlundersArea->setParent(central);
  BlundersArea->hide();
  PageControl1->setCurrentIndex(0);
  layout->addWidget(PageControl1);
  TakeControlsOfPages();
  // 185 wide, or as wide as the widest page needs in this font, so that no control is cut off.
  int widest = 0;
  for (QWidget* page : std::initializer_list<QWidget*>{GridPage, SpanningPage, LoopsPage, BlundersPage})
    widest = std::max(widest, page->minimumSizeHint().width());
  PageControl1->setFixedWidth(
      std::max(kPageControlWidth, widest + 2 * PageControl1->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 2));

  PaintBox1 = new TPaintBox([this](TCanvas& canvas, const TRect& visible) { PaintBox1Paint(canvas, visible); });
  PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
  PaintBox1->SetAreaSize(QSize(kDefaultDrawingWidth, kDefaultDrawingHeight));
  ScrollBox1 = new TDrawingView(PaintBox1, central);
  ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
  layout->addWidget(ScrollBox1, 1);
  connect(ScrollBox1, &TDrawingView::Clicked, this,
          [this](QPointF point) { RunCommand([this, point] { DrawingClicked(point); }); });

  setCentralWidget(central);
  CreateMenus();
  // The status line tells what a load noticed; it is there from the start
  // so the drawing area keeps its size.
  statusBar()->setObjectName(QStringLiteral("StatusBar1"));
  // 603 x 455, or taller where the pages need it to show whole (as far as the screen allows).
  resize(kDefaultWindowWidth, DefaultWindowHeight());
  ShowLoops = false;
}

TForm1::~TForm1() = default;

int TForm1::DefaultWindowHeight() const {
  int pages = 0;
  for (QWidget* page : std::initializer_list<QWidget*>{GridPage, SpanningPage, LoopsPage, BlundersPage})
    pages = std::max(pages, page->sizeHint().height());
  // The tab bar, the page frame, the menu bar and the status line around the pages.
  const int needed = pages + PageControl1->tabBar()->sizeHint().height() +
                     2 * PageControl1->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) +
                     menuBar()->sizeHint().height() + statusBar()->sizeHint().height() + 8;
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int room = screen != nullptr ? screen->availableGeometry().height() : needed;
  return std::max(kDefaultWindowHeight, std::min(needed, room));
}

void TForm1::TakeControlsOfPages() {
  ColumnSpin = GridPage->ColumnSpin;
  RowSpin = GridPage->RowSpin;
  DensitySpin = GridPage->DensitySpin;
  RandomSpin = GridPage->RandomSpin;
  BorderedChk = GridPage->BorderedChk;
  SpaceXSpin = GridPage->SpaceXSpin;
  SpaceYSpin = GridPage->SpaceYSpin;
  SparseChk = GridPage->SparseChk;
  GridBtn = GridPage->GridBtn;
  Button3 = GridPage->Button3;
  Problem1 = GridPage->Problem1;
  Problem2Btn = GridPage->Problem2Btn;
  Problem3Btn = GridPage->Problem3Btn;
  Problem4Btn = GridPage->Problem4Btn;
  Problem5Btn = GridPage->Problem5Btn;
  Problem6Btn = GridPage->Problem6Btn;

  PrimBtn = SpanningPage->PrimBtn;
  ByIncidenceChk = SpanningPage->ByIncidenceChk;
  DepthFirstBtn = SpanningPage->DepthFirstBtn;
  OriginalBtn = SpanningPage->OriginalBtn;
  ResultBtn = SpanningPage->ResultBtn;
  AdjacencyBtn = SpanningPage->AdjacencyBtn;
  SequenceBtn = SpanningPage->SequenceBtn;
  ParentsBtn = SpanningPage->ParentsBtn;
  IndexBtn = SpanningPage->IndexBtn;
  OptimizeBtn = SpanningPage->OptimizeBtn;
  GraphMemo = SpanningPage->GraphMemo;

  Button1 = LoopsPage->Button1;
  LoopSpin = LoopsPage->LoopSpin;
  LoopCntDis = LoopsPage->LoopCntDis;
  LoopQualityLabel = LoopsPage->LoopQualityLabel;
  LoopGrid = LoopsPage->LoopGrid;
  LoopGridModel = LoopsPage->LoopGridModel;
  OptimiseChk = LoopsPage->OptimiseChk;
  OptimizeRadio = LoopsPage->OptimizeRadio;
  OptimizeRadioItems = LoopsPage->OptimizeRadioItems;
  SubTimer1 = LoopsPage->SubTimer1;
  Button2 = LoopsPage->Button2;
}

void TForm1::CreateMenus() {
  QMenu* fileMenu = FileMenu = menuBar()->addMenu(QStringLiteral("&File"));
  LoadFile1 = fileMenu->addAction(QStringLiteral("Load Graph File"));
  OpenSurvey1 = fileMenu->addAction(QStringLiteral("Open Survey..."));
  SaveFile1 = fileMenu->addAction(QStringLiteral("Save Graph File"));
  SaveMetafile1 = fileMenu->addAction(QStringLiteral("Save Metafile"));
  QMenu* optionsMenu = OptionsMenu = menuBar()->addMenu(QStringLiteral("Options"));
  LoopDisplay1 = optionsMenu->addAction(QStringLiteral("Loop Display..."));
  QMenu* legsMenu = optionsMenu->addMenu(QStringLiteral("Survey Legs"));
  SurveySplays1 = legsMenu->addAction(QStringLiteral("Splays"));
  SurveySurface1 = legsMenu->addAction(QStringLiteral("Surface Legs"));
  SurveyDuplicates1 = legsMenu->addAction(QStringLiteral("Duplicate Legs"));
  const TLegChoice legs = Workbench.LegChoice;
  for (const auto& [action, name, checked] : {std::tuple{SurveySplays1, "SurveySplays1", legs.Splays},
                                              std::tuple{SurveySurface1, "SurveySurface1", legs.Surface},
                                              std::tuple{SurveyDuplicates1, "SurveyDuplicates1", legs.Duplicates}}) {
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(true);
    action->setChecked(checked);
    ConnectCommand(action, &QAction::triggered, this, &TForm1::SurveyLegsChanged);
  }
  QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("View"));
  ZoomIn1 = viewMenu->addAction(QStringLiteral("Zoom In"));
  ZoomOut1 = viewMenu->addAction(QStringLiteral("Zoom Out"));
  FitToWindow1 = viewMenu->addAction(QStringLiteral("Fit to Window"));
  ActualSize1 = viewMenu->addAction(QStringLiteral("Actual Size"));
  ZoomIn1->setShortcuts({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal), QKeySequence::ZoomIn});
  ZoomOut1->setShortcuts({QKeySequence(Qt::Key_Minus), QKeySequence::ZoomOut});
  FitToWindow1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  ActualSize1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
  for (const auto& [action, name] : {std::pair{ZoomIn1, "ZoomIn1"}, std::pair{ZoomOut1, "ZoomOut1"},
                                     std::pair{FitToWindow1, "FitToWindow1"}, std::pair{ActualSize1, "ActualSize1"}})
    action->setObjectName(QString::fromLatin1(name));
  ConnectCommand(ZoomIn1, &QAction::triggered, ScrollBox1, &TDrawingView::ZoomIn);
  ConnectCommand(ZoomOut1, &QAction::triggered, ScrollBox1, &TDrawingView::ZoomOut);
  ConnectCommand(FitToWindow1, &QAction::triggered, this, &TForm1::FitToWindow1Click);
  ConnectCommand(ActualSize1, &QAction::triggered, ScrollBox1, &TDrawingView::ActualSize);
  QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("Help"));
  Help2 = helpMenu->addAction(QStringLiteral("Help"));

  LoadFile1->setObjectName(QStringLiteral("LoadFile1"));
  OpenSurvey1->setObjectName(QStringLiteral("OpenSurvey1"));
  SaveFile1->setObjectName(QStringLiteral("SaveFile1"));
  SaveMetafile1->setObjectName(QStringLiteral("SaveMetafile1"));
  LoopDisplay1->setObjectName(QStringLiteral("LoopDisplay1"));
  Help2->setObjectName(QStringLiteral("Help2"));

  ConnectCommand(LoadFile1, &QAction::triggered, this, &TForm1::LoadFile1Click);
  ConnectCommand(OpenSurvey1, &QAction::triggered, this, &TForm1::OpenSurvey1Click);
  ConnectCommand(SaveFile1, &QAction::triggered, this, &TForm1::SaveFile1Click);
  ConnectCommand(SaveMetafile1, &QAction::triggered, this, &TForm1::SaveMetafile1Click);
  ConnectCommand(LoopDisplay1, &QAction::triggered, this, &TForm1::LoopDisplay1Click);
  ConnectCommand(Help2, &QAction::triggered, this, &TForm1::Help2Click);
}

void TForm1::CreateDisplayDialog() {
  DisplayDlg = std::make_unique<TDisplayDlg>(
      DisplaySettings, [this] { PaintBox1->update(); }, this);
}

void TForm1::SetShowLoops(bool v) {
  DrawingIndex->Invalidate();
  ShowLoops = v;
  PaintBox1->update();
}

void TForm1::ShowGraph(TSurveyGraph& graph) {
  Workbench.ShowGraph(graph);
  SetShowLoops(false);
}

void TForm1::ShowChosenLoop() {
  ShowLoops = true;
  PaintBox1->update();
  // The chosen loop is brought into view, with room for its labels.
  const int64_t chosen = LoopSpin->Value();
  if (chosen < 0 || chosen >= Loops->Count()) return;
  const QRectF box = StationBox(*WorkGraph, Loops->LoopAt(static_cast<int32_t>(chosen)));
  if (box.isValid()) ScrollBox1->BringIntoView(box.adjusted(-kLabelRoom, -kLabelRoom, kLabelRoom, kLabelRoom));
}

void TForm1::DrawingClicked(QPointF point) {
  // A station within a few pixels of the click, however far the view is zoomed.
  const double radius = kClickRadius / ScrollBox1->Zoom();
  const int32_t station = StationNear(Workbench, point.x(), point.y(), radius);
  if (station >= 0) statusBar()->showMessage(QString::fromStdString(StationDetails(Workbench, station)));
}

void TForm1::FitToWindow1Click() {
  const TSurveyGraph* graph = ShowLoops ? WorkGraph.get() : ShownGraph;
  if (graph == nullptr || graph->StationCount() == 0) return;
  const QRectF box(QPointF(graph->MinCorner.X, graph->MinCorner.Y), QPointF(graph->MaxCorner.X, graph->MaxCorner.Y));
  ScrollBox1->FitRect(box.adjusted(-kLabelRoom, -kLabelRoom, kLabelRoom, kLabelRoom));
}

void TForm1::FitDrawingArea(const TSurveyGraph& graph) {
  PaintBox1->SetAreaSize(FittedDrawingSize(graph.MaxCorner, ScreenSize()));
  // A network too wide for the drawing area is said so on the status line,
  // until the area is fitted to one it can hold.
  const QString note = graph.StationCount() > 0 ? DrawingSizeNote(graph.MaxCorner) : QString();
  if (!note.isEmpty())
    statusBar()->showMessage(note);
  else if (!DrawingAreaNote.isEmpty() && statusBar()->currentMessage() == DrawingAreaNote)
    statusBar()->clearMessage();
  DrawingAreaNote = note;
}

void TForm1::SetDrawingAreaSize(QSize size) { PaintBox1->SetAreaSize(size); }

QSize TForm1::DrawingViewSize() const { return ScrollBox1->size(); }

void TForm1::WorkGraphReplaced() {
  LoopsReplaced();
  LoopsPage->ClearLoopBrowser();
  // A survey's drawing shows its scale and north.
  ScrollBox1->SetMetresPerUnit(Workbench.Survey() != nullptr ? 1 / Workbench.Network().Scale : 0);
  const int blundersTab = PageControl1->indexOf(BlundersArea);
  if (Workbench.HasRawData() && blundersTab < 0) {
    PageControl1->addTab(BlundersArea, QStringLiteral("Blunders"));
  } else if (!Workbench.HasRawData() && blundersTab >= 0) {
    PageControl1->removeTab(blundersTab);
    BlundersArea->hide();
  }
  ShowGraph(*WorkGraph);
}

void TForm1::KeepGridLoops() {
  LoopsReplaced();
  LoopsPage->KeepGridLoops();
}

void TForm1::LoopsReplaced() {
  MarkedShot = -1;
  MarkedLoops.clear();
  BlundersPage->ClearSuspects();
}

void TForm1::FindMinimalLoops() {
  LoopsPage->SetOptimizeRadioIndex(2);
  LoopsPage->Button1Click();
}

void TForm1::MarkSuspect(int32_t shot, std::vector<int32_t> loops) {
  MarkedShot = shot;
  MarkedLoops = std::move(loops);
  ShowLoops = true;
  if (!MarkedLoops.empty()) LoopsPage->ChooseLoop(MarkedLoops.front());
  PaintBox1->update();
}

void TForm1::ShowStatus(const QString& text) { statusBar()->showMessage(text); }

void TForm1::SetSearching(bool searching) {
  busy_ += searching ? 1 : -1;
  const bool idle = busy_ == 0;
  for (QWidget* page : std::initializer_list<QWidget*>{GridPage, SpanningPage, BlundersPage}) page->setEnabled(idle);
  // The loops page keeps its Stop button while its own search runs.
  if (!LoopsPage->Searching()) LoopsPage->setEnabled(idle);
  for (QMenu* menu : {FileMenu, OptionsMenu}) menu->menuAction()->setEnabled(idle);
  if (idle && closeAfterSearch_) QTimer::singleShot(0, this, &QWidget::close);
}

void TForm1::closeEvent(QCloseEvent* event) {
  // Work running on another thread reads the window's state: it ends first
  // (a loop search is stopped), then the window closes.
  if (busy_ > 0) {
    closeAfterSearch_ = true;
    LoopsPage->StopBtnClick();
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

void TForm1::SetTitle(const QString& title) { setWindowTitle(title); }

TDrawingState TForm1::DrawingState() const {
  TDrawingState state{ShowLoops, ShownGraph, WorkGraph.get(), Loops.get(), LoopSpin->Value()};
  state.LoopColors = LoopsPage->LoopColors();
  state.MarkedLoops = MarkedLoops;
  state.MarkedEdge = MarkedShot;
  return state;
}

void TForm1::PaintBox1Paint(TCanvas& canvas) const { PaintDrawingArea(canvas, DrawingState(), DisplaySettings); }

void TForm1::PaintBox1Paint(TCanvas& canvas, const TRect& visible) const {
  // Zoomed far out the labels would be specks over the lines: the screen leaves them out.
  TDisplaySettings settings = DisplaySettings;
  if (PaintBox1->Zoom() < kLabelZoomLimit) settings.LabelShow = lsNone;
  PaintDrawingArea(canvas, DrawingState(), settings, *DrawingIndex, visible);
}

int TForm1::LoopGridRow() const { return LoopsPage->LoopGridRow(); }
void TForm1::SetLoopGridRow(int row) { LoopsPage->SetLoopGridRow(row); }
int TForm1::OptimizeRadioIndex() const { return LoopsPage->OptimizeRadioIndex(); }
void TForm1::SetOptimizeRadioIndex(int index) { LoopsPage->SetOptimizeRadioIndex(index); }
void TForm1::FillLoopGrid() { LoopsPage->FillLoopGrid(); }

void TForm1::Help2Click() {
  if (!HelpWindow) HelpWindow = new THelpWindow(ApplicationHelpFile(), this);
  HelpWindow->show();
  HelpWindow->raise();
  HelpWindow->activateWindow();
}

void TForm1::LoopDisplay1Click() {
  if (!DisplayDlg) CreateDisplayDialog();
  DisplayDlg->exec();
  PaintBox1->update();
}
