#include "app/loops_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTableView>
#include <QVBoxLayout>
#include <optional>

#include "app/application.h"
#include "app/background_work.h"
#include "app/busy_cursor.h"
#include "app/loop_grid_model.h"
#include "app/page_host.h"
#include "app/page_widgets.h"
#include "controls/integer_spin.h"
#include "controls/sub_timer.h"
#include "loops/loop_quality.h"
#include "loops/search_stop.h"
#include "workbench/drawing_details.h"
#include "workbench/misclosure_colors.h"
#include "workbench/workbench.h"

namespace {

constexpr int kLoopGridColumnWidths[TLoopGridModel::kColumns] = {19, 23, 23, 23, 23, 23};
constexpr int kLoopGridRowHeight = 17;
constexpr int kOptimizeRadioItems = 3;

QLabel* MakeLabel(const QString& caption, QWidget* parent) { return new QLabel(caption, parent); }

// "Total edges: <n>, a basis"; for the minimal search "..., a minimum
// basis" or "..., a near-minimum basis". Loops that are not a basis say what
// they lack: "..., not a basis: 10 of 55 independent loops, 2 not closed,
// 1 dependent; "Minimal" finds all 55".
QString LoopQualityText(const TLoopSetQuality& quality, std::optional<TMinimalBasis> minimal) {
  if (IsBasis(quality)) {
    const QString basis = minimal ? QStringLiteral("a %1 basis").arg(QString::fromLatin1(MinimalBasisName(*minimal)))
                                  : QStringLiteral("a basis");
    return QStringLiteral("Total edges: %1, %2").arg(quality.Edges).arg(basis);
  }
  QString text = QStringLiteral("Total edges: %1, not a basis: %2 of %3 independent loops")
                     .arg(quality.Edges)
                     .arg(quality.Independent)
                     .arg(quality.CycleRank);
  if (quality.Closed < quality.Loops) text += QStringLiteral(", %1 not closed").arg(quality.Loops - quality.Closed);
  if (quality.Independent < quality.Closed)
    text += QStringLiteral(", %1 dependent").arg(quality.Closed - quality.Independent);
  if (!minimal) text += QStringLiteral("; \"Minimal\" finds all %1").arg(quality.CycleRank);
  return text;
}

// "Searching... 45 %" where the search counts its work.
QString ProgressText(const TSearchStop& stop) {
  const int64_t total = stop.Total();
  if (total <= 0) return QStringLiteral("Searching...");
  const int64_t percent = std::clamp<int64_t>(100 * stop.Done() / total, 0, 100);
  return QStringLiteral("Searching... %1 %").arg(percent);
}

}  // namespace

