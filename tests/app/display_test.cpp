// Starts the real program on a virtual X server, lets it build "Grid-2" and
// find its loops, and checks the picture of its drawing area.

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
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

TEST(Workbench, DrawsTheLoopsOfGrid2OnARealDisplay) {
  const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
  if (xvfb.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed";
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString picturePath = folder.filePath(QStringLiteral("loops.png"));

  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
  // Under the sanitizers the X11 libraries the real window loads (xkbcommon's
  // strndup, dbus' buffers) trip the string and leak checks; the program's own
  // memory is checked by the in-process window tests.
  environment.insert(QStringLiteral("ASAN_OPTIONS"),
                     QStringLiteral("detect_leaks=0:strict_string_checks=0:abort_on_error=1"));
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.path());
  environment.insert(QStringLiteral("CYCLORN_SCRIPT"),
                     QStringLiteral("click Problem2Btn;click Button1;grab %1;quit").arg(picturePath));
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

  QImage picture(picturePath);
  ASSERT_FALSE(picture.isNull()) << "no picture was saved";
  EXPECT_EQ(picture.size(), QSize(1024, 768));  // the problem networks keep the area as it is
  const TColourCounts counts = CountColours(picture.convertToFormat(QImage::Format_RGB32));
  // The loop view: grey background, loops in black, the chosen loop in red.
  EXPECT_GT(counts.Grey, picture.width() * picture.height() / 2);
  EXPECT_GT(counts.Black, 500);
  EXPECT_GT(counts.LoopRed, 100);
}

}  // namespace
