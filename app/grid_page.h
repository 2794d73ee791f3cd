#pragma once
// TGridPage, the "Grid" page: the parameters of the generated networks, the
// two network builders and the six problem networks.

#include <QWidget>
#include <cstdint>

class QCheckBox;
class QPushButton;
class TIntegerSpin;
class TPageHost;

class TGridPage final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TGridPage)

 public:
  explicit TGridPage(TPageHost& host, QWidget* parent = nullptr);

  TIntegerSpin* ColumnSpin = nullptr;
  TIntegerSpin* RowSpin = nullptr;
  TIntegerSpin* DensitySpin = nullptr;
  TIntegerSpin* RandomSpin = nullptr;
  QCheckBox* BorderedChk = nullptr;
  TIntegerSpin* SpaceXSpin = nullptr;
  TIntegerSpin* SpaceYSpin = nullptr;
  QCheckBox* SparseChk = nullptr;
  QPushButton* GridBtn = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Problem1 = nullptr;
  QPushButton* Problem2Btn = nullptr;
  QPushButton* Problem3Btn = nullptr;
  QPushButton* Problem4Btn = nullptr;
  QPushButton* Problem5Btn = nullptr;
  QPushButton* Problem6Btn = nullptr;

  void GridBtnClick();
  void Button3Click();
  void Problem1Click();
  void Problem2BtnClick();
  void Problem3BtnClick();
  void Problem4BtnClick();
  void Problem5BtnClick();
  void Problem6BtnClick();

 private:
  // Fills the work graph with problem network "Grid-<number>".
  void ProblemClick(int32_t number);

  TPageHost& host_;
};
