// The "Spanning" page: the two tree commands, the view buttons and the text
// reports of the shown graph.

#include <QCheckBox>
#include <QGridLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "loops/breadth_first_tree.h"
#include "loops/depth_first_tree.h"
#include "sources/reports.h"

namespace {

QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromUtf8(name));
  return button;
}

}  // namespace

QWidget* TForm1::CreateSpanningPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(4, 4, 4, 4);

  PrimBtn = MakeButton("PrimBtn", QStringLiteral("Breadth First (Prim)"), page);
  ByIncidenceChk = new QCheckBox(QStringLiteral("Favor High Order"), page);
  ByIncidenceChk->setObjectName(QStringLiteral("ByIncidenceChk"));
  DepthFirstBtn = MakeButton("DepthFirstBtn", QStringLiteral("Depth First Tree"), page);
  layout->addWidget(PrimBtn);
  layout->addWidget(ByIncidenceChk);
  layout->addWidget(DepthFirstBtn);

  auto* views = new QHBoxLayout;
  OriginalBtn = MakeButton("OriginalBtn", QStringLiteral("Original"), page);
  ResultBtn = MakeButton("ResultBtn", QStringLiteral("Result"), page);
  views->addWidget(OriginalBtn);
  views->addWidget(ResultBtn);
  layout->addLayout(views);

  auto* reports = new QGridLayout;
  AdjacencyBtn = MakeButton("AdjacencyBtn", QStringLiteral("Show Adjacency"), page);
  SequenceBtn = MakeButton("SequenceBtn", QStringLiteral("Show Sequence"), page);
  ParentsBtn = MakeButton("ParentsBtn", QStringLiteral("Show Parents"), page);
  IndexBtn = MakeButton("IndexBtn", QStringLiteral("Show Indexes"), page);
  OptimizeBtn = MakeButton("OptimizeBtn", QStringLiteral("Optimize List"), page);
  reports->addWidget(AdjacencyBtn, 0, 0, 1, 2);
  reports->addWidget(SequenceBtn, 1, 0, 1, 2);
  reports->addWidget(ParentsBtn, 2, 0, 1, 2);
  reports->addWidget(IndexBtn, 3, 0, 1, 2);
  reports->addWidget(OptimizeBtn, 4, 0, 1, 2);
  layout->addLayout(reports);

  GraphMemo = new QPlainTextEdit(page);
  GraphMemo->setObjectName(QStringLiteral("GraphMemo"));
  GraphMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
  GraphMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  layout->addWidget(GraphMemo, 1);

  Connect(PrimBtn, &QPushButton::clicked, &TForm1::PrimBtnClick);
  Connect(DepthFirstBtn, &QPushButton::clicked, &TForm1::DepthFirstBtnClick);
  Connect(OriginalBtn, &QPushButton::clicked, &TForm1::OriginalBtnClick);
  Connect(ResultBtn, &QPushButton::clicked, &TForm1::ResultBtnClick);
  Connect(AdjacencyBtn, &QPushButton::clicked, &TForm1::AdjacencyBtnClick);
  Connect(SequenceBtn, &QPushButton::clicked, &TForm1::SequenceBtnClick);
  Connect(ParentsBtn, &QPushButton::clicked, &TForm1::ParentsBtnClick);
  Connect(IndexBtn, &QPushButton::clicked, &TForm1::IndexBtnClick);
  Connect(OptimizeBtn, &QPushButton::clicked, &TForm1::OptimizeBtnClick);
  return page;
}

void TForm1::SetMemoLines(const std::vector<std::string>& lines) {
  QStringList text;
  text.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) text.append(QString::fromStdString(line));
  GraphMemo->setPlainText(text.join(QLatin1Char('\n')));
}

void TForm1::PrimBtnClick() {
  ResultGraph->Clear();
  KeepGridLoops();
  BreadthFirstTree(*WorkGraph, *ResultGraph, *Loops, ByIncidenceChk->isChecked());
  ShowGraph(*ResultGraph);
  SetMemoLines(BreadthFirstMemoLines(*ResultGraph, *Loops));
}

void TForm1::DepthFirstBtnClick() {
  ResultGraph->Clear();
  KeepGridLoops();
  DepthFirstTree(*WorkGraph, *ResultGraph, *Loops);
  ShowGraph(*ResultGraph);
  SetMemoLines(DepthFirstMemoLines(*ResultGraph, *Loops));
}

void TForm1::AdjacencyBtnClick() { SetMemoLines(ReportAdjacency(*ShownGraph)); }

void TForm1::SequenceBtnClick() { SetMemoLines(ReportSequence(*ShownGraph)); }

void TForm1::ParentsBtnClick() { SetMemoLines(ReportParents(*ShownGraph)); }

void TForm1::IndexBtnClick() { SetMemoLines(ReportIndexes(*ShownGraph)); }

void TForm1::OptimizeBtnClick() {
  const int32_t reversed = OptimizeEdgeList(*ShownGraph);
  setWindowTitle(QString::number(reversed));
  ShowGraph(*ShownGraph);
}
