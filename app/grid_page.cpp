#include "app/grid_page.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/application.h"
#include "app/page_host.h"
#include "app/page_widgets.h"
#include "controls/integer_spin.h"
#include "workbench/workbench.h"

TGridPage::TGridPage(TPageHost& host, QWidget* parent) : QWidget(parent), host_(host) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);

  auto* parameters = new QGroupBox(QStringLiteral("Grid Parameters"), this);
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

  auto* spacing = new QGroupBox(QStringLiteral("Grid Spacing"), this);
  auto* spacingForm = new QFormLayout(spacing);
  SpaceXSpin = MakeSpin("SpaceXSpin", 10, 1000, 1, 70, spacing);
  SpaceYSpin = MakeSpin("SpaceYSpin", 10, 1000, 1, 70, spacing);
  spacingForm->addRow(QStringLiteral("X"), SpaceXSpin);
  spacingForm->addRow(QStringLiteral("Y"), SpaceYSpin);
  layout->addWidget(spacing);

  SparseChk = new QCheckBox(QStringLiteral("Skip Rows"), this);
  SparseChk->setObjectName(QStringLiteral("SparseChk"));
  layout->addWidget(SparseChk);

  GridBtn = MakeButton("GridBtn", QStringLiteral("Build Gridded Graph"), this);
  Button3 = MakeButton("Button3", QStringLiteral("Build Non-Gridded Graph"), this);
  layout->addWidget(GridBtn);
  layout->addWidget(Button3);

  auto* problems = new QGroupBox(QStringLiteral("Problem Grids"), this);
  auto* problemGrid = new QGridLayout(problems);
  Problem1 = MakeButton("Problem1", QStringLiteral("Grid-1"), problems);
  Problem2Btn = MakeButton("Problem2Btn", QStringLiteral("Grid-2"), problems);
  Problem3Btn = MakeButton("Problem3Btn", QStringLiteral("Grid-3"), problems);
  Problem4Btn = MakeButton("Problem4Btn", QStringLiteral("Grid-4"), problems);
  Problem5Btn = MakeButton("Problem5Btn", QStringLiteral("Grid-5"), problems);
  Problem6Btn = MakeButton("Problem6Btn", QStringLiteral("Grid-6"), problems);
  QPushButton* problemButtons[] = {Problem1, Problem2Btn, Problem3Btn, Problem4Btn, Problem5Btn, Problem6Btn};
  for (int i = 0; i < 6; ++i) problemGrid->addWidget(problemButtons[i], i / 2, i % 2);
  ConnectCommand(Problem1, &QPushButton::clicked, this, &TGridPage::Problem1Click);
  ConnectCommand(Problem2Btn, &QPushButton::clicked, this, &TGridPage::Problem2BtnClick);
  ConnectCommand(Problem3Btn, &QPushButton::clicked, this, &TGridPage::Problem3BtnClick);
  ConnectCommand(Problem4Btn, &QPushButton::clicked, this, &TGridPage::Problem4BtnClick);
  ConnectCommand(Problem5Btn, &QPushButton::clicked, this, &TGridPage::Problem5BtnClick);
  ConnectCommand(Problem6Btn, &QPushButton::clicked, this, &TGridPage::Problem6BtnClick);
  layout->addWidget(problems);
  layout->addStretch(1);

  ConnectCommand(GridBtn, &QPushButton::clicked, this, &TGridPage::GridBtnClick);
  ConnectCommand(Button3, &QPushButton::clicked, this, &TGridPage::Button3Click);
}

void TGridPage::GridBtnClick() {
  TGridParameters parameters;
  parameters.Columns = static_cast<int32_t>(ColumnSpin->Value());
  parameters.Rows = static_cast<int32_t>(RowSpin->Value());
  parameters.Density = static_cast<int32_t>(DensitySpin->Value());
  parameters.Randomness = static_cast<int32_t>(RandomSpin->Value());
  parameters.Bordered = BorderedChk->isChecked();
  parameters.SkipRows = SparseChk->isChecked();
  parameters.SpacingX = static_cast<int32_t>(SpaceXSpin->Value());
  parameters.SpacingY = static_cast<int32_t>(SpaceYSpin->Value());
  TWorkbench& bench = host_.Bench();
  bench.BuildGridded(parameters);
  host_.FitDrawingArea(*bench.WorkGraph);
  host_.WorkGraphReplaced();
}

void TGridPage::Button3Click() {
  // The network is spread over the visible part: the drawing area takes the
  // scroll area's size.
  const QSize area = host_.DrawingViewSize();
  TRandomParameters parameters;
  parameters.Stations = static_cast<int32_t>(ColumnSpin->Value() * RowSpin->Value());
  parameters.Density = static_cast<int32_t>(DensitySpin->Value());
  parameters.Width = area.width();
  parameters.Height = area.height();
  host_.Bench().BuildNonGridded(parameters);
  host_.SetDrawingAreaSize(area);
  host_.WorkGraphReplaced();
}

void TGridPage::ProblemClick(int32_t number) {
  host_.Bench().BuildProblem(number);
  host_.WorkGraphReplaced();
}

void TGridPage::Problem1Click() { ProblemClick(1); }
void TGridPage::Problem2BtnClick() { ProblemClick(2); }
void TGridPage::Problem3BtnClick() { ProblemClick(3); }
void TGridPage::Problem4BtnClick() { ProblemClick(4); }
void TGridPage::Problem5BtnClick() { ProblemClick(5); }
void TGridPage::Problem6BtnClick() { ProblemClick(6); }
