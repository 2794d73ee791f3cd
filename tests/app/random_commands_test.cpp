// Thousands of random commands and parameter changes on the real window; none
// may fail, and the drawing must stay paintable after every one.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <deque>
#include <functional>
#include <random>
#include <sstream>

#include "app/paint_box.h"
#include "controls/integer_spin.h"
#include "tests/app/app_test_support.h"
#include "tests/app/recording_canvas.h"

namespace {

constexpr int kCommandCount = 3000;

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
        TStep{"save", [this] { form->SaveFile1->trigger(); }},
        TStep{"load",
              [this] {
                if (QFile::exists(savedFile)) form->LoadFile1->trigger();
              }},
    };
  }

  std::mt19937 random;
  QString savedFile;
};

TEST_F(RandomCommands, RunWithoutAnyError) {
  const uint32_t seed = SeedFromEnvironment();
  SCOPED_TRACE(testing::Message() << "seed " << seed << " (set CYCLORN_RANDOM_SEED to repeat)");
  random.seed(seed);
  savedFile = TempPath(QStringLiteral("random.grf"));
  form->ChooseFile = [this](const TFileDialogRequest&) { return savedFile; };
  const std::vector<TStep> steps = Steps();
  std::deque<std::string> recent;
  for (int i = 0; i < kCommandCount; ++i) {
    const TStep& step = steps[static_cast<size_t>(Draw(0, static_cast<int>(steps.size()) - 1))];
    recent.push_back(std::to_string(i) + " " + step.Name);
    if (recent.size() > 12) recent.pop_front();
    step.Run();

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
  }
}

}  // namespace
