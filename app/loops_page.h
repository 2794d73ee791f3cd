#pragma once
// TLoopsPage, the "Loops" page: the loop search, its timing, the loop grid
// and the loop chooser, which keep each other's selection in step.

#include <QWidget>
#include <memory>
#include <vector>

#include "core/owned_lists.h"
#include "render/canvas.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableView;
class TIntegerSpin;
class TLoopGridModel;
class TPageHost;
class TSubTimer;
class TSearchStop;
struct TLoopSearch;

class TLoopsPage final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TLoopsPage)

 public:
  explicit TLoopsPage(TPageHost& host, QWidget* parent = nullptr);
  ~TLoopsPage() override;

  QPushButton* Button1 = nullptr;
  TIntegerSpin* LoopSpin = nullptr;
  QLabel* LoopCntDis = nullptr;
  QLabel* LoopQualityLabel = nullptr;  // total edges of the loops and whether they are a basis
  QTableView* LoopGrid = nullptr;
  QLabel* LoopInfoLabel = nullptr;          // the chosen loop: shots, length, misclosure, stations
  TLoopGridModel* LoopGridModel = nullptr;  // the cells of LoopGrid
  QCheckBox* StationNamesChk = nullptr;     // the loop grid names stations instead of numbering them
  QCheckBox* OptimiseChk = nullptr;
  QGroupBox* OptimizeRadio = nullptr;
  QButtonGroup* OptimizeRadioItems = nullptr;
  TSubTimer* SubTimer1 = nullptr;
  QPushButton* StopBtn = nullptr;         // ends a running search; the loops stay as they were
  QLabel* SearchProgressLabel = nullptr;  // how far a running search is
  QPushButton* Button2 = nullptr;

  // The loop grid's current row counted as the grid counts it: row 0 is the
  // header row, row i + 1 holds loop i; 0 when no data row is current.
  int LoopGridRow() const;
  void SetLoopGridRow(int row);
  // The item index of OptimizeRadio, -1 when none is selected.
  int OptimizeRadioIndex() const;
  void SetOptimizeRadioIndex(int index);

  // "Find Loops": the search runs on a thread of its own while the window
  // goes on; it returns when the search has ended or was stopped.
  void Button1Click();
  void StopBtnClick();
  void StationNamesChkClick();
  // Whether a search runs now.
  bool Searching() const { return stop_ != nullptr; }
  void Button2Click();
  void FillLoopGrid();
  void ShowOneLoopBtnClick();
  void LoopGridClick();
  // Empties Loops, the loop grid, the counter and the loop chooser.
  void ClearLoopBrowser();
  // Before a command refills Loops: when the loop grid reads the current
  // list, hands that list to the grid and makes Loops a new list, so the grid
  // keeps what the last "Find Loops" listed.
  void KeepGridLoops();
  // Shows the chosen loop's details in LoopInfoLabel (empty without loops).
  void ShowLoopDetails();
  // Makes `loop` the chosen loop: the loop chooser, the grid's current row and the drawing follow.
  void ChooseLoop(int loop);
  // The colour of each loop of Loops by its misclosure ratio; empty when the
  // network has no raw data or the grid does not show Loops.
  const std::vector<TColor>& LoopColors() const { return loopColors_; }

 private:
  // Makes `row` (0 = first data row) the grid's current row after its model
  // was reset, without reporting it as a click.
  void RestoreLoopGridRow(int row);
  // Runs the search aside; false when it was stopped (said on the status line).
  bool RunSearchAside(TLoopSearch& search);
  // Disables the page's commands but Stop while a search runs, and back.
  void SetSearchControls(bool searching);
  // Sizes the grid's columns to their contents once it shows loops.
  void FitLoopGridColumns();
  // Adds or removes the sorting that the misclosure columns bring.
  void ShowMisclosureColumns(bool shown);

  TPageHost& host_;
  // The loop list the grid reads after a tree command or a search replaced Loops.
  std::unique_ptr<TLoopList> GridLoops;
  bool restoringGridRow_ = false;
  std::vector<TColor> loopColors_;
  TSearchStop* stop_ = nullptr;  // the running search's, else null
};
