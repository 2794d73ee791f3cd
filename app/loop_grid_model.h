#pragma once
// TLoopGridModel: the cells of the loop grid, read from a loop list when the
// grid shows them, so a list of any length fills the grid at once. Row r
// describes loop r; the grid's header row is the model's horizontal header.

#include <QAbstractTableModel>

#include "core/owned_lists.h"

class TLoopGridModel final : public QAbstractTableModel {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TLoopGridModel)

 public:
  static constexpr int kColumns = 6;
  // The grid shows at least this many data rows; rows without a loop are empty.
  static constexpr int kMinDataRows = 9;

  explicit TLoopGridModel(QObject* parent = nullptr);

  // Shows the loops of `loops` with the headers "#", "Edg", "Val", "Com",
  // "Cl1", "Cl2". The list is read, not copied: it must outlive the model's
  // use of it, and the number of rows is its count now. Loops it loses later
  // show as empty rows.
  void ShowLoops(const TLoopList* loops);
  // Shows empty rows under an empty header row, as before the first search.
  void ShowNothing();
  // The list the cells are read from; null when nothing is shown.
  const TLoopList* Loops() const { return loops_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  const TLoopList* loops_ = nullptr;
  int dataRows_ = kMinDataRows;
};
