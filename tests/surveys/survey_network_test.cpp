#include "surveys/survey_network.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "core/errors.h"
#include "surveys/station_names.h"

namespace {

using ::testing::ElementsAre;

// A survey of one station per entry of names (a station's names separated
// by blanks, "" for an anonymous one), station i at (i, 0, 0) metres.
TSurvey SurveyNamed(const std::vector<std::string>& names) {
  TSurvey survey;
  std::vector<int32_t> stationOfName;
  std::vector<std::string> all;
  for (size_t s = 0; s < names.size(); ++s) {
    survey.AddStation(MakeVec3(static_cast<double>(s), 0, 0));
    size_t from = 0;
    while (from < names[s].size()) {
      const size_t blank = std::min(names[s].find(' ', from), names[s].size());
      all.push_back(names[s].substr(from, blank - from));
      stationOfName.push_back(static_cast<int32_t>(s));
      from = blank + 1;
    }
  }
  survey.SetNames(stationOfName, all);
  return survey;
}

std::vector<std::string> Tails(const TSurvey& survey) {
  const std::vector<TStationTail> tails = ChooseStationTails(survey);
  std::vector<std::string> texts;
  for (int32_t s = 0; s < survey.StationCount(); ++s) {
    const TStationTail& tail = tails[static_cast<size_t>(s)];
    texts.push_back(tail.Name < 0 ? "-" : std::string(TailText(survey, s, tail)));
  }
  return texts;
}

TEST(StationTails, TakeTheFewestPartsThatNoOtherStationEndsIn) {
  EXPECT_THAT(Tails(SurveyNamed({"cave.a.1", "cave.b.1", "cave.a.2", "x", "a..b"})),
              ElementsAre("a.1", "b.1", "2", "x", "b"));
  // Letters are compared without case, as the name table may look them up.
  EXPECT_THAT(Tails(SurveyNamed({"s.A1", "t.a1", "u.B2"})), ElementsAre("s.A1", "t.a1", "B2"));
  // Twelve characters fit, thirteen do not; a tail with a control character never.
  EXPECT_THAT(Tails(SurveyNamed({"p.abcdefghijk1", "q.abcdefghijk1", "abcdefghijklm", "a.\x01", ""})),
              ElementsAre("-", "-", "-", "-", "-"));
  EXPECT_THAT(Tails(SurveyNamed({"p.abcdefghijk1", "q.abcdefghijk2", "r.abcdefghijkl"})),
              ElementsAre("abcdefghijk1", "abcdefghijk2", "abcdefghijkl"));
}

TEST(StationTails, WeighEveryNameOfAStationWithSeveral) {
  // Station 0 is one station of two names: its shortest tail wins, and its
  // second name keeps "2" and "q.2" from station 1, though station 0 needs neither.
  EXPECT_THAT(Tails(SurveyNamed({"a.1 b.q.2", "c.q.2"})), ElementsAre("1", "c.q.2"));
  // Among tails of as many parts, the one of fewer characters, then the earlier name.
  EXPECT_THAT(Tails(SurveyNamed({"a.long1 b.x", "p.ab q.cd"})), ElementsAre("x", "ab"));
}

// Legs of every kind between stations 0..3; leg 5 repeats leg 0.
TSurvey SurveyOfEveryKind() {
  TSurvey survey = SurveyNamed({"c.0", "c.1", "c.2", "c.3", "c.4"});
  survey.Legs = {{0, 1, -1, 0},
                 {1, 2, -1, lfSplay},
                 {2, 3, -1, lfSurface},
                 {3, 0, -1, lfDuplicate},
                 {1, 3, -1, lfSplay | lfDuplicate},
                 {0, 1, -1, 0},
                 {2, 2, -1, 0}};
  return survey;
}

std::vector<int32_t> Shots(const TSurvey& survey, const TLegChoice& choice, TSurveyNetwork* out = nullptr) {
  TSurveyGraph graph;
  TSurveyNetwork network = BuildSurveyNetwork(survey, choice, graph);
  EXPECT_EQ(graph.Edges.Count(), static_cast<int32_t>(network.LegOfShot.size()));
  for (int32_t j = 0; j < graph.Edges.Count(); ++j) {
    const TSurveyLeg& leg = survey.Legs[static_cast<size_t>(network.LegOfShot[static_cast<size_t>(j)])];
    EXPECT_EQ(network.StationOfNode[static_cast<size_t>(graph.Edges.Froms.Get(j))], leg.From);
    EXPECT_EQ(network.StationOfNode[static_cast<size_t>(graph.Edges.Tos.Get(j))], leg.To);
  }
  if (out != nullptr) *out = network;
  return network.LegOfShot;
}

TEST(SurveyNetwork, LeavesOutTheKindsNotChosenAndKeepsRepeatedLegsApart) {
  const TSurvey survey = SurveyOfEveryKind();
  TSurveyNetwork network;
  EXPECT_THAT(Shots(survey, TLegChoice(), &network), ElementsAre(0, 3, 5));
  EXPECT_EQ(network.SplaysLeftOut, 2);
  EXPECT_EQ(network.SurfaceLeftOut, 1);
  EXPECT_EQ(network.DuplicatesLeftOut, 0);
  EXPECT_EQ(network.SelfLegsLeftOut, 1);
  EXPECT_THAT(network.StationOfNode, ElementsAre(0, 1, 3));
  EXPECT_THAT(network.NodeOfStation, ElementsAre(0, 1, -1, 2, -1));

  EXPECT_THAT(Shots(survey, {.Splays = false, .Surface = false, .Duplicates = false}, &network), ElementsAre(0, 5));
  EXPECT_EQ(network.SplaysLeftOut, 2);  // a splay that is a duplicate too counts as a splay
  EXPECT_EQ(network.DuplicatesLeftOut, 1);
  EXPECT_THAT(Shots(survey, {.Splays = true, .Surface = false, .Duplicates = false}), ElementsAre(0, 1, 5));
  EXPECT_THAT(Shots(survey, {.Splays = true, .Surface = true, .Duplicates = true}), ElementsAre(0, 1, 2, 3, 4, 5));
}

TEST(SurveyNetwork, RefusesALegToAStationThatIsNotThereAndKeepsTheGraph) {
  TSurvey survey = SurveyNamed({"a", "b"});
  survey.Legs = {{0, 1, -1, 0}, {1, 2, -1, 0}};
  TSurveyGraph graph;
  graph.AddStation("old", MakeVec3(0, 0, 0));
  try {
    BuildSurveyNetwork(survey, TLegChoice(), graph);
    FAIL() << "built a network";
  } catch (const ECyclornError& error) {
    EXPECT_STREQ(error.what(), "Leg 1 joins a station the survey does not have");
  }
  ASSERT_EQ(graph.StationCount(), 1);
  EXPECT_EQ(graph.GetStation(0).Name, "old");
}

TEST(SurveyNetwork, NamesStationsByTheirTailsOrByTheirGraphIndex) {
  // Station 2 is anonymous; station 3's tail "#1" takes the name station 1
  // (too long a name) would be given, so that one gets the next free number.
  TSurvey survey = SurveyNamed({"cave.a.1", "cave.averyverylongname", "", "x.#1", "cave.b.1"});
  survey.Legs = {{0, 1, -1, 0}, {1, 2, -1, 0}, {2, 3, -1, 0}, {3, 4, -1, 0}};
  TSurveyGraph graph;
  const TSurveyNetwork network = BuildSurveyNetwork(survey, TLegChoice(), graph);
  std::vector<std::string> names;
  for (int32_t i = 0; i < graph.StationCount(); ++i) names.push_back(graph.GetStation(i).Name);
  EXPECT_THAT(names, ElementsAre("a.1", "#5", "#2", "#1", "b.1"));
  EXPECT_EQ(network.GeneratedNames, 2);
}

TEST(SurveyNetwork, DrawsShortLegsLongEnoughToSeeWithinAMillionUnits) {
  // 350 m of 10 m legs: fitted it would be 2 units a metre (legs of 20
  // units, shortened to nothing); legs of at least 60 units need 10.
  EXPECT_EQ(SurveyScale(350, 300, 10), 10);
  EXPECT_EQ(SurveyScale(350, 300, 12), 5);   // 60 / 12 = 5 exactly
  EXPECT_EQ(SurveyScale(350, 300, 11.9), 10);
  EXPECT_EQ(SurveyScale(10, 10, 10), 50);     // the fitted scale is larger already
  EXPECT_EQ(SurveyScale(350, 300, 0), 2);     // no legs: fitted
  EXPECT_EQ(SurveyScale(350, 300, std::numeric_limits<double>::quiet_NaN()), 2);
  // A 200 km survey of 1 m legs would need 60 units a metre: held at 5, so
  // that it stays within a million units across.
  EXPECT_EQ(SurveyScale(200000, 1000, 1), 5);
  EXPECT_DOUBLE_EQ(SurveyScale(4.3e7, 0, 1), 0.02);  // 860,000 units across
}

TEST(SurveyNetwork, FitsTheSurveyAtARoundScale) {
  EXPECT_EQ(FitScale(1000, 700), 1);
  EXPECT_EQ(FitScale(1000.5, 0), 0.5);
  EXPECT_EQ(FitScale(0, 700.1), 0.5);
  EXPECT_EQ(FitScale(2500, 10), 0.2);
  EXPECT_EQ(FitScale(3, 1), 200);
  EXPECT_EQ(FitScale(0.001, 0), 1e6);
  EXPECT_DOUBLE_EQ(FitScale(4.3e7, 0), 2e-5);
  EXPECT_EQ(FitScale(0, 0), 1);
  EXPECT_EQ(FitScale(std::numeric_limits<double>::infinity(), 1), 1);

  // Plan view, north up: the north-west corner of the survey is drawn at
  // (50, 50), drawing Y growing southwards; Z is scaled alike from the lowest.
  TSurvey survey = SurveyNamed({"a", "b"});
  survey.Positions = {MakeVec3(100, 200, -4), MakeVec3(103, 201, -3)};
  survey.Legs = {{0, 1, -1, 0}};
  TSurveyGraph graph;
  const TSurveyNetwork network = BuildSurveyNetwork(survey, TLegChoice(), graph);
  EXPECT_EQ(network.Scale, 200);
  EXPECT_EQ(graph.Positions.Get(0), MakeVec3(50, 250, 0));
  EXPECT_EQ(graph.Positions.Get(1), MakeVec3(650, 50, 200));
}

}  // namespace
