#pragma once
// Shared set-up of the window tests: one application object for the test
// program, a fresh main window per test on a 1280 x 1024 screen, error
// messages collected instead of shown, and readers for the window's lists.

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "controls/integer_spin.h"

class QAbstractButton;

// Creates the application object on first use; it lives until the program ends.
void EnsureApplication();

class TWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Shows the page that holds the control, then presses and releases the
  // left mouse button over it.
  void Click(QAbstractButton* button) const;
  // Clicks the cell (row, column) of the loop grid, row counted as the grid
  // counts it (row 1 is the first data row).
  void ClickLoopGridRow(int row) const;
  std::vector<std::string> MemoLines() const;
  // The six cells of a loop grid row (row 0: the headers).
  std::vector<std::string> LoopGridRow(int row) const;
  int LoopGridRowCount() const;  // header row included
  std::string Text(const QString& text) const { return text.toStdString(); }
  // Writes a file into the test's own temporary folder and returns its path.
  QString TempPath(const QString& name) const;
  // Path of a file beside the tests.
  static QString DataPath(const QString& name);

  std::unique_ptr<TForm1> form;
  QStringList messages;  // error messages shown, in order
  QString tempDir;
};
