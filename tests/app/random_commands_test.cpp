// Thousands of random commands and parameter changes on the real window,
// with loads of hostile graph files, metafile exports and display option
// changes among them: none may fail unless it is a load of a bad file, which
// must leave the network as it was, and the drawing must stay paintable
// after every one. CYCLORN_RANDOM_SECONDS runs it for that long instead
// (make soak does so in the sanitizer build) and then also checks that the
// memory in use has not grown.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <deque>
#include <functional>
#include <iostream>
#include <random>
#include <sstream>

#include "controls/integer_spin.h"
#include "render_qt/paint_box.h"
#include "tests/app/app_test_support.h"
#include "tests/app/recording_canvas.h"
#include "tests/common/graph_fingerprint.h"
#include "tests/common/resident_memory.h"

namespace {

constexpr int kCommandCount = 3000;

// How long to run when CYCLORN_RANDOM_SECONDS is set, else 0: run kCommandCount.
int64_t SecondsFromEnvironment() {
  bool ok = false;
  const int64_t seconds = qEnvironmentVariable("CYCLORN_RANDOM_SECONDS").toLongLong(&ok);
  return ok && seconds > 0 ? seconds : 0;
}

uint32_t SeedFromEnvironment() {
  bool ok = false;
  const uint32_t seed = qEnvironmentVariable("CYCLORN_RANDOM_SEED").toUInt(&ok);
  return ok ? seed : 20261208u;
}

class RandomCommands : public TWindowTest {
 protected:
  int Draw(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

  struct TStep {
    const char* Name;
    std::function<void()> Run;
  };

  std::vector<TStep> Steps() {
    auto buttonStep = [this](const char* name, QPushButton* button) {
      return TStep{name, [this, button] { Click(button); }};
    };
    auto spinStep = [this](const char* name, TIntegerSpin* spin, int low, int high) {
      return TStep{name, [this, spin, low, high] { spin->SetValue(Draw(low, high)); }};
    };
    auto checkStep = [](const char* name, QCheckBox* box) {
      return TStep{name, [box] { box->setChecked(!box->isChecked()); }};
    };
    return {
        // Sizes stay small so thousands of searches run quickly; the spins
        // are also given values outside their ranges, which they hold.
        spinStep("columns", form->ColumnSpin, -2, 14),
        spinStep("rows", form->RowSpin, -2, 12),
        spinStep("density", form->DensitySpin, -10, 110),
        spinStep("randomness", form->RandomSpin, -10, 90),
        spinStep("space x", form->SpaceXSpin, 0, 120),
        spinStep("space y", form->SpaceYSpin, 0, 120),
        checkStep("bordered", form->BorderedChk),
        checkStep("skip rows", form->SparseChk),
        checkStep("favor high order", form->ByIncidenceChk),
        checkStep("optimise", form->OptimiseChk),
        TStep{"method", [this] { form->SetOptimizeRadioIndex(Draw(-1, 2)); }},
        buttonStep("gridded", form->GridBtn),
        buttonStep("gridded", form->GridBtn),
        buttonStep("non-gridded", form->Button3),
        buttonStep("grid-1", form->Problem1),
        buttonStep("grid-2", form->Problem2Btn),
        buttonStep("grid-3", form->Problem3Btn),
        buttonStep("grid-4", form->Problem4Btn),
        buttonStep("grid-5", form->Problem5Btn),
        buttonStep("grid-6", form->Problem6Btn),
        buttonStep("prim", form->PrimBtn),
        buttonStep("depth first", form->DepthFirstBtn),
        buttonStep("original", form->OriginalBtn),
        buttonStep("result", form->ResultBtn),
        buttonStep("adjacency", form->AdjacencyBtn),
        buttonStep("sequence", form->SequenceBtn),
        buttonStep("parents", form->ParentsBtn),
        buttonStep("indexes", form->IndexBtn),
        buttonStep("optimize list", form->OptimizeBtn),
        buttonStep("find loops", form->Button1),
        buttonStep("find loops", form->Button1),
        buttonStep("original (loops page)", form->Button2),
        TStep{"loop spin",
              [this] { form->LoopSpin->SetValue(Draw(-2, static_cast<int>(form->LoopSpin->MaxValue()) + 2)); }},
        TStep{"loop grid row", [this] { form->SetLoopGridRow(Draw(0, form->LoopGrid->model()->rowCount() + 1)); }},
        TStep{"save", [this] { SaveGraph(); }},
        TStep{"load",
              [this] {
                chosenFile = savedFile;
                if (QFile::exists(savedFile)) form->LoadFile1->trigger();
              }},
        TStep{"load hostile file", [this] { LoadHostileFile(); }},
        TStep{"export metafile", [this] { ExportMetafile(); }},
        TStep{"display options", [this] { ChangeDisplaySettings(); }},
    };
  }

  void SaveGraph() {
    chosenFile = savedFile;
    form->SaveFile1->trigger();
  }

  // A bad file must leave the work graph and the view as they were; a good
  // one (some hostile files are well formed) simply loads.
  void LoadHostileFile() {
    const QStringList files = QDir(hostileFolder).entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty()) << "no hostile files in " << hostileFolder.toStdString();
    chosenFile = QDir(hostileFolder).filePath(files[Draw(0, static_cast<int>(files.size()) - 1)]);
    const std::string before = GraphFingerprint(*form->WorkGraph);
    const TSurveyGraph* shownBefore = form->ShownGraph;
    form->LoadFile1->trigger();
    if (messages.isEmpty()) return;
    if (GraphFingerprint(*form->WorkGraph) != before || form->ShownGraph != shownBefore)
      ADD_FAILURE() << "a refused load of " << chosenFile.toStdString() << " changed the network";
    messages.clear();
  }