TLoopsPage::TLoopsPage(TPageHost& host, QWidget* parent) : QWidget(parent), host_(host) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);

  Button1 = new QPushButton(QStringLiteral("Find Loops"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  layout->addWidget(Button1);

  auto* counters = new QGridLayout;
  LoopSpin = new TIntegerSpin(this);
  LoopSpin->setObjectName(QStringLiteral("LoopSpin"));
  LoopSpin->SetUseLimit(true);
  LoopSpin->SetMinValue(0);
  LoopSpin->SetMaxValue(0);
  LoopSpin->SetIncrement(1);
  LoopSpin->SetValueSilently(0);
  LoopCntDis = new QLabel(this);
  LoopCntDis->setObjectName(QStringLiteral("LoopCntDis"));
  LoopCntDis->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  counters->addWidget(MakeLabel(QStringLiteral("Show Loop"), this), 0, 0);
  counters->addWidget(MakeLabel(QStringLiteral("Loop Count"), this), 0, 1);
  counters->addWidget(LoopSpin, 1, 0);
  counters->addWidget(LoopCntDis, 1, 1);
  layout->addLayout(counters);
  LoopQualityLabel = new QLabel(this);
  LoopQualityLabel->setObjectName(QStringLiteral("LoopQualityLabel"));
  LoopQualityLabel->setWordWrap(true);
  layout->addWidget(LoopQualityLabel);

  layout->addWidget(MakeLabel(QStringLiteral("Loop Info"), this));
  LoopGridModel = new TLoopGridModel(this);
  LoopGrid = new QTableView(this);
  LoopGrid->setObjectName(QStringLiteral("LoopGrid"));
  LoopGrid->setModel(LoopGridModel);
  SetUpRowList(LoopGrid, kLoopGridRowHeight);
  LoopGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  LoopGrid->horizontalHeader()->setMinimumSectionSize(kLoopGridColumnWidths[0]);
  LoopGrid->horizontalHeader()->setHighlightSections(false);
  for (int column = 0; column < TLoopGridModel::kColumns; ++column) {
    LoopGrid->setColumnWidth(column, kLoopGridColumnWidths[column]);
  }
  // As in a string grid, the first data row is current from the start.
  LoopGrid->setCurrentIndex(LoopGridModel->index(0, 0));
  layout->addWidget(LoopGrid, 1);
  StationNamesChk = new QCheckBox(QStringLiteral("Station Names"), this);
  StationNamesChk->setObjectName(QStringLiteral("StationNamesChk"));
  layout->addWidget(StationNamesChk);
  LoopInfoLabel = new QLabel(this);
  LoopInfoLabel->setObjectName(QStringLiteral("LoopInfoLabel"));
  LoopInfoLabel->setWordWrap(true);
  LoopInfoLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  LoopInfoLabel->setMinimumWidth(1);
  layout->addWidget(LoopInfoLabel);

  OptimiseChk = new QCheckBox(QStringLiteral("Optimize"), this);
  OptimiseChk->setObjectName(QStringLiteral("OptimiseChk"));
  OptimiseChk->setChecked(true);
  layout->addWidget(OptimiseChk);

  OptimizeRadio = new QGroupBox(QStringLiteral("Opitimize By"), this);
  OptimizeRadio->setObjectName(QStringLiteral("OptimizeRadio"));
  auto* radioLayout = new QGridLayout(OptimizeRadio);
  OptimizeRadioItems = new QButtonGroup(OptimizeRadio);
  const QString items[kOptimizeRadioItems] = {QStringLiteral("Shortest"), QStringLiteral("Overlap"),
                                              QStringLiteral("Minimal")};
  const char* const names[kOptimizeRadioItems] = {"ShortestRadio", "OverlapRadio", "MinimalRadio"};
  for (int i = 0; i < kOptimizeRadioItems; ++i) {
    auto* radio = new QRadioButton(items[i], OptimizeRadio);
    radio->setObjectName(QString::fromLatin1(names[i]));
    radioLayout->addWidget(radio, i / 2, i % 2);
    OptimizeRadioItems->addButton(radio, i);
  }
  SetOptimizeRadioIndex(0);
  layout->addWidget(OptimizeRadio);

  auto* timeRow = new QHBoxLayout;
  SubTimer1 = new TSubTimer(this);
  SubTimer1->setObjectName(QStringLiteral("SubTimer1"));
  SubTimer1->setMinimumSize(65, 17);
  timeRow->addWidget(MakeLabel(QStringLiteral("Time"), this));
  timeRow->addWidget(SubTimer1, 1);
  layout->addLayout(timeRow);

  auto* searchRow = new QHBoxLayout;
  StopBtn = new QPushButton(QStringLiteral("Stop"), this);
  StopBtn->setObjectName(QStringLiteral("StopBtn"));
  StopBtn->setEnabled(false);
  SearchProgressLabel = new QLabel(this);
  SearchProgressLabel->setObjectName(QStringLiteral("SearchProgressLabel"));
  searchRow->addWidget(StopBtn);
  searchRow->addWidget(SearchProgressLabel, 1);
  layout->addLayout(searchRow);

  Button2 = new QPushButton(QStringLiteral("Original"), this);
  Button2->setObjectName(QStringLiteral("Button2"));
  layout->addWidget(Button2);

  ConnectCommand(Button1, &QPushButton::clicked, this, &TLoopsPage::Button1Click);
  ConnectCommand(Button2, &QPushButton::clicked, this, &TLoopsPage::Button2Click);
  ConnectCommand(StopBtn, &QPushButton::clicked, this, &TLoopsPage::StopBtnClick);
  ConnectCommand(StationNamesChk, &QCheckBox::toggled, this, &TLoopsPage::StationNamesChkClick);
  ConnectCommand(LoopSpin, &TIntegerSpin::Change, this, &TLoopsPage::ShowOneLoopBtnClick);
  // A string grid reports a click both when the mouse hits a cell and when
  // its current row moves; the handler is idempotent, so both may run.
  ConnectCommand(LoopGrid, &QTableView::clicked, this, &TLoopsPage::LoopGridClick);
  connect(LoopGrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current, const QModelIndex& previous) {
            if (!restoringGridRow_ && current.row() != previous.row()) RunCommand([this] { LoopGridClick(); });
          });
}

TLoopsPage::~TLoopsPage() = default;

int TLoopsPage::LoopGridRow() const { return LoopGrid->currentIndex().row() + 1; }

void TLoopsPage::SetLoopGridRow(int row) {
  // Rows outside the grid leave no row current, as a string grid does.
  LoopGrid->setCurrentIndex(LoopGridModel->index(row - 1, std::max(LoopGrid->currentIndex().column(), 0)));
}

