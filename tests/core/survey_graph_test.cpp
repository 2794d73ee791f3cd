#include "core/survey_graph.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "core/errors.h"

namespace {

using ::testing::ElementsAre;

std::vector<int32_t> Items(const THugeInteger& a) { return {a.begin(), a.end()}; }

void AddStations(TSurveyGraph& g, int32_t n) {
  for (int32_t i = 0; i < n; ++i) g.AddStation(std::string(1, static_cast<char>('A' + i)), MakeVec3(i, 0, 0));
}

TEST(TSurveyGraph, CornersFollowTheStations) {
  TSurveyGraph g;
  EXPECT_EQ(g.StationCount(), 0);
  EXPECT_EQ(g.Neighbors.Count(), 0);
  EXPECT_EQ(g.MinCorner, MakeVec3(0, 0, 0));
  EXPECT_EQ(g.MaxCorner, MakeVec3(0, 0, 0));
  g.Clear();
  EXPECT_EQ(g.MinCorner, MakeVec3(9.9e99, 9.9e99, 9.9e99));
  EXPECT_EQ(g.MaxCorner, MakeVec3(-9.9e99, -9.9e99, -9.9e99));
  g.AddStation("A", MakeVec3(10, 20, 0));
  EXPECT_EQ(g.MinCorner, MakeVec3(10, 20, 0));
  EXPECT_EQ(g.MaxCorner, MakeVec3(10, 20, 0));
  g.AddStation("B", MakeVec3(5, 40, -3));
  EXPECT_EQ(g.MinCorner, MakeVec3(5, 20, -3));
  EXPECT_EQ(g.MaxCorner, MakeVec3(10, 40, 0));
}

TEST(TSurveyGraph, AddEdgeKeepsNeighboursIncidentEdgesAndParentsInStep) {
  TSurveyGraph g;
  AddStations(g, 8);
  EXPECT_TRUE(g.AddEdgeByIndex(2, 5));
  EXPECT_TRUE(g.AddEdgeByIndex(7, 5));
  EXPECT_EQ(g.Parents.Get(5), 7);
  EXPECT_THAT(Items(g.Neighbors.ListOf(5)), ElementsAre(2, 7));
  EXPECT_THAT(Items(g.IncidentEdges.ListOf(5)), ElementsAre(0, 1));
  EXPECT_THAT(Items(g.Neighbors.ListOf(2)), ElementsAre(5));
  EXPECT_EQ(g.Parents.Get(2), -1);
  EXPECT_TRUE(g.AddEdgeByIndex(4, 4));
  EXPECT_THAT(Items(g.Neighbors.ListOf(4)), ElementsAre(4, 4));
  EXPECT_THAT(Items(g.IncidentEdges.ListOf(4)), ElementsAre(2, 2));
  EXPECT_EQ(g.Edges.Count(), 3);
}

TEST(TSurveyGraph, AddEdgeRefusesEndsThatAreNoStations) {
  TSurveyGraph g;
  AddStations(g, 4);
  EXPECT_FALSE(g.AddEdgeByIndex(-1, 3));
  EXPECT_FALSE(g.AddEdgeByIndex(3, -1));
  EXPECT_FALSE(g.AddEdgeByIndex(0, 4));
  EXPECT_FALSE(g.AddEdgeByIndex(4, 0));
  EXPECT_EQ(g.Edges.Count(), 0);
  EXPECT_THAT(Items(g.Parents), ElementsAre(-1, -1, -1, -1));
  for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(g.Neighbors.ListOf(i).Count(), 0);
}

TEST(TSurveyGraph, AddEdgeByNameLooksUpTheNewestStation) {
  TSurveyGraph g;
  g.AddStation("A", {});
  g.AddStation("B", {});
  g.AddStation("A", {});
  EXPECT_FALSE(g.AddEdgeByName("Z", "A"));
  EXPECT_FALSE(g.AddEdgeByName("A", "Z"));
  EXPECT_TRUE(g.AddEdgeByName("B", "A"));
  EXPECT_EQ(g.Edges.GetEdge(0), (TEdgeRec{1, 2, 0}));
}

TEST(TSurveyGraph, RefusesLongNamesAndStaysConsistent) {
  TSurveyGraph g;
  g.AddStation("ABCDEFGHIJKL", {});
  EXPECT_THROW(g.AddStation("ABCDEFGHIJKLM", {}), ENameTooLong);
  EXPECT_EQ(g.StationCount(), 1);
  EXPECT_EQ(g.Names.NameList.Count(), 1);
  EXPECT_EQ(g.Marks.Count(), 1);
  EXPECT_EQ(g.Neighbors.Count(), 1);
}

TEST(TSurveyGraph, ClearForgetsNamesAndStartsAgainAtZero) {
  TSurveyGraph g;
  AddStations(g, 3);
  g.AddEdgeByIndex(0, 1);
  g.Clear();
  EXPECT_EQ(g.Names.Find("A"), -1);
  EXPECT_EQ(g.StationCount(), 0);
  EXPECT_EQ(g.Edges.Count(), 0);
  EXPECT_EQ(g.AddStation("C", {}), 0);
  EXPECT_EQ(g.Names.Find("C"), 0);
}

TEST(CopyStations, CopiesStationsButNoEdges) {
  TSurveyGraph src;
  AddStations(src, 3);
  src.AddEdgeByIndex(0, 1);
  src.AddEdgeByIndex(1, 2);
  src.SetAllMarks(7);
  TSurveyGraph dst;
  AddStations(dst, 5);
  dst.AddEdgeByIndex(3, 4);
  CopyStations(src, dst);
  EXPECT_EQ(dst.StationCount(), 3);
  EXPECT_EQ(dst.Edges.Count(), 0);
  EXPECT_THAT(Items(dst.Marks), ElementsAre(0, 0, 0));
  EXPECT_THAT(Items(dst.Parents), ElementsAre(-1, -1, -1));
  EXPECT_EQ(dst.GetStation(2).Name, "C");
  EXPECT_EQ(dst.GetStation(2).Position, MakeVec3(2, 0, 0));
  EXPECT_EQ(dst.MaxCorner, MakeVec3(2, 0, 0));
}

TEST(TSurveyGraph, SwapExchangesEverything) {
  TSurveyGraph a, b;
  AddStations(a, 3);
  a.AddEdgeByIndex(0, 2);
  b.AddStation("Q", MakeVec3(9, 9, 9));
  a.Swap(b);
  EXPECT_EQ(a.StationCount(), 1);
  EXPECT_EQ(a.Names.Find("Q"), 0);
  EXPECT_EQ(a.Edges.Count(), 0);
  EXPECT_EQ(b.StationCount(), 3);
  EXPECT_EQ(b.Names.Find("C"), 2);
  EXPECT_EQ(b.GetEdgeEnds(0).ToName, "C");
  EXPECT_THAT(Items(b.Neighbors.ListOf(2)), ElementsAre(0));
}

}  // namespace
