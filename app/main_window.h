#pragma once
// TForm1: the workbench's one main window. It holds the workbench (the work
// graph, the result graph, the loop list and the drawing switches), lays out
// the three pages beside the drawing area and runs the File, Options and
// Help menus. The pages run their own commands on the workbench through the
// TPageHost the window gives them. The controls are public so that tests
// and scripts drive the real window.

#include <QMainWindow>
#include <QSize>
#include <functional>
#include <memory>
#include <vector>

#include "app/file_commands.h"
#include "app/page_host.h"
#include "core/owned_lists.h"
#include "core/survey_graph.h"
#include "render/display_settings.h"
#include "render/paint_area.h"
#include "render_qt/drawing_view.h"
#include "workbench/picture_export.h"
#include "workbench/workbench.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QTableView;
class QTabWidget;
class TBlundersPage;
class TCanvas;
class TDisplayDlg;

class TDrawingIndex;
struct TRect;
class TGridPage;
class THelpWindow;
class TIntegerSpin;
class TLoopGridModel;
class TLoopsPage;
class TPaintBox;
class TSpanningPage;
class TSubTimer;

class TForm1 final : public QMainWindow, private TPageHost {
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

  void SetShowLoops(bool v) override;
  void ShowGraph(TSurveyGraph& graph) override;
  void FitDrawingArea(const TSurveyGraph& graph) override;
  // What a repaint of the drawing area reads now.
  TDrawingState DrawingState() const;
  // Draws what the drawing area shows now: the loops over the work graph or the shown graph.
  void PaintBox1Paint(TCanvas& canvas) const;
  // The same, only where it shows in `visible` (the canvas's clip), found
  // through DrawingIndex.
  void PaintBox1Paint(TCanvas& canvas, const TRect& visible) const;

  // What "Save Metafile" exports now: the view shown, with the chosen loop,
  // the display settings and the drawing area fitted to the drawn graph.
  TPictureRequest PictureOfDrawingArea() const;

  // Screen size used by FitDrawingArea; the primary screen's unless replaced (tests).
  std::function<QSize()> ScreenSize;
  // Asks for a file name (empty: cancelled); a file dialog unless replaced (tests).
  TFileChooser ChooseFile;

  // Application state, held by the workbench.
  TWorkbench Workbench;
  std::unique_ptr<TSurveyGraph>& WorkGraph = Workbench.WorkGraph;
  std::unique_ptr<TSurveyGraph>& ResultGraph = Workbench.ResultGraph;
  TSurveyGraph*& ShownGraph = Workbench.ShownGraph;
  std::unique_ptr<TLoopList>& Loops = Workbench.Loops;
  bool& ShowLoops = Workbench.ShowLoops;
  TDisplaySettings DisplaySettings;
  // What the status line says when the drawing area cannot reach the whole
  // network; empty when it can.
  QString DrawingAreaNote;
  // The suspect leg marked in the loop view (a work-graph shot, -1 for none)
  // and the loops through it, drawn on top.
  int32_t MarkedShot = -1;
  std::vector<int32_t> MarkedLoops;
  // Where the edges and loops lie, for repainting part of the drawing area.
  std::unique_ptr<TDrawingIndex> DrawingIndex;

  // Layout.
  QTabWidget* PageControl1 = nullptr;
  TDrawingView* ScrollBox1 = nullptr;  // the scroll area with zoom and pan
  TPaintBox* PaintBox1 = nullptr;
  TGridPage* GridPage = nullptr;
  TSpanningPage* SpanningPage = nullptr;
  TLoopsPage* LoopsPage = nullptr;
  TBlundersPage* BlundersPage = nullptr;
  // The scroll area that holds BlundersPage; a tab of PageControl1 only
  // while the network has raw survey data.
  QScrollArea* BlundersArea = nullptr;

  // Menus.
  QAction* LoadFile1 = nullptr;
  QAction* OpenSurvey1 = nullptr;
  QAction* SaveFile1 = nullptr;
  QAction* SaveMetafile1 = nullptr;
  QAction* LoopDisplay1 = nullptr;
  // Which legs of a survey become shots.
  QAction* SurveySplays1 = nullptr;
  QAction* SurveySurface1 = nullptr;
  QAction* SurveyDuplicates1 = nullptr;
  QAction* Help2 = nullptr;
  // View: zoom and fit.
  QAction* ZoomIn1 = nullptr;
  QAction* ZoomOut1 = nullptr;
  QAction* FitToWindow1 = nullptr;
  QAction* ActualSize1 = nullptr;

  // The pages' controls, by their names.
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
  QLabel* LoopQualityLabel = nullptr;
  QTableView* LoopGrid = nullptr;
  TLoopGridModel* LoopGridModel = nullptr;
  QCheckBox* OptimiseChk = nullptr;
  QGroupBox* OptimizeRadio = nullptr;
  QButtonGroup* OptimizeRadioItems = nullptr;
  TSubTimer* SubTimer1 = nullptr;
  QPushButton* Button2 = nullptr;

  // The loops page's grid row and method, as the loop browser counts them.
  int LoopGridRow() const;
  void SetLoopGridRow(int row);
  int OptimizeRadioIndex() const;
  void SetOptimizeRadioIndex(int index);
  void FillLoopGrid();

  // The menu commands.
  void LoadFile1Click();
  void OpenSurvey1Click();
  void SurveyLegsChanged();
  void SaveFile1Click();
  void SaveMetafile1Click();
  void LoopDisplay1Click();
  void Help2Click();
  // A click on the drawing: the station there, if any, is told about on the status line.
  void DrawingClicked(QPointF point);
  // Zooms so that the drawn network fills the view.
  void FitToWindow1Click();

 private:
  // TPageHost, for the pages.
  TWorkbench& Bench() override { return Workbench; }
  void ShowChosenLoop() override;
  void SetDrawingAreaSize(QSize size) override;
  QSize DrawingViewSize() const override;
  void WorkGraphReplaced() override;
  void KeepGridLoops() override;
  void SetTitle(const QString& title) override;
  void LoopsReplaced() override;
  void FindMinimalLoops() override;
  void MarkSuspect(int32_t shot, std::vector<int32_t> loops) override;
  void ShowStatus(const QString& text) override;
  void SetSearching(bool searching) override;

 protected:
  // Closing while a search runs stops it first and closes when it has ended.
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateMenus();
  // The window's height at start: 455, or what the pages need, within the screen.
  int DefaultWindowHeight() const;
  // Loads a graph file or a survey chosen by the user (an empty name: cancelled).
  void LoadNetworkFile(const QString& name);
  // The status line after a survey loads: title, stations, shots, pieces,
  // loops, the legs left out by kind and the drawing scale.
  QString SurveyStatusText() const;
  void TakeControlsOfPages();
  // Saves what the drawing area shows under `name`, in the format of its
  // extension, with the busy cursor shown meanwhile.
  void ExportMetafile(const QString& name);

  std::unique_ptr<TDisplayDlg> DisplayDlg;
  QMenu* FileMenu = nullptr;
  QMenu* OptionsMenu = nullptr;
  bool closeAfterSearch_ = false;
  int busy_ = 0;  // pieces of work running on another thread (SetSearching)
  THelpWindow* HelpWindow = nullptr;
};
