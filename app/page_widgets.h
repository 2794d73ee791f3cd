#pragma once
// The controls the pages are made of, built the same way on every page.

#include <QPushButton>
#include <QString>

class QTableView;
class TIntegerSpin;

// A push button with an object name, so tests and scripts can press it.
QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent);
// A read-only list of rows, chosen one whole row at a time: no row numbers,
// every row rowHeight pixels high, so the view places rows by arithmetic
// however many there are.
void SetUpRowList(QTableView* grid, int rowHeight);
// An integer spin with its limits, step and value; `units` follows the number.
TIntegerSpin* MakeSpin(const char* name, int64_t min, int64_t max, int64_t step, int64_t value, QWidget* parent,
                       const QString& units = {});
