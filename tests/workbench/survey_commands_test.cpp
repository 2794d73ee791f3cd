// The workbench opens surveys as it opens graph files: the survey stays
// behind the work graph for full names, the legs chosen become shots, and a
// bad file leaves the network, survey and loops as they were.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/errors.h"
#include "tests/surveys/survex_tools.h"
#include "workbench/workbench.h"

namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

// A square loop a-b-c-d, a splay at a, and a duplicate leg that closes a
// second loop a-c.
const char* const kSquare =
    "*title \"Square\"\n"
    "*begin cave\n"
    "*data normal from to tape compass clino\n"
    "a b 10.00 000 0\n"
    "b c 10.00 090 0\n"
    "c d 10.00 180 0\n"
    "d a 10.00 270 0\n"
    "*flags splay\n"
    "a . 2.00 045 0\n"
    "*flags not splay duplicate\n"
    "a c 14.14 045 0\n"
    "*end cave\n";

class SurveyCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() / ("cyclorn-workbench-" + std::to_string(::getpid()) + "-" +
                                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string Write(const std::string& name, const std::string& text) const {
    const std::string path = (folder_ / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  std::string Folder() const { return folder_.string(); }

  std::filesystem::path folder_;
};

TEST_F(SurveyCommands, OpensRawAndProcessedSurveysWithTheirLoopsAndFullNames) {
  ASSERT_TRUE(HaveSurvexTools());
  const std::string svx = Write("square.svx", kSquare);
  const TCavernResult cavern = RunCavern(Folder(), "processed", kSquare);
  // The processed file is told by its contents, whatever its name.
  const std::string renamed = Folder() + "/processed.dat";
  std::filesystem::rename(cavern.File, renamed);
  for (const std::string& file : {svx, renamed}) {
    SCOPED_TRACE(file);
    TWorkbench bench;
    EXPECT_EQ(bench.Load(file), "");
    ASSERT_NE(bench.Survey(), nullptr);
    EXPECT_EQ(bench.Survey()->Title, "Square");
    // The splay is left out, the duplicate kept: four stations, five shots.
    EXPECT_EQ(bench.WorkGraph->StationCount(), 4);
    EXPECT_EQ(bench.WorkGraph->Edges.Count(), 5);
    bench.FindLoops(TLoopMethod::lmMinimal, true);
    EXPECT_EQ(bench.Loops->Count(), cavern.Loops);
    std::vector<std::string> names;
    for (int32_t s = 0; s < bench.WorkGraph->StationCount(); ++s) names.push_back(bench.StationName(s));
    EXPECT_THAT(names, Contains("cave.a"));
    EXPECT_THAT(bench.SurveySummaryLines(), Contains("loops: 2"));
    // Raw data closes its loops to a misclosure; a processed file has only positions.
    if (file == svx) {
      const std::vector<TLoopMisclosure> misclosures = bench.Misclosures();
      ASSERT_EQ(misclosures.size(), 2u);
      EXPECT_EQ(misclosures[0].Status, TLoopStatus::Measured);
      EXPECT_EQ(misclosures[0].Legs, 3);
    } else {
      try {
        bench.Misclosures();
        FAIL() << "a processed survey gave misclosures";
      } catch (const ECyclornError& error) {
        EXPECT_EQ(std::string(error.what()),
                  file + ": a processed survey holds positions only; loop misclosures need its raw data (.svx)");
      }
    }

    // Without duplicates the same survey has one loop; with splays the splay end joins.
    bench.ChooseLegs({false, false, false});
    EXPECT_EQ(bench.WorkGraph->Edges.Count(), 4);
    EXPECT_EQ(bench.Loops->Count(), 0);
    bench.ChooseLegs({true, false, true});
    EXPECT_EQ(bench.WorkGraph->StationCount(), 5);
    EXPECT_EQ(bench.WorkGraph->Edges.Count(), 6);
    ASSERT_NE(bench.Survey(), nullptr);

    // Any other network drops the survey.
    bench.BuildProblem(2);
    EXPECT_EQ(bench.Survey(), nullptr);
    EXPECT_EQ(bench.StationName(0), "A");
  }
}

TEST_F(SurveyCommands, ABadSurveyKeepsTheNetworkTheSurveyAndTheLoops) {
  TWorkbench bench;
  bench.Load(Write("good.svx", kSquare));
  bench.FindLoops(TLoopMethod::lmMinimal, true);
  const int32_t loops = bench.Loops->Count();
  const std::string bad = Write("bad.svx", "*begin x\n1 2 3.0 000 0\n*nonsense\n*end x\n");
  try {
    bench.Load(bad);
    FAIL() << "a bad survey loaded";
  } catch (const ECyclornError& error) {
    EXPECT_THAT(error.what(), HasSubstr(bad + ":3:"));
  }
  const std::string damaged = Write("damaged.3d", "Survex 3D Image File\nv8\n");
  EXPECT_THROW(bench.Load(damaged), ECyclornError);
  EXPECT_EQ(bench.Loops->Count(), loops);
  ASSERT_NE(bench.Survey(), nullptr);
  EXPECT_EQ(bench.Survey()->Title, "Square");
  EXPECT_EQ(bench.WorkGraph->Edges.Count(), 5);

  // "*declination auto" needs a fixed value; given one, the survey loads.
  const std::string automatic = Write("auto.svx", "*declination auto 0 0 0\n1 2 3.0 000 0\n");
  EXPECT_THROW(bench.Load(automatic), ECyclornError);
  bench.AutoDeclination = 2.5;
  bench.Load(automatic);
  EXPECT_EQ(bench.WorkGraph->Edges.Count(), 1);
}

}  // namespace
