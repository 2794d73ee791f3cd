#include "graph_test_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <numeric>
#include <sstream>

namespace {

std::string Shortest(double v) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, result.ptr);
}

std::vector<int32_t> Items(const THugeInteger& a) { return {a.begin(), a.end()}; }

}  // namespace

std::vector<std::string> EdgeNames(const TSurveyGraph& graph) {
  std::vector<std::string> names;
  for (int32_t e = 0; e < graph.Edges.Count(); ++e) {
    const TEdgeEnds ends = graph.GetEdgeEnds(e);
    names.push_back(ends.FromName + "-" + ends.ToName);
  }
  return names;
}

std::vector<std::string> StationLines(const TSurveyGraph& graph) {
  std::vector<std::string> lines;
  for (int32_t i = 0; i < graph.StationCount(); ++i) {
    const TStationInfo s = graph.GetStation(i);
    lines.push_back(s.Name + " " + Shortest(s.Position.X) + " " + Shortest(s.Position.Y) + " " +
                    Shortest(s.Position.Z));
  }
  return lines;
}

int PieceCount(const TSurveyGraph& graph) {
  std::vector<int32_t> root(static_cast<size_t>(graph.StationCount()));
  std::iota(root.begin(), root.end(), 0);
  const auto find = [&root](int32_t s) {
    while (root[static_cast<size_t>(s)] != s) s = root[static_cast<size_t>(s)];
    return s;
  };
  int pieces = graph.StationCount();
  for (int32_t e = 0; e < graph.Edges.Count(); ++e) {
    const int32_t a = find(graph.Edges.Froms.Get(e));
    const int32_t b = find(graph.Edges.Tos.Get(e));
    if (a != b) {
      root[static_cast<size_t>(a)] = b;
      --pieces;
    }
  }
  return pieces;
}

std::vector<std::string> LoneStations(const TSurveyGraph& graph) {
  std::vector<std::string> names;
  for (int32_t i = 0; i < graph.StationCount(); ++i)
    if (graph.Neighbors.ListOf(i).Count() == 0) names.push_back(graph.Names.GetName(i));
  return names;
}

void ExpectSameGraph(const TSurveyGraph& a, const TSurveyGraph& b, bool compareCorners) {
  ASSERT_EQ(a.StationCount(), b.StationCount());
  EXPECT_EQ(StationLines(a), StationLines(b));
  EXPECT_EQ(EdgeNames(a), EdgeNames(b));
  EXPECT_EQ(Items(a.Edges.Froms), Items(b.Edges.Froms));
  EXPECT_EQ(Items(a.Edges.Tos), Items(b.Edges.Tos));
  EXPECT_EQ(Items(a.Parents), Items(b.Parents));
  for (int32_t i = 0; i < a.StationCount(); ++i) {
    EXPECT_EQ(Items(a.Neighbors.ListOf(i)), Items(b.Neighbors.ListOf(i))) << "station " << i;
    EXPECT_EQ(Items(a.IncidentEdges.ListOf(i)), Items(b.IncidentEdges.ListOf(i))) << "station " << i;
  }
  if (!compareCorners) return;
  EXPECT_EQ(a.MinCorner, b.MinCorner);
  EXPECT_EQ(a.MaxCorner, b.MaxCorner);
}

std::pair<Vec3, Vec3> PositionBounds(const TSurveyGraph& graph) {
  Vec3 low = graph.Positions.Get(0);
  Vec3 high = low;
  for (const Vec3& p : graph.Positions) {
    low = Min3(low, p);
    high = Max3(high, p);
  }
  return {low, high};
}

TScratchFolder::TScratchFolder() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  path_ = std::filesystem::temp_directory_path() /
          ("cyclorn-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" + std::to_string(::getpid()));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TScratchFolder::~TScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TScratchFolder::Write(const std::string& name, const std::string& bytes) const {
  std::ofstream out(path_ / name, std::ios::binary);
  out << bytes;
  return File(name);
}

std::string TScratchFolder::Read(const std::string& name) const {
  std::ifstream in(path_ / name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> TScratchFolder::Entries() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}
