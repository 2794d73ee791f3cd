#pragma once
// TForm1: the workbench's one main window. It owns the application state (the
// work graph, the result graph, the loop list and the drawing switches) and
// turns every button, check box and menu item into a call of the library that
// does the work. The controls are public so that tests drive the real window.

#include <QMainWindow>
#include <QSize>
#include <functional>
#include <memory>

#include "app/application.h"
#include "app/file_commands.h"
#include "core/owned_lists.h"
#include "core/survey_graph.h"
#include "draw/display_settings.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTableView;
class QTabWidget;
class TCanvas;
class TDisplayDlg;
class TDrawingIndex;
struct TRect;
class THelpWindow;
class TIntegerSpin;
class TLoopGridModel;
class TPaintBox;
class TSubTimer;

class TForm1 final : public QMainWindow {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TForm1)

 public:
  // Creates the window and its state (FormCreate): two empty graphs, an empty
  // loop list, the work graph shown in the plain graph view.
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // Creates the display options dialog; program start calls it after the window.
  void CreateDisplayDialog();
  TDisplayDlg* DisplayDialog() const { return DisplayDlg.get(); }

  // ShowLoops := v, then asks for a repaint of the drawing area. A command
  // ends with it when it changed what is drawn, so it also drops the drawing index.
  void SetShowLoops(bool v);
  // Makes `graph` the shown graph in the plain graph view.
  void ShowGraph(TSurveyGraph& graph);
  // Sizes the drawing area to the graph's far corner plus 25, at least the screen size.
  void FitDrawingArea(const TSurveyGraph& graph);
  // Draws what the drawing area shows now: the loops over the work graph or the shown graph.
  void PaintBox1Paint(TCanvas& canvas) const;
  // The same, only where it shows in `visible` (the canvas's clip), found
  // through DrawingIndex.
  void PaintBox1Paint(TCanvas& canvas, const TRect& visible) const;

  // Screen size used by FitDrawingArea; the primary screen's unless replaced (tests).
  std::function<QSize()> ScreenSize;
  // Asks for a file name (empty: cancelled); a file dialog unless replaced (tests).
  TFileChooser ChooseFile;

  // Application state.
  std::unique_ptr<TSurveyGraph> WorkGraph;
  std::unique_ptr<TSurveyGraph> ResultGraph;
  TSurveyGraph* ShownGraph = nullptr;
  std::unique_ptr<TLoopList> Loops;
  bool ShowLoops = false;
  TDisplaySettings DisplaySettings;
  // Where the edges and loops lie, for repainting part of the drawing area.
  std::unique_ptr<TDrawingIndex> DrawingIndex;

  // Layout.
  QTabWidget* PageControl1 = nullptr;
  QScrollArea* ScrollBox1 = nullptr;
  TPaintBox* PaintBox1 = nullptr;

  // Menus.
  QAction* LoadFile1 = nullptr;
  QAction* SaveFile1 = nullptr;
  QAction* SaveMetafile1 = nullptr;
  QAction* LoopDisplay1 = nullptr;
  QAction* Help2 = nullptr;

  // "Grid" page.
  TIntegerSpin* ColumnSpin = nullptr;
  TIntegerSpin* RowSpin = nullptr;
  TIntegerSpin* DensitySpin = nullptr;
  TIntegerSpin* RandomSpin = nullptr;
  QCheckBox* BorderedChk = nullptr;
  TIntegerSpin* SpaceXSpin = nullptr;
  TIntegerSpin* SpaceYSpin = nullptr;
  QCheckBox* SparseChk = nullptr;
  QPushButton* GridBtn = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Problem1 = nullptr;
  QPushButton* Problem2Btn = nullptr;
  QPushButton* Problem3Btn = nullptr;
  QPushButton* Problem4Btn = nullptr;
  QPushButton* Problem5Btn = nullptr;
  QPushButton* Problem6Btn = nullptr;

  // "Spanning" page.
  QPushButton* PrimBtn = nullptr;
  QCheckBox* ByIncidenceChk = nullptr;
  QPushButton* DepthFirstBtn = nullptr;
  QPushButton* OriginalBtn = nullptr;
  QPushButton* ResultBtn = nullptr;
  QPushButton* AdjacencyBtn = nullptr;
  QPushButton* SequenceBtn = nullptr;
  QPushButton* ParentsBtn = nullptr;
  QPushButton* IndexBtn = nullptr;
  QPushButton* OptimizeBtn = nullptr;
  QPlainTextEdit* GraphMemo = nullptr;

  // "Loops" page.
  QPushButton* Button1 = nullptr;
  TIntegerSpin* LoopSpin = nullptr;
  QLabel* LoopCntDis = nullptr;
  QLabel* LoopQualityLabel = nullptr;  // total edges of the loops and whether they are a basis
  QTableView* LoopGrid = nullptr;
  TLoopGridModel* LoopGridModel = nullptr;  // the cells of LoopGrid
  QCheckBox* OptimiseChk = nullptr;
  QGroupBox* OptimizeRadio = nullptr;
  QButtonGroup* OptimizeRadioItems = nullptr;
  TSubTimer* SubTimer1 = nullptr;
  QPushButton* Button2 = nullptr;

  // The loop grid's current row counted as the grid counts it: row 0 is the
  // header row, row i + 1 holds loop i; 0 when no data row is current.
  int LoopGridRow() const;
  void SetLoopGridRow(int row);
  // The item index of OptimizeRadio, -1 when none is selected.
  int OptimizeRadioIndex() const;
  void SetOptimizeRadioIndex(int index);

  // Command handlers, one per control or menu item.
  void GridBtnClick();
  void Button3Click();
  void Problem1Click();
  void Problem2BtnClick();
  void Problem3BtnClick();
  void Problem4BtnClick();
  void Problem5BtnClick();
  void Problem6BtnClick();
  void PrimBtnClick();
  void DepthFirstBtnClick();
  void OriginalBtnClick();
  void ResultBtnClick();
  void AdjacencyBtnClick();
  void SequenceBtnClick();
  void ParentsBtnClick();
  void IndexBtnClick();
  void OptimizeBtnClick();
  void Button1Click();
  void FillLoopGrid();
  void ShowOneLoopBtnClick();
  void LoopGridClick();
  void LoadFile1Click();
  void SaveFile1Click();
  void SaveMetafile1Click();
  void LoopDisplay1Click();
  void Help2Click();

 private:
  void CreateMenus();
  QWidget* CreateGridPage();
  QWidget* CreateSpanningPage();
  QWidget* CreateLoopsPage();
  // Connects a control's signal to a handler through the command guard.
  template <class Sender, class Signal>
  void Connect(Sender* sender, Signal signal, void (TForm1::*handler)());
  // Replaces the work graph's contents by `filled` and shows it; clears the
  // loop browser, whose loops belonged to the old network.
  void ReplaceWorkGraph(TSurveyGraph& filled);
  // Records the graph view of the shown graph at the drawing area's size and
  // saves it under `name`, with the busy cursor shown meanwhile.
  void ExportMetafile(const QString& name);
  // Empties Loops, the loop grid, the counter and the loop chooser.
  void ClearLoopBrowser();
  // Before a command refills Loops: when the loop grid reads the current
  // list, hands that list to the grid and makes Loops a new list, so the grid
  // keeps what the last "Find Loops" listed.
  void KeepGridLoops();
  // Shows the loop view with the loop chosen now; the loops and graphs are
  // as they were, so the drawing index stays.
  void ShowChosenLoop();
  // Makes `row` (0 = first data row) the grid's current row after its model
  // was reset, without reporting it as a click.
  void RestoreLoopGridRow(int row);
  // Fills the work graph with problem network "Grid-<number>".
  void ProblemClick(int32_t number);
  void SetMemoLines(const std::vector<std::string>& lines);

  // The loop list the grid reads after a tree command or a search replaced Loops.
  std::unique_ptr<TLoopList> GridLoops;
  bool restoringGridRow_ = false;
  std::unique_ptr<TDisplayDlg> DisplayDlg;
  THelpWindow* HelpWindow = nullptr;
};

template <class Sender, class Signal>
void TForm1::Connect(Sender* sender, Signal signal, void (TForm1::*handler)()) {
  connect(sender, signal, this, [this, handler] { RunCommand([this, handler] { (this->*handler)(); }); });
}
