// Starts the real program on a virtual X server, lets it build "Grid-2" and
// find its loops, and checks the picture of its drawing area.

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

struct TColourCounts {
  int Grey = 0, Black = 0, LoopRed = 0, Other = 0;
};

TColourCounts CountColours(const QImage& picture) {
  TColourCounts counts;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QColor colour = picture.pixelColor(x, y);
      if (colour == QColor(128, 128, 128)) {
        ++counts.Grey;
      } else if (colour == QColor(0, 0, 0)) {
        ++counts.Black;
      } else if (colour == QColor(255, 0, 0)) {
        ++counts.LoopRed;
      } else {
        ++counts.Other;
      }
    }
  }
  return counts;
}

// Runs the real program on a virtual X server with a script; a failure when it does not end well.
void RunScripted(const QTemporaryDir& folder, const QString& script) {
  const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
  // Under the sanitizers the X11 libraries the real window loads (xkbcommon's
  // strndup, dbus' buffers) trip the string and leak checks; the program's own
  // memory is checked by the in-process window tests.
  environment.insert(QStringLiteral("ASAN_OPTIONS"),
                     QStringLiteral("detect_leaks=0:strict_string_checks=0:abort_on_error=1"));
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.path());
  environment.insert(QStringLiteral("CYCLORN_SCRIPT"), script);
  program.setProcessEnvironment(environment);
  program.setWorkingDirectory(folder.path());
  program.start(xvfb, {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x1024x24"),
                       QStringLiteral(CYCLORN_EXECUTABLE)});
  ASSERT_TRUE(program.waitForStarted(10000));
  const bool finished = program.waitForFinished(120000);
  if (!finished) program.kill();
  ASSERT_TRUE(finished) << "the workbench did not finish its script";
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
}

TEST(Workbench, DrawsTheLoopsOfGrid2OnARealDisplay) {
  if (QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty()) GTEST_SKIP() << "xvfb-run is not installed";
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString picturePath = folder.filePath(QStringLiteral("loops.png"));
  ASSERT_NO_FATAL_FAILURE(
      RunScripted(folder, QStringLiteral("click Problem2Btn;click Button1;grab %1;quit").arg(picturePath)));

  QImage picture(picturePath);
  ASSERT_FALSE(picture.isNull()) << "no picture was saved";
  EXPECT_EQ(picture.size(), QSize(1024, 768));  // the problem networks keep the area as it is
  const TColourCounts counts = CountColours(picture.convertToFormat(QImage::Format_RGB32));
  // The loop view: grey background, loops in black, the chosen loop in red.
  EXPECT_GT(counts.Grey, picture.width() * picture.height() / 2);
  EXPECT_GT(counts.Black, 500);
  EXPECT_GT(counts.LoopRed, 100);
}

TEST(Workbench, BringsAChosenLoopOfASurveyIntoViewOnARealDisplay) {
  if (QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty()) GTEST_SKIP() << "xvfb-run is not installed";
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  // A 12 x 12 grid survey of 10 m legs: 121 loops.
  QString svx = QStringLiteral("*begin cave\n");
  for (int r = 0; r < 12; ++r)
    for (int c = 0; c < 12; ++c) {
      if (c + 1 < 12) svx += QStringLiteral("r%1c%2 r%1c%3 10.00 090 0\n").arg(r).arg(c).arg(c + 1);
      if (r + 1 < 12) svx += QStringLiteral("r%1c%2 r%3c%2 10.00 000 0\n").arg(r).arg(c).arg(r + 1);
    }
  svx += QStringLiteral("*end cave\n");
  const QString survey = folder.filePath(QStringLiteral("grid.svx"));
  {
    QFile file(survey);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(svx.toLatin1());
  }
  const QString fitted = folder.filePath(QStringLiteral("fitted.png"));
  const QString chosen = folder.filePath(QStringLiteral("chosen.png"));
  // Fitted, zoomed far in, scrolled to a corner, then loop 5 chosen.
  ASSERT_NO_FATAL_FAILURE(RunScripted(
      folder, QStringLiteral("load %1;click FitToWindow1;page 2;click MinimalRadio;click Button1;grab-view %2;"
                             "click ZoomIn1;click ZoomIn1;click ZoomIn1;click ZoomIn1;click ZoomIn1;click ZoomIn1;"
                             "scroll 0 0;click LoopSpinUp;click LoopSpinUp;click LoopSpinUp;click LoopSpinUp;"
                             "click LoopSpinUp;grab-view %3;quit")
                  .arg(survey, fitted, chosen)));
  const QImage whole(fitted);
  const QImage inView(chosen);
  ASSERT_FALSE(whole.isNull());
  ASSERT_FALSE(inView.isNull());
  // The whole survey in view shows loop 0 in red; after zooming in, loop 5's red is in view.
  EXPECT_GT(CountColours(whole.convertToFormat(QImage::Format_RGB32)).LoopRed, 20);
  EXPECT_GT(CountColours(inView.convertToFormat(QImage::Format_RGB32)).LoopRed, 100);
}

}  // namespace
