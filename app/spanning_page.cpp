#include "app/spanning_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/application.h"
#include "app/page_host.h"
#include "app/page_widgets.h"
#include "workbench/workbench.h"

TSpanningPage::TSpanningPage(TPageHost& host, QWidget* parent) : QWidget(parent), host_(host) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);

  PrimBtn = MakeButton("PrimBtn", QStringLiteral("Breadth First (Prim)"), this);
  ByIncidenceChk = new QCheckBox(QStringLiteral("Favor High Order"), this);
  ByIncidenceChk->setObjectName(QStringLiteral("ByIncidenceChk"));
  DepthFirstBtn = MakeButton("DepthFirstBtn", QStringLiteral("Depth First Tree"), this);
  layout->addWidget(PrimBtn);
  layout->addWidget(ByIncidenceChk);
  layout->addWidget(DepthFirstBtn);

  auto* views = new QHBoxLayout;
  OriginalBtn = MakeButton("OriginalBtn", QStringLiteral("Original"), this);
  ResultBtn = MakeButton("ResultBtn", QStringLiteral("Result"), this);
  views->addWidget(OriginalBtn);
  views->addWidget(ResultBtn);
  layout->addLayout(views);

  auto* reports = new QGridLayout;
  AdjacencyBtn = MakeButton("AdjacencyBtn", QStringLiteral("Show Adjacency"), this);
  SequenceBtn = MakeButton("SequenceBtn", QStringLiteral("Show Sequence"), this);
  ParentsBtn = MakeButton("ParentsBtn", QStringLiteral("Show Parents"), this);
  IndexBtn = MakeButton("IndexBtn", QStringLiteral("Show Indexes"), this);
  OptimizeBtn = MakeButton("OptimizeBtn", QStringLiteral("Optimize List"), this);
  reports->addWidget(AdjacencyBtn, 0, 0, 1, 2);
  reports->addWidget(SequenceBtn, 1, 0, 1, 2);
  reports->addWidget(ParentsBtn, 2, 0, 1, 2);
  reports->addWidget(IndexBtn, 3, 0, 1, 2);
  reports->addWidget(OptimizeBtn, 4, 0, 1, 2);
  layout->addLayout(reports);

  GraphMemo = new QPlainTextEdit(this);
  GraphMemo->setObjectName(QStringLiteral("GraphMemo"));
  GraphMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
  GraphMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  layout->addWidget(GraphMemo, 1);

  ConnectCommand(PrimBtn, &QPushButton::clicked, this, &TSpanningPage::PrimBtnClick);
  ConnectCommand(DepthFirstBtn, &QPushButton::clicked, this, &TSpanningPage::DepthFirstBtnClick);
  ConnectCommand(OriginalBtn, &QPushButton::clicked, this, &TSpanningPage::OriginalBtnClick);
  ConnectCommand(ResultBtn, &QPushButton::clicked, this, &TSpanningPage::ResultBtnClick);
  ConnectCommand(AdjacencyBtn, &QPushButton::clicked, this, &TSpanningPage::AdjacencyBtnClick);
  ConnectCommand(SequenceBtn, &QPushButton::clicked, this, &TSpanningPage::SequenceBtnClick);
  ConnectCommand(ParentsBtn, &QPushButton::clicked, this, &TSpanningPage::ParentsBtnClick);
  ConnectCommand(IndexBtn, &QPushButton::clicked, this, &TSpanningPage::IndexBtnClick);
  ConnectCommand(OptimizeBtn, &QPushButton::clicked, this, &TSpanningPage::OptimizeBtnClick);
}

void TSpanningPage::SetMemoLines(const std::vector<std::string>& lines) {
  QStringList text;
  text.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) text.append(QString::fromStdString(line));
  GraphMemo->setPlainText(text.join(QLatin1Char('\n')));
}

void TSpanningPage::PrimBtnClick() {
  TWorkbench& bench = host_.Bench();
  bench.ResultGraph->Clear();
  host_.KeepGridLoops();
  const std::vector<std::string> memo = bench.GrowTree(TTreeKind::tkBreadthFirst, ByIncidenceChk->isChecked());
  host_.ShowGraph(*bench.ResultGraph);
  SetMemoLines(memo);
}

void TSpanningPage::DepthFirstBtnClick() {
  TWorkbench& bench = host_.Bench();
  bench.ResultGraph->Clear();
  host_.KeepGridLoops();
  const std::vector<std::string> memo = bench.GrowTree(TTreeKind::tkDepthFirst, false);
  host_.ShowGraph(*bench.ResultGraph);
  SetMemoLines(memo);
}

void TSpanningPage::OriginalBtnClick() { host_.ShowGraph(*host_.Bench().WorkGraph); }

void TSpanningPage::ResultBtnClick() { host_.ShowGraph(*host_.Bench().ResultGraph); }

void TSpanningPage::AdjacencyBtnClick() { SetMemoLines(host_.Bench().Report(TReportKind::rkAdjacency)); }

void TSpanningPage::SequenceBtnClick() { SetMemoLines(host_.Bench().Report(TReportKind::rkSequence)); }

void TSpanningPage::ParentsBtnClick() { SetMemoLines(host_.Bench().Report(TReportKind::rkParents)); }

void TSpanningPage::IndexBtnClick() { SetMemoLines(host_.Bench().Report(TReportKind::rkIndexes)); }

void TSpanningPage::OptimizeBtnClick() {
  TWorkbench& bench = host_.Bench();
  const int32_t reversed = bench.OptimizeList();
  host_.SetTitle(QString::number(reversed));
  host_.ShowGraph(*bench.ShownGraph);
}
