#pragma once
// Helpers shared by the graph-source tests: graphs as readable lists and a
// scratch folder per test.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/survey_graph.h"

// Every edge as "From-To" by station name, in edge order.
std::vector<std::string> EdgeNames(const TSurveyGraph& graph);
// Every station as "name x y z" with the coordinates in shortest exact form.
std::vector<std::string> StationLines(const TSurveyGraph& graph);
// Number of connected pieces, a station without edges counting as one.
int PieceCount(const TSurveyGraph& graph);
// Names of the stations that no edge touches.
std::vector<std::string> LoneStations(const TSurveyGraph& graph);
// Expects b to have every station, edge, list and parent of a, and its
// corners unless a's were left behind by moving stations.
void ExpectSameGraph(const TSurveyGraph& a, const TSurveyGraph& b, bool compareCorners = true);
// The component-wise minimum and maximum of all positions.
std::pair<Vec3, Vec3> PositionBounds(const TSurveyGraph& graph);

// A fresh empty folder removed when the test ends.
class TScratchFolder {
 public:
  TScratchFolder();
  ~TScratchFolder();
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  // Writes bytes to a file of the folder and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const;
  std::string Read(const std::string& name) const;
  std::vector<std::string> Entries() const;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};
