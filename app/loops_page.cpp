// The "Loops" page: the loop search, its timing, the loop grid and the loop
// chooser, which keep each other's selection in step.

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "controls/integer_spin.h"
#include "controls/sub_timer.h"
#include "loops/overlap_loops.h"
#include "loops/shortest_loops.h"

namespace {

constexpr int kLoopGridColumns = 6;
// The grid shows at least this many data rows below its header row.
constexpr int kMinLoopGridDataRows = 9;
constexpr int kLoopGridColumnWidths[kLoopGridColumns] = {19, 23, 23, 23, 23, 23};
constexpr int kLoopGridRowHeight = 17;

QLabel* MakeLabel(const QString& caption, QWidget* parent) { return new QLabel(caption, parent); }

void SetCell(QTableWidget& grid, int row, int column, const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  grid.setItem(row, column, item);
}

void ResetGrid(QTableWidget& grid, const QStringList& headers, int dataRows) {
  grid.clearContents();
  grid.setRowCount(dataRows);
  grid.setHorizontalHeaderLabels(headers);
}

QStringList EmptyHeaders() { return QStringList(kLoopGridColumns, QString()); }

}  // namespace

QWidget* TForm1::CreateLoopsPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(4, 4, 4, 4);

  Button1 = new QPushButton(QStringLiteral("Find Loops"), page);
  Button1->setObjectName(QStringLiteral("Button1"));
  layout->addWidget(Button1);

  auto* counters = new QGridLayout;
  LoopSpin = new TIntegerSpin(page);
  LoopSpin->setObjectName(QStringLiteral("LoopSpin"));
  LoopSpin->SetUseLimit(true);
  LoopSpin->SetMinValue(0);
  LoopSpin->SetMaxValue(0);
  LoopSpin->SetIncrement(1);
  LoopSpin->SetValueSilently(0);
  LoopCntDis = new QLabel(page);
  LoopCntDis->setObjectName(QStringLiteral("LoopCntDis"));
  LoopCntDis->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  counters->addWidget(MakeLabel(QStringLiteral("Show Loop"), page), 0, 0);
  counters->addWidget(MakeLabel(QStringLiteral("Loop Count"), page), 0, 1);
  counters->addWidget(LoopSpin, 1, 0);
  counters->addWidget(LoopCntDis, 1, 1);
  layout->addLayout(counters);

  layout->addWidget(MakeLabel(QStringLiteral("Loop Info"), page));
  LoopGrid = new QTableWidget(kMinLoopGridDataRows, kLoopGridColumns, page);
  LoopGrid->setObjectName(QStringLiteral("LoopGrid"));
  LoopGrid->verticalHeader()->hide();
  LoopGrid->verticalHeader()->setMinimumSectionSize(kLoopGridRowHeight);
  LoopGrid->verticalHeader()->setDefaultSectionSize(kLoopGridRowHeight);
  LoopGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  LoopGrid->horizontalHeader()->setMinimumSectionSize(kLoopGridColumnWidths[0]);
  LoopGrid->horizontalHeader()->setHighlightSections(false);
  for (int column = 0; column < kLoopGridColumns; ++column) {
    LoopGrid->setColumnWidth(column, kLoopGridColumnWidths[column]);
  }
  LoopGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  LoopGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  LoopGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ResetGrid(*LoopGrid, EmptyHeaders(), kMinLoopGridDataRows);
  // As in a string grid, the first data row is current from the start.
  LoopGrid->setCurrentCell(0, 0);
  layout->addWidget(LoopGrid, 1);

  OptimiseChk = new QCheckBox(QStringLiteral("Optimize"), page);
  OptimiseChk->setObjectName(QStringLiteral("OptimiseChk"));
  OptimiseChk->setChecked(true);
  layout->addWidget(OptimiseChk);

  OptimizeRadio = new QGroupBox(QStringLiteral("Opitimize By"), page);
  OptimizeRadio->setObjectName(QStringLiteral("OptimizeRadio"));
  auto* radioLayout = new QGridLayout(OptimizeRadio);
  OptimizeRadioItems = new QButtonGroup(OptimizeRadio);
  const QString items[] = {QStringLiteral("Shortest"), QStringLiteral("Overlap")};
  for (int i = 0; i < 2; ++i) {
    auto* radio = new QRadioButton(items[i], OptimizeRadio);
    radioLayout->addWidget(radio, 0, i);
    OptimizeRadioItems->addButton(radio, i);
  }
  SetOptimizeRadioIndex(0);
  layout->addWidget(OptimizeRadio);

  auto* timeRow = new QHBoxLayout;
  SubTimer1 = new TSubTimer(page);
  SubTimer1->setObjectName(QStringLiteral("SubTimer1"));
  SubTimer1->setMinimumSize(65, 17);
  timeRow->addWidget(MakeLabel(QStringLiteral("Time"), page));
  timeRow->addWidget(SubTimer1, 1);
  layout->addLayout(timeRow);

  Button2 = new QPushButton(QStringLiteral("Original"), page);
  Button2->setObjectName(QStringLiteral("Button2"));
  layout->addWidget(Button2);

  Connect(Button1, &QPushButton::clicked, &TForm1::Button1Click);
  Connect(Button2, &QPushButton::clicked, &TForm1::OriginalBtnClick);
  Connect(LoopSpin, &TIntegerSpin::Change, &TForm1::ShowOneLoopBtnClick);
  // A string grid reports a click both when the mouse hits a cell and when
  // its current row moves; the handler is idempotent, so both may run.
  Connect(LoopGrid, &QTableWidget::cellClicked, &TForm1::LoopGridClick);
  connect(LoopGrid, &QTableWidget::currentCellChanged, this, [this](int row, int, int previousRow, int) {
    if (row != previousRow) RunCommand([this] { LoopGridClick(); });
  });
  return page;
}

