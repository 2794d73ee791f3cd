#include "surveys/survey.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(Survey, KeepsEachStationsNamesInTheOrderGiven) {
  TSurvey survey;
  for (int i = 0; i < 3; ++i) survey.AddStation(MakeVec3(i, 0, 0));
  survey.SetNames({2, 0, 2, 0}, {"cave.b.1", "cave.a.1", "cave.c.7", "cave.a.2"});
  EXPECT_EQ(survey.TotalNames(), 4);
  ASSERT_EQ(survey.NameCount(0), 2);
  EXPECT_EQ(survey.Name(0, 0), "cave.a.1");
  EXPECT_EQ(survey.Name(0, 1), "cave.a.2");
  EXPECT_EQ(survey.NameCount(1), 0);
  EXPECT_EQ(survey.MainName(1), "");
  EXPECT_EQ(survey.MainName(2), "cave.b.1");
  EXPECT_EQ(survey.Name(2, 1), "cave.c.7");
}

TEST(Survey, RefusesNamesOfStationsItDoesNotHaveAndKeepsTheOldNames) {
  TSurvey survey;
  survey.AddStation(MakeVec3(0, 0, 0));
  survey.SetNames({0}, {"a"});
  EXPECT_THROW(survey.SetNames({1}, {"b"}), std::out_of_range);
  EXPECT_THROW(survey.SetNames({0, 0}, {"b"}), std::invalid_argument);
  EXPECT_EQ(survey.MainName(0), "a");
  // A station added after the names has none of its own.
  survey.AddStation(MakeVec3(1, 0, 0));
  EXPECT_EQ(survey.NameCount(1), 0);
  EXPECT_EQ(survey.MainName(0), "a");
}

}  // namespace
