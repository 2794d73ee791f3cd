#include "app/main_window.h"

#include <QAction>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <algorithm>
#include <cmath>

#include "app/drawing_size.h"
#include "app/help_window.h"
#include "app/paint_box.h"
#include "controls/integer_spin.h"
#include "draw/display_dialog.h"
#include "draw/drawing_index.h"
#include "draw/paint_area.h"

namespace {

constexpr int kPageControlWidth = 185;

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
      WorkGraph(std::make_unique<TSurveyGraph>()),
      ResultGraph(std::make_unique<TSurveyGraph>()),
      ShownGraph(WorkGraph.get()),
      Loops(std::make_unique<TLoopList>(5)),
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
  PageControl1->addTab(Scrollable(CreateGridPage()), QStringLiteral("Grid"));
  PageControl1->addTab(Scrollable(CreateSpanningPage()), QStringLiteral("Spanning"));
  PageControl1->addTab(Scrollable(CreateLoopsPage()), QStringLiteral("Loops"));
  PageControl1->setCurrentIndex(0);
  layout->addWidget(PageControl1);

  ScrollBox1 = new QScrollArea(central);
  ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
  ScrollBox1->setWidgetResizable(false);
  PaintBox1 = new TPaintBox([this](TCanvas& canvas, const TRect& visible) { PaintBox1Paint(canvas, visible); });
  PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
  PaintBox1->setFixedSize(kDefaultDrawingWidth, kDefaultDrawingHeight);
  ScrollBox1->setWidget(PaintBox1);
  layout->addWidget(ScrollBox1, 1);

  setCentralWidget(central);
  CreateMenus();
  resize(603, 455);
  ShowLoops = false;
}

TForm1::~TForm1() = default;

void TForm1::CreateMenus() {
  QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
  LoadFile1 = fileMenu->addAction(QStringLiteral("Load Graph File"));
  SaveFile1 = fileMenu->addAction(QStringLiteral("Save Graph File"));
  SaveMetafile1 = fileMenu->addAction(QStringLiteral("Save Metafile"));
  QMenu* optionsMenu = menuBar()->addMenu(QStringLiteral("Options"));
  LoopDisplay1 = optionsMenu->addAction(QStringLiteral("Loop Display..."));
  QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("Help"));
  Help2 = helpMenu->addAction(QStringLiteral("Help"));

  LoadFile1->setObjectName(QStringLiteral("LoadFile1"));
  SaveFile1->setObjectName(QStringLiteral("SaveFile1"));
  SaveMetafile1->setObjectName(QStringLiteral("SaveMetafile1"));
  LoopDisplay1->setObjectName(QStringLiteral("LoopDisplay1"));
  Help2->setObjectName(QStringLiteral("Help2"));

  Connect(LoadFile1, &QAction::triggered, &TForm1::LoadFile1Click);
  Connect(SaveFile1, &QAction::triggered, &TForm1::SaveFile1Click);
  Connect(SaveMetafile1, &QAction::triggered, &TForm1::SaveMetafile1Click);
  Connect(LoopDisplay1, &QAction::triggered, &TForm1::LoopDisplay1Click);
  Connect(Help2, &QAction::triggered, &TForm1::Help2Click);
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
  ShownGraph = &graph;
  SetShowLoops(false);
}

void TForm1::FitDrawingArea(const TSurveyGraph& graph) {
  PaintBox1->setFixedSize(FittedDrawingSize(graph.MaxCorner, ScreenSize()));
}

void TForm1::PaintBox1Paint(TCanvas& canvas) const {
  PaintDrawingArea(canvas, {ShowLoops, ShownGraph, WorkGraph.get(), Loops.get(), LoopSpin->Value()}, DisplaySettings);
}

void TForm1::PaintBox1Paint(TCanvas& canvas, const TRect& visible) const {
  PaintDrawingArea(canvas, {ShowLoops, ShownGraph, WorkGraph.get(), Loops.get(), LoopSpin->Value()}, DisplaySettings,
                   *DrawingIndex, visible);
}

void TForm1::OriginalBtnClick() { ShowGraph(*WorkGraph); }

void TForm1::ResultBtnClick() { ShowGraph(*ResultGraph); }

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

void TForm1::ReplaceWorkGraph(TSurveyGraph& filled) {
  WorkGraph->Swap(filled);
  ClearLoopBrowser();
  ShowGraph(*WorkGraph);
}
