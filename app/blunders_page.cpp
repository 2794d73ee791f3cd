#include "app/blunders_page.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "analysis/analysis_format.h"
#include "app/application.h"
#include "app/background_work.h"
#include "app/busy_cursor.h"
#include "app/page_host.h"
#include "app/page_widgets.h"
#include "workbench/workbench.h"

namespace {

constexpr int kSuspectGridRowHeight = 17;

QString Fixed(double value, int decimals) {
  return std::isfinite(value) ? QString::number(value, 'f', decimals) : QStringLiteral("-");
}

// "+1.234 m", "-12.5 deg", or "180 deg" for a leg entered backwards.
QString ChangeText(const TLegCheck& check) {
  if (!check.Described) return QStringLiteral("-");
  const TReadingFit& fit = check.Fit;
  if (fit.Kind == TBlunderKind::Reversed) return QStringLiteral("180 deg");
  const QString sign = fit.Change > 0 ? QStringLiteral("+") : QString();
  if (fit.Kind == TBlunderKind::Tape) return sign + Fixed(fit.Change, 3) + QStringLiteral(" m");
  return sign + Fixed(fit.Change, 1) + QStringLiteral(" deg");
}

QString KindText(const TLegCheck& check) {
  return check.Described ? QString::fromLatin1(BlunderKindName(check.Fit.Kind)) : QStringLiteral("-");
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

// "3 suspects (w above 3.29); 12 legs unchecked; variance factor 1.02".
QString SummaryText(const TBlunderReport& report) {
  const auto suspects = static_cast<qsizetype>(report.Suspects.size());
  const auto unchecked = static_cast<qsizetype>(report.Unchecked.size());
  QString text = suspects == 0   ? QStringLiteral("No suspects")
                 : suspects == 1 ? QStringLiteral("1 suspect")
                                 : QStringLiteral("%1 suspects").arg(suspects);
  text += QStringLiteral(" (w above %1); ").arg(report.Critical, 0, 'f', 2);
  text += unchecked == 1 ? QStringLiteral("1 leg unchecked") : QStringLiteral("%1 legs unchecked").arg(unchecked);
  text += QStringLiteral("; variance factor %1").arg(Fixed(report.VarianceFactor, 2));
  return text;
}

}  // namespace

TBlundersPage::TBlundersPage(TPageHost& host, QWidget* parent) : QWidget(parent), host_(host) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);

  FindBlundersBtn = MakeButton("FindBlundersBtn", QStringLiteral("Find Blunders"), this);
  layout->addWidget(FindBlundersBtn);

  BlunderSummaryLabel = new QLabel(this);
  BlunderSummaryLabel->setObjectName(QStringLiteral("BlunderSummaryLabel"));
  BlunderSummaryLabel->setWordWrap(true);
  layout->addWidget(BlunderSummaryLabel);

  layout->addWidget(new QLabel(QStringLiteral("Suspects"), this));
  SuspectGrid = new QTableWidget(0, static_cast<int>(SuspectHeaders().size()), this);
  SuspectGrid->setObjectName(QStringLiteral("SuspectGrid"));
  SuspectGrid->setHorizontalHeaderLabels(SuspectHeaders());
  SetUpRowList(SuspectGrid, kSuspectGridRowHeight);
  layout->addWidget(SuspectGrid, 1);

  SuspectSourceLabel = new QLabel(this);
  SuspectSourceLabel->setObjectName(QStringLiteral("SuspectSourceLabel"));
  SuspectSourceLabel->setWordWrap(true);
  SuspectSourceLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(SuspectSourceLabel);

  ConnectCommand(FindBlundersBtn, &QPushButton::clicked, this, &TBlundersPage::FindBlundersBtnClick);
  connect(SuspectGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid()) RunCommand([this] { SuspectGridClick(); });
          });
}

TBlundersPage::~TBlundersPage() = default;

QStringList TBlundersPage::SuspectHeaders() {
  return {QStringLiteral("#"),    QStringLiteral("From"),   QStringLiteral("To"),     QStringLiteral("w"),
          QStringLiteral("Kind"), QStringLiteral("Change"), QStringLiteral("Drop %"), QStringLiteral("Source")};
}

