#include "app/page_widgets.h"

#include <QHeaderView>
#include <QTableView>

#include "controls/integer_spin.h"

namespace {

// Wide enough for four digits, a units text and the arrows within the page.
constexpr int kSpinWidth = 80;

}  // namespace

QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromUtf8(name));
  return button;
}

void SetUpRowList(QTableView* grid, int rowHeight) {
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->verticalHeader()->setMinimumSectionSize(rowHeight);
  grid->verticalHeader()->setDefaultSectionSize(rowHeight);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

TIntegerSpin* MakeSpin(const char* name, int64_t min, int64_t max, int64_t step, int64_t value, QWidget* parent,
                       const QString& units) {
  auto* spin = new TIntegerSpin(parent);
  spin->setFixedWidth(kSpinWidth);
  spin->setObjectName(QString::fromUtf8(name));
  spin->SetUseLimit(true);
  spin->SetMinValue(min);
  spin->SetMaxValue(max);
  spin->SetIncrement(step);
  spin->SetValueSilently(value);
  if (!units.isEmpty()) spin->SetUnitsString(units);
  return spin;
}
