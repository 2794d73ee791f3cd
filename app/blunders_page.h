#pragma once
// TBlundersPage, the "Blunders" page: the search for blunders in a survey's
// raw data, its suspect legs worst first, and for the chosen suspect its leg
// and its loops in the drawing and where its readings are.

#include <QWidget>
#include <vector>

#include "analysis/blunders.h"

class QLabel;
class QPushButton;
class QTableWidget;
class TPageHost;

class TBlundersPage final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TBlundersPage)

 public:
  explicit TBlundersPage(TPageHost& host, QWidget* parent = nullptr);
  ~TBlundersPage() override;

  QPushButton* FindBlundersBtn = nullptr;
  QLabel* BlunderSummaryLabel = nullptr;  // how many suspects and unchecked legs
  QTableWidget* SuspectGrid = nullptr;    // one row per suspect, worst first
  QLabel* SuspectSourceLabel = nullptr;   // FILE:LINE of the chosen suspect

  // The column headers of SuspectGrid.
  static QStringList SuspectHeaders();

  // "Find Blunders": adjusts the survey's raw data and lists the suspects;
  // without closed loops in the loop list it first finds the "Minimal" loops,
  // which give each suspect its loops.
  void FindBlundersBtnClick();
  // The chosen suspect's leg and loops are shown in the drawing and its
  // source on the page and the status line.
  void SuspectGridClick();
  // Empties the list: the loops or the network it was found over are gone.
  void ClearSuspects();
  // The last search's report; empty before one or after ClearSuspects.
  const TBlunderReport& Report() const { return report_; }

 private:
  void FillSuspectGrid();

  TPageHost& host_;
  TBlunderReport report_;
  // The work-graph shot of each survey leg (-1 for legs that are no shot).
  std::vector<int32_t> shotOfLeg_;
};
