#pragma once
// TSpanningPage, the "Spanning" page: the two tree commands, the view
// buttons and the text reports of the shown graph in the memo.

#include <QWidget>
#include <string>
#include <vector>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;
class TPageHost;

class TSpanningPage final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TSpanningPage)

 public:
  explicit TSpanningPage(TPageHost& host, QWidget* parent = nullptr);

  QPushButton* PrimBtn = nullptr;
  QCheckBox* ByIncidenceChk = nullptr;
  QPushButton* DepthFirstBtn = nullptr;
  QPushButton* OriginalBtn = nullptr;
  QPushButton* ResultBtn = nullptr;
  QPushButton* AdjacencyBtn = nullptr;
  QPushButton* SequenceBtn = nullptr;
  QPushButton* ParentsBtn = nullptr;
  QPushButton* IndexBtn = nullptr;
  QPushButton* OptimizeBtn = nullptr;
  QPlainTextEdit* GraphMemo = nullptr;

  void PrimBtnClick();
  void DepthFirstBtnClick();
  void OriginalBtnClick();
  void ResultBtnClick();
  void AdjacencyBtnClick();
  void SequenceBtnClick();
  void ParentsBtnClick();
  void IndexBtnClick();
  void OptimizeBtnClick();

 private:
  void SetMemoLines(const std::vector<std::string>& lines);

  TPageHost& host_;
};
