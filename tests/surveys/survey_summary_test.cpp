#include "surveys/survey_summary.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;

TEST(SurveySummary, FormatsDatesFromDaysSince1900AndScalesInDecimal) {
  EXPECT_EQ(FormatSurveyDate(0), "1900-01-01");
  EXPECT_EQ(FormatSurveyDate(59), "1900-03-01");  // 1900 has no 29 February
  EXPECT_EQ(FormatSurveyDate(25567), "1970-01-01");
  EXPECT_EQ(FormatSurveyDate(36524), "2000-01-01");
  EXPECT_EQ(FormatSurveyDate(36923), "2001-02-03");
  EXPECT_EQ(FormatSurveyDate(65790), "2080-02-16");
  EXPECT_EQ(FormatDrawingScale(2e-5), "0.00002");
  EXPECT_EQ(FormatDrawingScale(50000), "50000");
}

TEST(SurveySummary, PrintsEveryKeyInItsOrder) {
  // Two pieces: a triangle with a repeated leg, and one leg apart.
  TSurvey survey;
  survey.Title = "Test\nCave";
  survey.CoordinateSystem = "+init=epsg:3912";
  survey.Dates = {36923, 37000};
  for (int i = 0; i < 7; ++i) survey.AddStation(MakeVec3(i, i % 2, 0));
  survey.SetNames({0, 1, 2, 2, 4, 5}, {"a.1", "a.2", "a.3", "b.3", "a.5", "a.6"});
  survey.Legs = {
      {0, 1, 0, 0},           {1, 2, 0, 0},        {2, 0, 0, 0}, {0, 1, 0, 0}, {2, 3, 0, lfSplay | lfDuplicate},
      {4, 5, 0, lfDuplicate}, {5, 6, 0, lfSurface}};
  survey.Notes.ZeroLengthLegs = 3;
  survey.Notes.SharedPositions = 1;
  survey.Notes.CrossSections = 4;
  survey.Notes.TraverseErrors.resize(2);
  const TLegChoice choice;
  TSurveyGraph graph;
  const TSurveyNetwork network = BuildSurveyNetwork(survey, choice, graph);
  EXPECT_THAT(SurveySummary(survey, choice, network, graph),
              ElementsAre("title: Test Cave", "coordinate system: +init=epsg:3912", "dates: 2001-02-03 2001-04-21",
                          "extended elevation: no", "stations: 7", "anonymous stations: 2", "names: 6",
                          "shared positions: 1", "legs: 7", "splay legs: 1 left out", "surface legs: 1 left out",
                          "duplicate legs: 2 kept", "zero-length legs: 3 left out", "same-station legs: 0 left out",
                          "cross sections: 4", "traverse errors: 2", "network stations: 5", "shots: 5", "pieces: 2",
                          "loops: 2", "generated names: 0", "scale: 200"));
  const TSurveyCounts counts = CountSurvey(survey, network, graph);
  EXPECT_EQ(counts.Loops, counts.Shots - counts.NetworkStations + counts.Pieces);

  TSurvey empty;
  TSurveyGraph none;
  const TSurveyNetwork nothing = BuildSurveyNetwork(empty, choice, none);
  const std::vector<std::string> lines = SurveySummary(empty, choice, nothing, none);
  EXPECT_THAT(std::vector<std::string>(lines.begin(), lines.begin() + 3),
              ElementsAre("title:", "coordinate system:", "dates:"));
  EXPECT_EQ(lines.back(), "scale: 1");
}

}  // namespace
