#pragma once
// TLoopGridModel: the cells of the loop grid, read from a loop list when the
// grid shows them, so a list of any length fills the grid at once. The
// grid's header row is the model's horizontal header. Rows list the loops in
// list order (row r is loop r) unless the grid was sorted by a column of a
// survey's misclosures.

#include <QAbstractTableModel>
#include <functional>
#include <string>
#include <vector>

#include "analysis/loop_misclosure.h"
#include "core/owned_lists.h"

class TLoopGridModel final : public QAbstractTableModel {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TLoopGridModel)

 public:
  static constexpr int kColumns = 6;
  // With a survey's misclosures: "Length", "Misclosure", "Error %", "Ratio".
  static constexpr int kMisclosureColumns = 4;
  static constexpr int kLengthColumn = kColumns;
  // The grid shows at least this many data rows; rows without a loop are empty.
  static constexpr int kMinDataRows = 9;

  explicit TLoopGridModel(QObject* parent = nullptr);

  // Shows the loops of `loops` with the headers "#", "Edg", "Val", "Com",
  // "Cl1", "Cl2", and, when `misclosures` holds one entry per loop, the
  // misclosure columns after them, sorted as the grid was last sorted. The
  // list is read, not copied: it must outlive the model's use of it, and the
  // number of rows is its count now. Loops it loses later show as empty rows.
  void ShowLoops(const TLoopList* loops, std::vector<TLoopMisclosure> misclosures = {});
  // Shows empty rows under an empty header row, as before the first search.
  void ShowNothing();
  // The list the cells are read from; null when nothing is shown.
  const TLoopList* Loops() const { return loops_; }
  bool HasMisclosures() const { return !misclosures_.empty(); }
  // The misclosure of loop `loop`; null without misclosures or outside the list.
  const TLoopMisclosure* MisclosureOf(int loop) const;

  // Shows stations in "Com", "Cl1" and "Cl2" by `name` instead of their
  // indices; an empty function shows indices again.
  void ShowStationNames(std::function<std::string(int32_t)> name);
  bool ShowsStationNames() const { return static_cast<bool>(stationName_); }

  // The loop that row `row` (0 = first data row) shows, and the row that
  // shows loop `loop`; the same number while the grid is not sorted.
  int LoopOfRow(int row) const;
  int RowOfLoop(int loop) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Sorts the loops by a column (loops without its figure last either way,
  // equal keys in list order); a column below 0 brings back list order. Only
  // a grid with misclosures sorts.
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

 private:
  // The value a loop is sorted by in `column`; NaN when it has none.
  double SortKey(int loop, int column) const;
  // Makes order_ the loops sorted by sortColumn_ and sortOrder_.
  void Reorder();

  const TLoopList* loops_ = nullptr;
  int dataRows_ = kMinDataRows;
  std::vector<TLoopMisclosure> misclosures_;  // by loop, or empty
  std::vector<int> order_;                    // loop of each row; empty while in list order
  std::vector<int> rowOfLoop_;                // the inverse of order_
  std::function<std::string(int32_t)> stationName_;
  int sortColumn_ = -1;
  Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};
