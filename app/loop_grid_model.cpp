#include "app/loop_grid_model.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

constexpr double kNoKey = std::numeric_limits<double>::quiet_NaN();

QString HeaderText(int column) {
  static const char* const kHeaders[TLoopGridModel::kColumns + TLoopGridModel::kMisclosureColumns] = {
      "#", "Edg", "Val", "Com", "Cl1", "Cl2", "Length", "Misclosure", "Error %", "Ratio"};
  return QString::fromLatin1(kHeaders[column]);
}

// A figure of a misclosure column, fixed-point; "-" when it cannot be known.
QString Station(const std::function<std::string(int32_t)>& name, int32_t station) {
  return name ? QString::fromStdString(name(station)) : QString::number(station);
}

QString Figure(double value, int decimals) {
  return std::isfinite(value) ? QString::number(value, 'f', decimals) : QStringLiteral("-");
}

}  // namespace

TLoopGridModel::TLoopGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void TLoopGridModel::ShowLoops(const TLoopList* loops, std::vector<TLoopMisclosure> misclosures) {
  beginResetModel();
  loops_ = loops;
  const int count = loops ? loops->Count() : 0;
  dataRows_ = std::max<int>(count, kMinDataRows);
  misclosures_.clear();
  if (static_cast<int>(misclosures.size()) == count && count > 0) {
    // By loop, whatever order they came in.
    misclosures_.resize(misclosures.size());
    for (TLoopMisclosure& m : misclosures) {
      if (m.Index >= 0 && m.Index < count) misclosures_[static_cast<size_t>(m.Index)] = std::move(m);
    }
  } else {
    sortColumn_ = -1;
  }
  Reorder();
  endResetModel();
}

void TLoopGridModel::ShowNothing() {
  beginResetModel();
  loops_ = nullptr;
  dataRows_ = kMinDataRows;
  misclosures_.clear();
  sortColumn_ = -1;
  Reorder();
  endResetModel();
}

void TLoopGridModel::ShowStationNames(std::function<std::string(int32_t)> name) {
  beginResetModel();
  stationName_ = std::move(name);
  endResetModel();
}

const TLoopMisclosure* TLoopGridModel::MisclosureOf(int loop) const {
  if (loop < 0 || static_cast<size_t>(loop) >= misclosures_.size()) return nullptr;
  return &misclosures_[static_cast<size_t>(loop)];
}

int TLoopGridModel::LoopOfRow(int row) const {
  if (row >= 0 && static_cast<size_t>(row) < order_.size()) return order_[static_cast<size_t>(row)];
  return row;
}

int TLoopGridModel::RowOfLoop(int loop) const {
  if (loop >= 0 && static_cast<size_t>(loop) < rowOfLoop_.size()) return rowOfLoop_[static_cast<size_t>(loop)];
  return loop;
}

int TLoopGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : dataRows_; }

int TLoopGridModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return HasMisclosures() ? kColumns + kMisclosureColumns : kColumns;
}

QVariant TLoopGridModel::data(const QModelIndex& index, int role) const {
  if (loops_ == nullptr || !index.isValid()) return {};
  const int row = index.row();
  if (row < 0 || row >= loops_->Count() || row >= dataRows_) return {};
  const int loopIndex = LoopOfRow(row);
  if (role == Qt::TextAlignmentRole && index.column() >= kColumns)
    return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
  if (role != Qt::DisplayRole) return {};
  const TEdgeArray& loop = loops_->LoopAt(loopIndex);
  switch (index.column()) {
    case 0:
      return QString::number(loopIndex);
    case 1:
      return QString::number(loop.Count());
    case 2:
      return QString::number(loop.LoopValue);
    case 3:
      return Station(stationName_, loop.CommonStation);
    case 4:
    case 5: {
      // A loop emptied by an overlap merge has no closing edge to show.
      if (loop.Count() == 0) return {};
      const TEdgeRec closing = loop.GetEdge(0);
      return Station(stationName_, index.column() == 4 ? closing.From : closing.To);
    }
    default:
      break;
  }
  const TLoopMisclosure* m = MisclosureOf(loopIndex);
  if (m == nullptr) return {};
  switch (index.column() - kColumns) {
    case 0:
      return m->Status == TLoopStatus::NotClosed ? QStringLiteral("-") : Figure(m->Length, 2);
    case 1:
      return Figure(m->Error, 3);
    case 2:
      return Figure(m->ErrorPercent, 2);
    case 3:
      return Figure(m->Ratio, 2);
    default:
      return {};
  }
}

QVariant TLoopGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  if (section < 0 || section >= columnCount()) return {};
  // Before the first search the header row is there but empty.
  return loops_ ? HeaderText(section) : QString();
}

Qt::ItemFlags TLoopGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

double TLoopGridModel::SortKey(int loop, int column) const {
  const TEdgeArray& edges = loops_->LoopAt(loop);
  switch (column) {
    case 0:
      return loop;
    case 1:
      return edges.Count();
    case 2:
      return static_cast<double>(edges.LoopValue);
    case 3:
      return edges.CommonStation;
    case 4:
    case 5:
      if (edges.Count() == 0) return kNoKey;
      return column == 4 ? edges.GetEdge(0).From : edges.GetEdge(0).To;
    default:
      break;
  }
  const TLoopMisclosure* m = MisclosureOf(loop);
  if (m == nullptr || m->Status != TLoopStatus::Measured) return kNoKey;
  switch (column - kColumns) {
    case 0:
      return m->Length;
    case 1:
      return m->Error;
    case 2:
      return m->ErrorPercent;
    case 3:
      return m->Ratio;
    default:
      return kNoKey;
  }
}

void TLoopGridModel::Reorder() {
  order_.clear();
  rowOfLoop_.clear();
  if (sortColumn_ < 0 || !HasMisclosures() || loops_ == nullptr) return;
  const int count = loops_->Count();
  std::vector<double> keys(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) keys[static_cast<size_t>(i)] = SortKey(i, sortColumn_);
  order_.resize(static_cast<size_t>(count));
  std::iota(order_.begin(), order_.end(), 0);
  const bool descending = sortOrder_ == Qt::DescendingOrder;
  std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
    const double ka = keys[static_cast<size_t>(a)];
    const double kb = keys[static_cast<size_t>(b)];
    if (std::isnan(ka) || std::isnan(kb)) return !std::isnan(ka) && std::isnan(kb);
    return descending ? ka > kb : ka < kb;
  });
  rowOfLoop_.resize(order_.size());
  for (size_t row = 0; row < order_.size(); ++row) rowOfLoop_[static_cast<size_t>(order_[row])] = static_cast<int>(row);
}

void TLoopGridModel::sort(int column, Qt::SortOrder order) {
  if (!HasMisclosures() && column >= 0) return;
  Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  // Selected and current cells follow their loops to their new rows.
  const QModelIndexList before = persistentIndexList();
  std::vector<int> loopsBefore;
  loopsBefore.reserve(static_cast<size_t>(before.size()));
  for (const QModelIndex& index : before) loopsBefore.push_back(LoopOfRow(index.row()));
  sortColumn_ = column < columnCount() ? column : -1;
  sortOrder_ = order;
  Reorder();
  QModelIndexList after;
  after.reserve(before.size());
  for (qsizetype i = 0; i < before.size(); ++i) {
    const int loop = loopsBefore[static_cast<size_t>(i)];
    const bool isLoop = loops_ != nullptr && loop >= 0 && loop < loops_->Count();
    after.push_back(index(isLoop ? RowOfLoop(loop) : before[i].row(), before[i].column()));
  }
  changePersistentIndexList(before, after);
  Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