int TForm1::LoopGridRow() const { return LoopGrid->currentRow() + 1; }

void TForm1::SetLoopGridRow(int row) { LoopGrid->setCurrentCell(row - 1, std::max(LoopGrid->currentColumn(), 0)); }

int TForm1::OptimizeRadioIndex() const { return OptimizeRadioItems->checkedId(); }

void TForm1::SetOptimizeRadioIndex(int index) {
  if (index >= 0 && index < 2) {
    OptimizeRadioItems->button(index)->setChecked(true);
    return;
  }
  // An exclusive group keeps one button checked; clearing needs it relaxed.
  OptimizeRadioItems->setExclusive(false);
  for (QAbstractButton* button : OptimizeRadioItems->buttons()) button->setChecked(false);
  OptimizeRadioItems->setExclusive(true);
}

void TForm1::Button1Click() {
  SubTimer1->Reset();
  SubTimer1->Start();
  switch (OptimizeRadioIndex()) {
    case 0:
      FindLoopsShortest(*WorkGraph, *Loops, OptimiseChk->isChecked());
      break;
    case 1:
      FindLoopsOverlap(*WorkGraph, *Loops, OptimiseChk->isChecked());
      break;
    default:
      break;  // no method chosen: the loops stay as they are
  }
  SubTimer1->Stop();
  SubTimer1->ShowElapsed();
  LoopSpin->SetMaxValue(Loops->Count() - 1);
  LoopSpin->SetValue(0);
  FillLoopGrid();
  LoopCntDis->setText(QString::number(Loops->Count()));
  SetShowLoops(true);
}

void TForm1::FillLoopGrid() {
  const int32_t count = Loops->Count();
  ResetGrid(*LoopGrid,
            {QStringLiteral("#"), QStringLiteral("Edg"), QStringLiteral("Val"), QStringLiteral("Com"),
             QStringLiteral("Cl1"), QStringLiteral("Cl2")},
            std::max<int>(count, kMinLoopGridDataRows));
  for (int32_t i = 0; i < count; ++i) {
    const TEdgeArray& loop = Loops->LoopAt(i);
    SetCell(*LoopGrid, i, 0, QString::number(i));
    SetCell(*LoopGrid, i, 1, QString::number(loop.Count()));
    SetCell(*LoopGrid, i, 2, QString::number(loop.LoopValue));
    SetCell(*LoopGrid, i, 3, QString::number(loop.CommonStation));
    // A loop emptied by an overlap merge has no closing edge to show.
    if (loop.Count() > 0) {
      const TEdgeRec closing = loop.GetEdge(0);
      SetCell(*LoopGrid, i, 4, QString::number(closing.From));
      SetCell(*LoopGrid, i, 5, QString::number(closing.To));
    }
  }
}

void TForm1::ShowOneLoopBtnClick() {
  if (Loops->Count() == 0) return;
  SetLoopGridRow(static_cast<int>(LoopSpin->Value()) + 1);
  SetShowLoops(true);
}

void TForm1::LoopGridClick() {
  // The grid also reports losing its current row while it is refilled; a
  // click always lands on a data row.
  if (LoopGridRow() < 1) return;
  const int r = LoopGridRow() - 1;
  if (r > Loops->Count()) return;
  LoopSpin->SetValueSilently(r);
  SetShowLoops(true);
}

void TForm1::ClearLoopBrowser() {
  Loops->Clear();
  LoopSpin->SetMaxValue(0);
  LoopSpin->SetValueSilently(0);
  LoopCntDis->clear();
  const QSignalBlocker blocker(LoopGrid);
  ResetGrid(*LoopGrid, EmptyHeaders(), kMinLoopGridDataRows);
  LoopGrid->setCurrentCell(0, 0);
}
