// Real .3d files made by cavern from .svx text written here, in every
// version cavern writes, read and compared with what dump3d shows of them
// and with the counts cavern reports.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "loops/loop_quality.h"
#include "loops/minimal_loops.h"
#include "loops/shortest_loops.h"
#include "surveys/survey_network.h"
#include "surveys/survey_summary.h"
#include "surveys/three_d_reader.h"
#include "tests/surveys/survex_tools.h"

namespace {

using ::testing::UnorderedElementsAre;

// Loops, equated stations (one station of several names), a splay to an
// anonymous station, a duplicate and a surface leg, two dates, a leg repeated
// later (two legs, a two-shot loop) and one repeated at once (cavern
// averages it with the one before: one leg, in its count and in the file).
// Lines marked "!" hold the splay and the surface legs.
constexpr const char* kLoopCave = R"(*title "Loop Cave"
*begin loopcave
*date 2001.02.03
*entrance a.1
*fix a.1 1000 2000 300
*begin a
*export 1 3 4
1 2 10.00 000 -5
2 3 12.00 090 0
3 4 8.00 180 +3
4 1 9.00 270 0
2 4 14.0 135 0
2 4 14.2 135 0
!*flags splay
!3 .. 2.0 45 0
!*flags not splay
1 2 10.10 001 -5
*end a
*begin b
*export 1 3
*date 1999.12.31
1 2 5 45 0
2 3 5 135 0
*flags duplicate
3 1 7 270 0
*flags not duplicate
*end b
*equate a.4 b.1
*equate a.3 b.3
!*begin surf
!*export 1 2
!*flags surface
!1 2 20 10 0
!*end surf
!*equate a.1 surf.1
!*equate a.3 surf.2
*end loopcave
)";

std::string Svx(const std::string& marked, bool withSplaysAndSurface) {
  std::string text;
  for (size_t from = 0, end; from < marked.size(); from = end + 1) {
    end = marked.find('\n', from);
    const std::string line = marked.substr(from, end - from);
    if (line[0] != '!') {
      text += line + "\n";
    } else if (withSplaysAndSurface) {
      text += line.substr(1) + "\n";
    }
  }
  return text;
}

class CavernFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveSurvexTools()) GTEST_SKIP() << "cavern and dump3d are not installed";
    dir_ = ::testing::TempDir() + "cyclorn_cavern_" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }
  std::string dir_;
};

std::vector<std::string> FlagWords(uint8_t flags) {
  std::vector<std::string> words;
  const std::pair<uint8_t, const char*> names[] = {
      {sfAnonymous, "ANON"},  {sfEntrance, "ENTRANCE"},       {sfExported, "EXPORTED"}, {sfFixed, "FIXED"},
      {sfSurface, "SURFACE"}, {sfUnderground, "UNDERGROUND"}, {sfWall, "WALL"}};
  for (const auto& [bit, word] : names) {
    if (flags & bit) words.emplace_back(word);
  }
  return words;
}

std::vector<std::string> LegWords(uint8_t flags) {
  std::vector<std::string> words;
  if (flags & lfDuplicate) words.emplace_back("DUPLICATE");
  if (flags & lfSplay) words.emplace_back("SPLAY");
  if (flags & lfSurface) words.emplace_back("SURFACE");
  return words;
}

// The survey in dump3d's terms. A station no label names (a leg end only)
// has no NODE line there.
TDump AsDump(const TSurvey& survey, bool withStationFlags) {
  TDump dump;
  const auto at = [&survey](int32_t s) {
    const Vec3 p = survey.Positions[static_cast<size_t>(s)];
    return DumpPosition(p.X, p.Y, p.Z);
  };
  for (int32_t s = 0; s < survey.StationCount(); ++s) {
    const uint8_t flags = survey.StationFlags[static_cast<size_t>(s)];
    if (survey.NameCount(s) == 0 && flags == sfAnonymous) continue;
    TDumpStation& station = dump.Stations[at(s)];
    for (int32_t k = 0; k < survey.NameCount(s); ++k) station.Names.emplace_back(survey.Name(s, k));
    std::sort(station.Names.begin(), station.Names.end());
    if (withStationFlags) station.Flags = FlagWords(flags);
  }
  for (const TSurveyLeg& leg : survey.Legs) {
    dump.Legs.push_back({at(leg.From), at(leg.To),
                         leg.Survey < 0 ? "" : survey.Surveys[static_cast<size_t>(leg.Survey)], LegWords(leg.Flags)});
  }
  std::sort(dump.Legs.begin(), dump.Legs.end());
  dump.ZeroLengthLegs = static_cast<int>(survey.Notes.ZeroLengthLegs);
  dump.ErrorInfos = static_cast<int>(survey.Notes.TraverseErrors.size());
  return dump;
}

void ExpectSameAsDump3d(const TSurvey& survey, const std::string& file, bool withStationFlags) {
  TDump expected = Dump3d(file);
  if (!withStationFlags) {
    for (auto& [position, station] : expected.Stations) station.Flags.clear();
  }
  const TDump actual = AsDump(survey, withStationFlags);
  EXPECT_EQ(actual.Stations, expected.Stations);
  EXPECT_EQ(actual.Legs, expected.Legs);
  EXPECT_EQ(actual.ZeroLengthLegs, expected.ZeroLengthLegs);
  EXPECT_EQ(actual.ErrorInfos, expected.ErrorInfos);
}

