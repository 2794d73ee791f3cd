#include "app/loop_grid_model.h"

#include <algorithm>

namespace {

QString HeaderText(int column) {
  static const char* const kHeaders[TLoopGridModel::kColumns] = {"#", "Edg", "Val", "Com", "Cl1", "Cl2"};
  return QString::fromLatin1(kHeaders[column]);
}

}  // namespace

TLoopGridModel::TLoopGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void TLoopGridModel::ShowLoops(const TLoopList* loops) {
  beginResetModel();
  loops_ = loops;
  dataRows_ = std::max<int>(loops ? loops->Count() : 0, kMinDataRows);
  endResetModel();
}

void TLoopGridModel::ShowNothing() {
  beginResetModel();
  loops_ = nullptr;
  dataRows_ = kMinDataRows;
  endResetModel();
}

int TLoopGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : dataRows_; }

int TLoopGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant TLoopGridModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || loops_ == nullptr || !index.isValid()) return {};
  const int row = index.row();
  if (row < 0 || row >= loops_->Count() || row >= dataRows_) return {};
  const TEdgeArray& loop = loops_->LoopAt(row);
  switch (index.column()) {
    case 0:
      return QString::number(row);
    case 1:
      return QString::number(loop.Count());
    case 2:
      return QString::number(loop.LoopValue);
    case 3:
      return QString::number(loop.CommonStation);
    case 4:
    case 5: {
      // A loop emptied by an overlap merge has no closing edge to show.
      if (loop.Count() == 0) return {};
      const TEdgeRec closing = loop.GetEdge(0);
      return QString::number(index.column() == 4 ? closing.From : closing.To);
    }
    default:
      return {};
  }
}

QVariant TLoopGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  if (section < 0 || section >= kColumns) return {};
  // Before the first search the header row is there but empty.
  return loops_ ? HeaderText(section) : QString();
}

Qt::ItemFlags TLoopGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
