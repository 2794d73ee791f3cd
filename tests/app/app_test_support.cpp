#include "tests/app/app_test_support.h"

#include <QAbstractButton>
#include <QDir>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include "app/application.h"
#include "sources/random_int.h"

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "cyclorn_app_tests";
  static char* argv[] = {name, nullptr};
  // Reachable for the whole run, so it is neither destroyed too early nor a leak.
  static TCyclornApplication* application = new TCyclornApplication(argc, argv);
  (void)application;
}

void TWindowTest::SetUp() {
  EnsureApplication();
  RandomSeed = 0;
  SetErrorPresenter([this](const QString& message) { messages.append(message); });
  SetApplicationHelpFile(QStringLiteral("LOOP.HLP"));
  form = std::make_unique<TForm1>();
  form->ScreenSize = [] { return QSize(1280, 1024); };
  form->ChooseFile = [](const TFileDialogRequest&) {
    ADD_FAILURE() << "an unexpected file dialog was opened";
    return QString();
  };
  form->CreateDisplayDialog();
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  tempDir = QDir::temp().filePath(QStringLiteral("cyclorn_app_%1_%2_%3")
                                      .arg(QString::fromUtf8(info->test_suite_name()), QString::fromUtf8(info->name()))
                                      .arg(QCoreApplication::applicationPid()));
  QDir(tempDir).removeRecursively();
  ASSERT_TRUE(QDir().mkpath(tempDir));
}

void TWindowTest::TearDown() {
  form.reset();
  SetErrorPresenter({});
  QDir(tempDir).removeRecursively();
}

void TWindowTest::Click(QAbstractButton* button) const {
  ASSERT_NE(button, nullptr);
  for (int page = 0; page < form->PageControl1->count(); ++page) {
    if (form->PageControl1->widget(page)->isAncestorOf(button)) form->PageControl1->setCurrentIndex(page);
  }
  QTest::mouseClick(button, Qt::LeftButton);
}

void TWindowTest::ClickLoopGridRow(int row) const {
  QTableView* grid = form->LoopGrid;
  form->PageControl1->setCurrentIndex(2);
  QTest::qWait(0);
  grid->scrollTo(grid->model()->index(row - 1, 0));
  const QRect cell = grid->visualRect(grid->model()->index(row - 1, 0));
  ASSERT_TRUE(cell.isValid()) << "row " << row << " is not on screen";
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

std::vector<std::string> TWindowTest::MemoLines() const {
  const QString text = form->GraphMemo->toPlainText();
  if (text.isEmpty()) return {};
  std::vector<std::string> lines;
  for (const QString& line : text.split(QLatin1Char('\n'))) lines.push_back(line.toStdString());
  return lines;
}

std::vector<std::string> TWindowTest::LoopGridRow(int row) const {
  const QAbstractItemModel& model = *form->LoopGrid->model();
  std::vector<std::string> cells;
  for (int column = 0; column < model.columnCount(); ++column) {
    const QVariant cell =
        row == 0 ? model.headerData(column, Qt::Horizontal) : model.data(model.index(row - 1, column));
    cells.push_back(cell.toString().toStdString());
  }
  return cells;
}

int TWindowTest::LoopGridRowCount() const { return form->LoopGrid->model()->rowCount() + 1; }

QString TWindowTest::TempPath(const QString& name) const { return QDir(tempDir).filePath(name); }

QString TWindowTest::DataPath(const QString& name) {
  return QDir(qEnvironmentVariable("CYCLORN_TEST_DATA")).filePath(name);
}

// The leak checker of the sanitizer builds reads this. Fontconfig keeps a
// cache of matched fonts for the life of the process and never frees it; that
// is the system library's, not the program's.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
