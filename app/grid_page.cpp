// The "Grid" page: the network builders and the six problem networks.

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "app/paint_box.h"
#include "controls/integer_spin.h"
#include "sources/graph_builders.h"
#include "sources/problem_grids.h"

namespace {

constexpr int32_t kGridMargin = 50;
// Wide enough for four digits, a units text and the arrows within the page.
constexpr int kSpinWidth = 80;

TIntegerSpin* MakeSpin(const char* name, int64_t min, int64_t max, int64_t step, int64_t value, QWidget* parent,
                       const QString& units = {}) {
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

QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromUtf8(name));
  return button;
}

}  // namespace

QWidget* TForm1::CreateGridPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(4, 4, 4, 4);

  auto* parameters = new QGroupBox(QStringLiteral("Grid Parameters"), page);
  auto* parameterForm = new QFormLayout(parameters);
  ColumnSpin = MakeSpin("ColumnSpin", 1, 50, 1, 3, parameters);
  RowSpin = MakeSpin("RowSpin", 1, 50, 1, 2, parameters);
  DensitySpin = MakeSpin("DensitySpin", 0, 100, 5, 100, parameters, QStringLiteral("%"));
  RandomSpin = MakeSpin("RandomSpin", 0, 75, 5, 0, parameters, QStringLiteral("%"));
  BorderedChk = new QCheckBox(QStringLiteral("Bordered"), parameters);
  BorderedChk->setObjectName(QStringLiteral("BorderedChk"));
  BorderedChk->setChecked(true);
  parameterForm->addRow(QStringLiteral("X Size"), ColumnSpin);
  parameterForm->addRow(QStringLiteral("Y Size"), RowSpin);
  parameterForm->addRow(QStringLiteral("Density"), DensitySpin);
  parameterForm->addRow(QStringLiteral("Randomness"), RandomSpin);
  parameterForm->addRow(BorderedChk);
  layout->addWidget(parameters);

  auto* spacing = new QGroupBox(QStringLiteral("Grid Spacing"), page);
  auto* spacingForm = new QFormLayout(spacing);
  SpaceXSpin = MakeSpin("SpaceXSpin", 10, 1000, 1, 70, spacing);
  SpaceYSpin = MakeSpin("SpaceYSpin", 10, 1000, 1, 70, spacing);
  spacingForm->addRow(QStringLiteral("X"), SpaceXSpin);
  spacingForm->addRow(QStringLiteral("Y"), SpaceYSpin);
  layout->addWidget(spacing);

  SparseChk = new QCheckBox(QStringLiteral("Skip Rows"), page);
  SparseChk->setObjectName(QStringLiteral("SparseChk"));
  layout->addWidget(SparseChk);

  GridBtn = MakeButton("GridBtn", QStringLiteral("Build Gridded Graph"), page);
  Button3 = MakeButton("Button3", QStringLiteral("Build Non-Gridded Graph"), page);
  layout->addWidget(GridBtn);
  layout->addWidget(Button3);

  auto* problems = new QGroupBox(QStringLiteral("Problem Grids"), page);
  auto* problemGrid = new QGridLayout(problems);
  Problem1 = MakeButton("Problem1", QStringLiteral("Grid-1"), problems);
  Problem2Btn = MakeButton("Problem2Btn", QStringLiteral("Grid-2"), problems);
  Problem3Btn = MakeButton("Problem3Btn", QStringLiteral("Grid-3"), problems);
  Problem4Btn = MakeButton("Problem4Btn", QStringLiteral("Grid-4"), problems);
  Problem5Btn = MakeButton("Problem5Btn", QStringLiteral("Grid-5"), problems);
  Problem6Btn = MakeButton("Problem6Btn", QStringLiteral("Grid-6"), problems);
  QPushButton* problemButtons[] = {Problem1, Problem2Btn, Problem3Btn, Problem4Btn, Problem5Btn, Problem6Btn};
  for (int i = 0; i < 6; ++i) problemGrid->addWidget(problemButtons[i], i / 2, i % 2);
  Connect(Problem1, &QPushButton::clicked, &TForm1::Problem1Click);
  Connect(Problem2Btn, &QPushButton::clicked, &TForm1::Problem2BtnClick);
  Connect(Problem3Btn, &QPushButton::clicked, &TForm1::Problem3BtnClick);
  Connect(Problem4Btn, &QPushButton::clicked, &TForm1::Problem4BtnClick);
  Connect(Problem5Btn, &QPushButton::clicked, &TForm1::Problem5BtnClick);
  Connect(Problem6Btn, &QPushButton::clicked, &TForm1::Problem6BtnClick);
  layout->addWidget(problems);
  layout->addStretch(1);

  Connect(GridBtn, &QPushButton::clicked, &TForm1::GridBtnClick);
  Connect(Button3, &QPushButton::clicked, &TForm1::Button3Click);
  return page;
}

void TForm1::GridBtnClick() {
  const auto columns = static_cast<int32_t>(ColumnSpin->Value());
  const auto rows = static_cast<int32_t>(RowSpin->Value());
  const auto density = static_cast<int32_t>(DensitySpin->Value());
  const auto randomness = static_cast<int32_t>(RandomSpin->Value());
  const auto spaceX = static_cast<int32_t>(SpaceXSpin->Value());
  const auto spaceY = static_cast<int32_t>(SpaceYSpin->Value());
  // Built aside and swapped in, so a failure leaves the old network whole.
  TSurveyGraph built;
  BuildGriddedGraph(built, kGridMargin, kGridMargin, BorderedChk->isChecked(), SparseChk->isChecked(), 100 - density,
                    rows, columns, spaceY, spaceX);
  if (randomness > 0) JitterStations(built, spaceX, spaceY, randomness);
  FitDrawingArea(built);
  ReplaceWorkGraph(built);
}

void TForm1::Button3Click() {
  const auto stationCount = static_cast<int32_t>(ColumnSpin->Value() * RowSpin->Value());
  const auto density = static_cast<int32_t>(DensitySpin->Value());
  // The network is spread over the visible part: the drawing area takes the
  // scroll area's size.
  const QSize area = ScrollBox1->size();
  TSurveyGraph built;
  BuildNonGriddedGraph(built, stationCount, area.width(), 100 - density, area.height());
  PaintBox1->setFixedSize(area);
  ReplaceWorkGraph(built);
}

void TForm1::ProblemClick(int32_t number) {
  TSurveyGraph built;
  BuildProblemGrid(built, number);
  ReplaceWorkGraph(built);
}

void TForm1::Problem1Click() { ProblemClick(1); }
void TForm1::Problem2BtnClick() { ProblemClick(2); }
void TForm1::Problem3BtnClick() { ProblemClick(3); }
void TForm1::Problem4BtnClick() { ProblemClick(4); }
void TForm1::Problem5BtnClick() { ProblemClick(5); }
void TForm1::Problem6BtnClick() { ProblemClick(6); }