  // A picture of each format, of what the window shows. A loaded network
  // with huge positions may be too large for one: then it is refused with
  // its message and no file.
  void ExportMetafile() {
    const QString names[] = {QStringLiteral("random.emf"), QStringLiteral("random.wmf"), QStringLiteral("random.svg"),
                             QStringLiteral("random.png")};
    chosenFile = TempPath(names[Draw(0, 3)]);
    QFile::remove(chosenFile);
    form->SaveMetafile1->trigger();
    if (messages.isEmpty()) {
      if (QFileInfo(chosenFile).size() <= 0) ADD_FAILURE() << "the export wrote no file " << chosenFile.toStdString();
      return;
    }
    if (messages.size() == 1 && !QFile::exists(chosenFile) &&
        (messages[0].contains(QStringLiteral(" does not fit ")) || messages[0].contains(QStringLiteral("too far"))))
      messages.clear();
  }

  void ChangeDisplaySettings() {
    constexpr TColor kColors[] = {clBlack, clWhite, clRed, clGray, TColor::Rgb(0, 128, 255)};
    TDisplaySettings& settings = form->DisplaySettings;
    auto color = [this, &kColors] { return kColors[Draw(0, static_cast<int>(std::size(kColors)) - 1)]; };
    switch (Draw(0, 5)) {
      case 0:
        settings.LineWidth = Draw(TDisplaySettings::kMinLineWidth, TDisplaySettings::kMaxLineWidth);
        break;
      case 1:
        settings.ShowArrow = !settings.ShowArrow;
        break;
      case 2:
        settings.LabelMode = Draw(0, 1) == 0 ? lmStation : lmIndex;
        break;
      case 3:
        settings.LineColor = color();
        break;
      case 4:
        settings.BackColor = color();
        break;
      default:
        settings.LabelFont.Height = -Draw(6, 30);
        break;
    }
    form->PaintBox1->update();
  }

  std::mt19937 random;
  QString savedFile;
  QString chosenFile;
  QString hostileFolder = DataPath(QStringLiteral("../sources/hostile"));
};

TEST_F(RandomCommands, RunWithoutAnyError) {
  const uint32_t seed = SeedFromEnvironment();
  SCOPED_TRACE(testing::Message() << "seed " << seed << " (set CYCLORN_RANDOM_SEED to repeat)");
  random.seed(seed);
  savedFile = TempPath(QStringLiteral("random.grf"));
  form->ChooseFile = [this](const TFileDialogRequest&) { return chosenFile; };
  const std::vector<TStep> steps = Steps();
  std::deque<std::string> recent;
  const int64_t seconds = SecondsFromEnvironment();
  QElapsedTimer clock;
  clock.start();
  int64_t settledMegabytes = -1;  // memory in use once the first tenth of a long run is over
  int64_t nextReport = 60;
  for (int64_t i = 0; seconds > 0 ? clock.elapsed() < seconds * 1000 : i < kCommandCount; ++i) {
    if (seconds > 0 && settledMegabytes < 0 && clock.elapsed() >= seconds * 100) settledMegabytes = ResidentMegabytes();
    // A long run tells how memory goes every two minutes, to tell growth from a plateau.
    if (seconds > 0 && clock.elapsed() >= nextReport * 1000) {
      std::cout << "resident memory after " << nextReport << " s: " << ResidentMegabytes() << " MB" << std::endl;
      nextReport += 120;
    }
    const TStep& step = steps[static_cast<size_t>(Draw(0, static_cast<int>(steps.size()) - 1))];
    recent.push_back(std::to_string(i) + " " + step.Name);
    if (recent.size() > 12) recent.pop_front();
    step.Run();
    // The window runs its event loop between the user's commands: posted
    // repaints, layout requests and deferred deletions are handled there,
    // and a run that never lets them happen piles them up.
    QCoreApplication::processEvents();

    TRecordingCanvas canvas;
    form->PaintBox1Paint(canvas);
    if (i % 250 == 0) (void)form->PaintBox1->grab(QRect(0, 0, 400, 400));
    const bool shownIsOurs = form->ShownGraph == form->WorkGraph.get() || form->ShownGraph == form->ResultGraph.get();
    if (!messages.isEmpty() || !shownIsOurs) {
      std::ostringstream last;
      for (const std::string& name : recent) last << "\n  " << name;
      FAIL() << "after command " << i << ": " << messages.join(QStringLiteral("; ")).toStdString()
             << "\nlast commands:" << last.str();
    }
    if (HasFailure()) return;
  }
  // The networks stay small, so anything more than a generous margin is memory
  // the window keeps for no network at all.
  if (settledMegabytes >= 0) {
    const int64_t endMegabytes = ResidentMegabytes();
    std::cout << "resident memory: " << settledMegabytes << " MB after the first tenth, " << endMegabytes
              << " MB at the end\n";
    EXPECT_LE(endMegabytes, settledMegabytes + 128);
  }
}

}  // namespace