void TBlundersPage::FindBlundersBtnClick() {
  TWorkbench& bench = host_.Bench();
  bench.RequireMeasurements();
  const TBusyCursor busy;
  ClearSuspects();
  // Each suspect's loops come from the loop list; a list without a closed
  // loop of measured legs (none found yet, or a tree's closing shots) gets
  // the independent loops first.
  std::vector<TLoopMisclosure> misclosures = bench.Misclosures();
  const bool anyMeasured = std::any_of(misclosures.begin(), misclosures.end(),
                                       [](const TLoopMisclosure& m) { return m.Status == TLoopStatus::Measured; });
  if (!anyMeasured) {
    host_.FindMinimalLoops();
    misclosures = bench.Misclosures();
  }
  // The adjustment runs on its own thread, so the window repaints and scrolls meanwhile.
  TBlunderReport report;
  host_.SetSearching(true);
  std::exception_ptr error;
  {
    const auto restore = qScopeGuard([this] { host_.SetSearching(false); });
    error = RunInBackground([&] { report = bench.FindBlunders(TBlunderOptions{}, misclosures); }, {});
  }
  if (error) std::rethrow_exception(error);
  report_ = std::move(report);
  shotOfLeg_.assign(static_cast<size_t>(bench.Survey()->LegCount()), -1);
  const std::vector<int32_t>& legOfShot = bench.Network().LegOfShot;
  for (size_t shot = 0; shot < legOfShot.size(); ++shot) {
    const int32_t leg = legOfShot[shot];
    if (leg >= 0 && static_cast<size_t>(leg) < shotOfLeg_.size())
      shotOfLeg_[static_cast<size_t>(leg)] = static_cast<int32_t>(shot);
  }
  FillSuspectGrid();
  BlunderSummaryLabel->setText(SummaryText(report_));
}

void TBlundersPage::FillSuspectGrid() {
  const TSurvey& survey = *host_.Bench().Survey();
  const QSignalBlocker quiet(SuspectGrid->selectionModel());
  SuspectGrid->setRowCount(static_cast<int>(report_.Suspects.size()));
  for (size_t i = 0; i < report_.Suspects.size(); ++i) {
    const TLegCheck& check = report_.Suspects[i];
    const TSurveyLeg& leg = survey.Legs[static_cast<size_t>(check.Leg)];
    const QString cells[] = {QString::number(i + 1),
                             Text(StationLabel(survey, leg.From)),
                             Text(StationLabel(survey, leg.To)),
                             Fixed(check.W, 2),
                             KindText(check),
                             ChangeText(check),
                             check.Described ? Fixed(check.DropPercent, 1) : QStringLiteral("-"),
                             Text(LegSourceText(survey, check.Leg))};
    for (int column = 0; column < static_cast<int>(std::size(cells)); ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      if (column == 0 || column == 3 || column == 5 || column == 6)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      SuspectGrid->setItem(static_cast<int>(i), column, item);
    }
  }
  SuspectGrid->resizeColumnsToContents();
}

void TBlundersPage::SuspectGridClick() {
  const int row = SuspectGrid->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= report_.Suspects.size()) return;
  const TLegCheck& check = report_.Suspects[static_cast<size_t>(row)];
  const TSurvey& survey = *host_.Bench().Survey();
  const TSurveyLeg& leg = survey.Legs[static_cast<size_t>(check.Leg)];
  const int32_t shot =
      static_cast<size_t>(check.Leg) < shotOfLeg_.size() ? shotOfLeg_[static_cast<size_t>(check.Leg)] : -1;
  host_.MarkSuspect(shot, check.Loops);
  const QString source = Text(LegSourceText(survey, check.Leg));
  SuspectSourceLabel->setText(source);
  // "Suspect 1: cave.1 - cave.2, tape +4.980 m, cave.svx:12"
  QString change = KindText(check);
  if (check.Described) change += QLatin1Char(' ') + ChangeText(check);
  host_.ShowStatus(QStringLiteral("Suspect %1: %2 - %3, %4, %5")
                       .arg(row + 1)
                       .arg(Text(StationLabel(survey, leg.From)), Text(StationLabel(survey, leg.To)), change, source));
}

void TBlundersPage::ClearSuspects() {
  report_ = TBlunderReport{};
  shotOfLeg_.clear();
  const QSignalBlocker quiet(SuspectGrid->selectionModel());
  SuspectGrid->setRowCount(0);
  BlunderSummaryLabel->clear();
  SuspectSourceLabel->clear();
}