int TLoopsPage::OptimizeRadioIndex() const { return OptimizeRadioItems->checkedId(); }

void TLoopsPage::SetOptimizeRadioIndex(int index) {
  if (index >= 0 && index < kOptimizeRadioItems) {
    OptimizeRadioItems->button(index)->setChecked(true);
    return;
  }
  // An exclusive group keeps one button checked; clearing needs it relaxed.
  OptimizeRadioItems->setExclusive(false);
  for (QAbstractButton* button : OptimizeRadioItems->buttons()) button->setChecked(false);
  OptimizeRadioItems->setExclusive(true);
}

void TLoopsPage::Button1Click() {
  if (stop_ != nullptr) return;  // a search runs already
  SubTimer1->Reset();
  TWorkbench& bench = host_.Bench();
  constexpr TLoopMethod kMethods[kOptimizeRadioItems] = {TLoopMethod::lmShortest, TLoopMethod::lmOverlap,
                                                         TLoopMethod::lmMinimal};
  const int method = OptimizeRadioIndex();
  if (method >= 0) {
    // Optimize has no effect on the minimal search.
    TLoopSearch search = bench.PrepareLoopSearch(kMethods[method], OptimiseChk->isChecked());
    if (!RunSearchAside(search)) return;
    // The grid keeps the list it shows, which Loops is about to replace.
    KeepGridLoops();
    host_.LoopsReplaced();
    bench.AdoptLoopSearch(search);
    SubTimer1->Add(static_cast<uint64_t>(bench.LastSearchMicroseconds()));
  }
  // Without a method the loops stay as they are.
  const TLoopList& loops = *bench.Loops;
  SubTimer1->ShowElapsed();
  // Without loops the chooser stays at 0 and the network stays in view.
  LoopSpin->SetMaxValue(std::max(loops.Count() - 1, 0));
  LoopSpin->SetValue(0);
  FillLoopGrid();
  LoopCntDis->setText(QString::number(loops.Count()));
  ShowLoopDetails();
  LoopQualityLabel->setText(LoopQualityText(bench.MeasureLoops(), bench.MinimalBasis()));
  if (loops.Count() == 0) {
    host_.ShowStatus(bench.WorkGraph->StationCount() == 0
                         ? QStringLiteral("No loops: the network is empty; make a grid or load a file first")
                         : QStringLiteral("No loops: no shot of the network closes a loop"));
  }
  host_.SetShowLoops(loops.Count() > 0);
}

bool TLoopsPage::RunSearchAside(TLoopSearch& search) {
  TSearchStop stop;
  stop_ = &stop;
  host_.SetSearching(true);
  SetSearchControls(true);
  const TBusyCursor busy(Qt::BusyCursor);
  std::exception_ptr error;
  {
    // Whatever ends the wait, the window's commands come back.
    const auto restore = qScopeGuard([this] {
      stop_ = nullptr;
      SetSearchControls(false);
      host_.SetSearching(false);
    });
    error = RunInBackground(
        [&search, &stop] {
          const TSearchStopScope scope(stop);
          TWorkbench::RunLoopSearch(search);
        },
        [this, &stop] { SearchProgressLabel->setText(ProgressText(stop)); });
  }
  if (!error) return true;
  try {
    std::rethrow_exception(error);
  } catch (const ESearchStopped&) {
    host_.ShowStatus(QStringLiteral("Search stopped: the loops are as they were"));
  }
  return false;
}

void TLoopsPage::StationNamesChkClick() {
  const int row = LoopGrid->currentIndex().row();
  if (StationNamesChk->isChecked())
    LoopGridModel->ShowStationNames([this](int32_t station) { return host_.Bench().StationName(station); });
  else
    LoopGridModel->ShowStationNames({});
  RestoreLoopGridRow(row);
  FitLoopGridColumns();
}

void TLoopsPage::FitLoopGridColumns() {
  // Until a search fills it the grid keeps its first widths; then every
  // column takes the width of its header and of the rows in sight (the view
  // measures those only, so this is quick for any number of loops).
  if (LoopGridModel->Loops() == nullptr) return;
  for (int column = 0; column < LoopGridModel->columnCount(); ++column) LoopGrid->resizeColumnToContents(column);
}

void TLoopsPage::StopBtnClick() {
  if (stop_ != nullptr) stop_->Request();
}

void TLoopsPage::SetSearchControls(bool searching) {
  for (QWidget* control : std::initializer_list<QWidget*>{Button1, LoopSpin, LoopGrid, StationNamesChk, OptimiseChk,
                                                          OptimizeRadio, Button2})
    control->setEnabled(!searching);
  StopBtn->setEnabled(searching);
  SearchProgressLabel->setText(searching ? QStringLiteral("Searching...") : QString());
}

