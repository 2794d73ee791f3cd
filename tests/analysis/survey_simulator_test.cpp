#include "analysis/survey_simulator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "analysis_test_support.h"
#include "core/errors.h"
#include "surveys/svx_reader.h"

namespace {

using ::testing::HasSubstr;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(SurveySimulator, GivesTheSameSurveyForASeedAndAnotherForAnotherSeed) {
  TSimulationOptions o;
  o.Columns = 6;
  o.Rows = 4;
  o.ThinPercent = 30;
  o.Blunders = 5;
  const TSimulatedSurvey a = SimulateSurvey(o), b = SimulateSurvey(o);
  EXPECT_EQ(a.Svx, b.Svx);
  o.Seed = 2;
  EXPECT_NE(SimulateSurvey(o).Svx, a.Svx);
  // Thinned, but every station still joined: at least a spanning tree, fewer than the full 38 legs.
  EXPECT_GE(a.Legs.size(), 23u);
  EXPECT_LT(a.Legs.size(), 38u);
  const std::vector<std::string> lines = Lines(a.Svx);
  EXPECT_EQ(lines[1], "*begin sim");
  EXPECT_EQ(lines[2], "*sd tape 0.0500 metres");
  EXPECT_EQ(lines[3], "*sd compass 1.0000 degrees");
  EXPECT_EQ(lines[6], "*data normal from to tape compass clino");
  EXPECT_EQ(lines.back(), "*end sim");
  EXPECT_THAT(lines[5], ::testing::StartsWith("*fix r0c0 0.000 0.000 "));
}

TEST(SurveySimulator, PlantsBlundersOfTheChosenKindsAndListsThemWithTheirLines) {
  TSimulationOptions o;
  o.Columns = o.Rows = 12;
  o.Blunders = 30;
  o.BlunderKinds =
      BlunderKindBit(TBlunderKind::Tape) | BlunderKindBit(TBlunderKind::Clino) | BlunderKindBit(TBlunderKind::Reversed);
  const TSimulatedSurvey s = SimulateSurvey(o);
  ASSERT_EQ(s.Blunders.size(), 30u);
  const std::vector<std::string> svx = Lines(s.Svx);
  std::ostringstream side;
  WritePlantedBlunders(side, s);
  const std::vector<std::string> listed = Lines(side.str());
  ASSERT_EQ(listed.size(), 30u);
  for (size_t i = 0; i < s.Blunders.size(); ++i) {
    const TPlantedBlunder& b = s.Blunders[i];
    const TSimulatedLeg& leg = s.Legs[static_cast<size_t>(b.Leg)];
    EXPECT_NE(b.Kind, TBlunderKind::Compass);
    const double low = b.Kind == TBlunderKind::Tape ? 1 : b.Kind == TBlunderKind::Clino ? 10 : 180;
    const double high = b.Kind == TBlunderKind::Tape ? 5 : b.Kind == TBlunderKind::Clino ? 30 : 180;
    EXPECT_TRUE(std::abs(b.Size) >= low && std::abs(b.Size) <= high) << b.Size;
    const std::string& line = svx[static_cast<size_t>(leg.Line - 1)];
    const std::string from = s.Names[static_cast<size_t>(leg.From)], to = s.Names[static_cast<size_t>(leg.To)];
    EXPECT_THAT(line, ::testing::StartsWith(from + " " + to + " "));
    std::istringstream fields(listed[i]);
    std::string f, t, kind, size;
    int32_t at = 0;
    fields >> f >> t >> kind >> size >> at;
    EXPECT_EQ(f, "sim." + from);
    EXPECT_EQ(t, "sim." + to);
    EXPECT_EQ(kind, BlunderKindName(b.Kind));
    EXPECT_EQ(at, leg.Line);
  }
}

TEST(SurveySimulator, RefusesOptionsThatMakeNoSense) {
  const auto refused = [](auto change) {
    TSimulationOptions o;
    change(o);
    EXPECT_THROW(SimulateSurvey(o), ECyclornError);
  };
  refused([](TSimulationOptions& o) { o.Columns = 0; });
  refused([](TSimulationOptions& o) { o.Columns = o.Rows = 100000; });
  refused([](TSimulationOptions& o) { o.Spacing = 0; });
  refused([](TSimulationOptions& o) { o.TapeSd = 0; });
  refused([](TSimulationOptions& o) { o.ThinPercent = 101; });
  refused([](TSimulationOptions& o) { o.Blunders = 181; });  // a 10 x 10 grid has 180 legs
  refused([](TSimulationOptions& o) { o.Blunders = 1, o.BlunderKinds = 0; });
  refused([](TSimulationOptions& o) { o.Name = "a b"; });
  refused([](TSimulationOptions& o) { o.Shape = TSimulatedShape::Cave, o.Legs = 0; });
}

TEST(SurveySimulator, BuildsTheSurveyTheFileDescribes) {
  TSimulationOptions o;
  o.Shape = TSimulatedShape::Cave;
  o.Legs = 400;
  const TSimulatedSurvey s = SimulateSurvey(o);
  const TSurvey survey = SurveyOfSimulation(s, "cave.svx");
  ASSERT_EQ(survey.LegCount(), 400);
  EXPECT_EQ(survey.MainName(3), "sim.s3");
  EXPECT_EQ(survey.Files, std::vector<std::string>{"cave.svx"});
  // Noise only: every leg within a few standard deviations of the truth.
  for (int32_t k = 0; k < survey.LegCount(); ++k) {
    const TSurveyLeg& leg = survey.Legs[static_cast<size_t>(k)];
    const Vec3 truth =
        Sub3(survey.Positions[static_cast<size_t>(leg.To)], survey.Positions[static_cast<size_t>(leg.From)]);
    EXPECT_LT(Length3(Sub3(survey.Measurements[static_cast<size_t>(k)].Vector, truth)), 1.0) << k;
    EXPECT_EQ(survey.Measurements[static_cast<size_t>(k)].Line, s.Legs[static_cast<size_t>(k)].Line);
  }
  const TAnalysedSurvey a(survey);
  EXPECT_GT(a.Misclosures.size(), 10u);  // some traverses closed on a nearby station
}

// The .svx reader finds in the file the legs the simulation built: the same
// stations, vectors, covariances and lines.
TEST(SurveySimulator, WritesTheLegsTheSvxReaderReads) {
  TSimulationOptions o;
  o.Columns = 6;
  o.Rows = 5;
  o.ThinPercent = 10;
  o.Blunders = 4;
  o.BlunderKinds = 0x0f;
  const TSimulatedSurvey s = SimulateSurvey(o);
  const TSurvey built = SurveyOfSimulation(s, "sim.svx");
  TSvxMemoryFiles files;
  files.Files["sim.svx"] = s.Svx;
  const TSurvey read = ReadSvx("sim.svx", files);
  ASSERT_EQ(read.LegCount(), built.LegCount());
  ASSERT_TRUE(read.HasMeasurements());
  for (int32_t k = 0; k < built.LegCount(); ++k) {
    const TSurveyLeg& a = built.Legs[static_cast<size_t>(k)];
    const TSurveyLeg& b = read.Legs[static_cast<size_t>(k)];
    EXPECT_EQ(read.MainName(b.From), built.MainName(a.From)) << k;
    EXPECT_EQ(read.MainName(b.To), built.MainName(a.To)) << k;
    const TLegMeasurement& x = built.Measurements[static_cast<size_t>(k)];
    const TLegMeasurement& y = read.Measurements[static_cast<size_t>(k)];
    EXPECT_LT(Length3(Sub3(x.Vector, y.Vector)), 1e-9) << k;
    for (size_t i = 0; i < 6; ++i) EXPECT_NEAR(x.Covariance[i], y.Covariance[i], 1e-12) << k << " " << i;
    EXPECT_EQ(y.Line, x.Line) << k;
  }
}

// cavern reads the file and finds the loops the minimal search finds.
TEST(SurveySimulator, WritesAFileCavernReads) {
  if (std::system("cavern --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "cavern is not installed";
  TSimulationOptions o;
  o.Columns = 7;
  o.Rows = 5;
  o.ThinPercent = 20;
  o.Blunders = 2;
  const TSimulatedSurvey s = SimulateSurvey(o);
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("cyclorn-sim-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "sim.svx") << s.Svx;
  const std::string command = "cd '" + dir.string() + "' && cavern sim.svx > cavern.log 2>&1";
  const int status = std::system(command.c_str());
  std::ifstream log(dir / "cavern.log");
  const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  std::filesystem::remove_all(dir);
  ASSERT_EQ(status, 0) << text;
  const TAnalysedSurvey a(SurveyOfSimulation(s, "sim.svx"));
  EXPECT_THAT(text, HasSubstr("joined by " + std::to_string(s.Legs.size()) + " legs"));
  EXPECT_THAT(text, HasSubstr("There are " + std::to_string(a.Misclosures.size()) + " loops"));
  EXPECT_THAT(text, ::testing::Not(HasSubstr("arning")));
}

}  // namespace