TEST_F(CavernFiles, ReadAsDump3dShowsThemInEveryVersion) {
  for (const int version : {3, 4, 5, 6, 7, 8}) {
    SCOPED_TRACE("version " + std::to_string(version));
    const TCavernResult cavern = RunCavern(dir_, "loop" + std::to_string(version), Svx(kLoopCave, true), version);
    const TSurvey survey = Read3dFile(cavern.File);
    ExpectSameAsDump3d(survey, cavern.File, true);
    EXPECT_EQ(survey.Title, "Loop Cave");
    // Dates from version 4 on, in seconds since 1970 up to version 6.
    EXPECT_EQ(survey.Dates, version >= 4 ? (TSurveyDates{36523, 36923}) : TSurveyDates());

    const TLegChoice everything{.Splays = true, .Surface = true, .Duplicates = true};
    TSurveyGraph graph;
    const TSurveyNetwork network = BuildSurveyNetwork(survey, everything, graph);
    const TSurveyCounts counts = CountSurvey(survey, network, graph);
    EXPECT_EQ(counts.SharedPositions, 4);  // the four *equate
    EXPECT_EQ(counts.Stations + counts.SharedPositions, cavern.Stations);
    EXPECT_EQ(counts.Legs + counts.SharedPositions, cavern.Legs);
    EXPECT_EQ(counts.Pieces, 1);
    EXPECT_EQ(counts.Loops, cavern.Loops);
  }
}

// The shots chosen by default (no splays, no surface legs) make the network
// cavern makes of those legs alone, and the loop searches find as many loops
// as its cycle rank. cavern counts each name of equated stations as a station
// and each *equate as a leg; a .3d file keeps one station per position, so
// every name beyond a station's first stands for one of each.
TEST_F(CavernFiles, TheChosenLegsMakeTheNetworkCavernMakesOfThem) {
  const TCavernResult whole = RunCavern(dir_, "whole", Svx(kLoopCave, true));
  const TCavernResult chosen = RunCavern(dir_, "chosen", Svx(kLoopCave, false));
  const TSurvey survey = Read3dFile(whole.File);
  TSurveyGraph graph;
  const TSurveyNetwork network = BuildSurveyNetwork(survey, TLegChoice(), graph);
  const TSurveyCounts counts = CountSurvey(survey, network, graph);
  EXPECT_EQ(network.SplaysLeftOut, 1);
  EXPECT_EQ(network.SurfaceLeftOut, 1);

  const TSurvey alone = Read3dFile(chosen.File);
  TSurveyGraph aloneGraph;
  const TSurveyNetwork aloneNetwork = BuildSurveyNetwork(alone, TLegChoice(), aloneGraph);
  const TSurveyCounts aloneCounts = CountSurvey(alone, aloneNetwork, aloneGraph);
  EXPECT_EQ(aloneCounts.Stations + aloneCounts.SharedPositions, chosen.Stations);
  EXPECT_EQ(aloneCounts.Legs + aloneCounts.SharedPositions, chosen.Legs);
  EXPECT_EQ(aloneCounts.Loops, chosen.Loops);
  EXPECT_EQ(counts.NetworkStations, aloneCounts.NetworkStations);
  EXPECT_EQ(counts.Shots, aloneCounts.Shots);
  EXPECT_EQ(counts.Pieces, 1);
  EXPECT_EQ(counts.Loops, aloneCounts.Loops);
  EXPECT_EQ(counts.Loops, 5);

  TLoopList loops;
  FindLoopsShortest(graph, loops, true);
  EXPECT_EQ(loops.Count(), counts.Loops);
  FindLoopsMinimal(graph, loops);
  const TLoopSetQuality quality = MeasureLoopSet(graph, loops);
  EXPECT_TRUE(IsBasis(quality));
  EXPECT_EQ(quality.CycleRank, counts.Loops);

  // Stations by their shortest unique tails; the anonymous splay end is out.
  std::vector<std::string> names;
  for (int32_t i = 0; i < graph.StationCount(); ++i) names.push_back(graph.GetStation(i).Name);
  EXPECT_THAT(names, UnorderedElementsAre("3", "4", "a.1", "a.2", "b.2"));
}

TEST_F(CavernFiles, ReadTheEarlyBinaryVersionAndRefuseVersion2) {
  // Without loops, so that cavern writes no error information, which these
  // versions do not have (dump3d refuses the files cavern writes with it).
  const std::string tree =
      "*begin t\n*fix 1 0 0 0\n1 2 10 0 0\n2 3 10 90 0\n2 4 5 270 -10\n*flags splay\n3 5 1 0 0\n*end t\n";
  const TCavernResult early = RunCavern(dir_, "early", tree, 1);
  const TSurvey survey = Read3dFile(early.File);
  ExpectSameAsDump3d(survey, early.File, false);
  EXPECT_EQ(survey.StationCount(), 5);
  EXPECT_EQ(survey.LegCount(), 4);  // no flags in this version: the splay is a leg like any other

  const TCavernResult v2 = RunCavern(dir_, "v2", tree, 2);
  EXPECT_THROW(
      {
        try {
          Read3dFile(v2.File);
        } catch (const E3dFileError& error) {
          EXPECT_THAT(error.what(), ::testing::HasSubstr(": byte 21: unsupported .3d file version \"v2\""));
          throw;
        }
      },
      E3dFileError);
}

}  // namespace