void TLoopsPage::Button2Click() { host_.ShowGraph(*host_.Bench().WorkGraph); }

void TLoopsPage::FillLoopGrid() {
  const int current = LoopGrid->currentIndex().row();
  const TWorkbench& bench = host_.Bench();
  // A survey with raw data adds each loop's misclosure to its row and colours it by its ratio.
  std::vector<TLoopMisclosure> misclosures;
  if (bench.HasRawData()) misclosures = bench.Misclosures();
  loopColors_ = misclosures.empty() ? std::vector<TColor>()
                                    : LoopColorsByRatio(misclosures, static_cast<size_t>(bench.Loops->Count()));
  LoopGridModel->ShowLoops(bench.Loops.get(), std::move(misclosures));
  ShowMisclosureColumns(LoopGridModel->HasMisclosures());
  // The grid now reads Loops itself; an older list it kept is no longer shown.
  GridLoops.reset();
  if (current < 0) return;
  // Resetting the model forgets the current row; a string grid keeps it, and
  // moves it up to the last row when rows are cut below it.
  const int kept = std::min(current, LoopGridModel->rowCount() - 1);
  if (kept == current) {
    RestoreLoopGridRow(kept);
  } else {
    SetLoopGridRow(kept + 1);
  }
}

void TLoopsPage::ShowOneLoopBtnClick() {
  if (host_.Bench().Loops->Count() == 0) return;
  SetLoopGridRow(LoopGridModel->RowOfLoop(static_cast<int>(LoopSpin->Value())) + 1);
  host_.ShowChosenLoop();
  ShowLoopDetails();
}

void TLoopsPage::ShowLoopDetails() {
  const TWorkbench& bench = host_.Bench();
  const auto loop = static_cast<int32_t>(LoopSpin->Value());
  // The misclosures belong to the list the grid shows; only then are they this loop's.
  const TLoopMisclosure* misclosure =
      LoopGridModel->Loops() == bench.Loops.get() ? LoopGridModel->MisclosureOf(loop) : nullptr;
  QStringList lines;
  for (const std::string& line : LoopDetails(bench, loop, misclosure)) lines.append(QString::fromStdString(line));
  LoopInfoLabel->setText(lines.join(QLatin1Char('\n')));
}

void TLoopsPage::ChooseLoop(int loop) {
  if (loop < 0 || loop >= host_.Bench().Loops->Count()) return;
  LoopSpin->SetValueSilently(loop);
  ShowOneLoopBtnClick();
}

void TLoopsPage::LoopGridClick() {
  // The grid also reports losing its current row while it is refilled; a
  // click always lands on a data row.
  if (LoopGridRow() < 1) return;
  const int r = LoopGridModel->LoopOfRow(LoopGridRow() - 1);
  if (r > host_.Bench().Loops->Count()) return;
  LoopSpin->SetValueSilently(r);
  host_.ShowChosenLoop();
  ShowLoopDetails();
}

void TLoopsPage::ClearLoopBrowser() {
  host_.Bench().Loops->Clear();
  LoopSpin->SetMaxValue(0);
  LoopSpin->SetValueSilently(0);
  LoopCntDis->clear();
  LoopQualityLabel->clear();
  LoopInfoLabel->clear();
  LoopGridModel->ShowNothing();
  ShowMisclosureColumns(false);
  loopColors_.clear();
  GridLoops.reset();
  RestoreLoopGridRow(0);
}

void TLoopsPage::KeepGridLoops() {
  std::unique_ptr<TLoopList>& loops = host_.Bench().Loops;
  // The colours belong to the list now in Loops, which is about to be refilled.
  loopColors_.clear();
  if (LoopGridModel->Loops() != loops.get()) return;
  GridLoops = std::move(loops);
  loops = std::make_unique<TLoopList>(5);
}

void TLoopsPage::ShowMisclosureColumns(bool shown) {
  if (shown && !LoopGrid->isSortingEnabled()) {
    // Enabling sorting sorts at once by the header's indicator: none, so the
    // loops stay in list order until a header is clicked.
    LoopGrid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    LoopGrid->setSortingEnabled(true);
  } else if (!shown && LoopGrid->isSortingEnabled()) {
    LoopGrid->setSortingEnabled(false);
    LoopGrid->horizontalHeader()->setSortIndicatorShown(false);
  }
  FitLoopGridColumns();
}

void TLoopsPage::RestoreLoopGridRow(int row) {
  restoringGridRow_ = true;
  LoopGrid->setCurrentIndex(LoopGridModel->index(row, std::max(LoopGrid->currentIndex().column(), 0)));
  restoringGridRow_ = false;
}
