#include "sources/graph_builders.h"

#include <algorithm>

#include "core/errors.h"

namespace {

constexpr int32_t kAreaInset = 25;

// x / 100 rounded to the nearest integer, halves away from zero.
int64_t RoundedPercent(int64_t x) { return x >= 0 ? (x + 50) / 100 : -((-x + 50) / 100); }

// Adds the edge between a and b in the direction RandomInt(2) picks.
void AddRandomlyDirectedEdge(TSurveyGraph& graph, int32_t a, int32_t b) {
  if (RandomInt(2) == 0)
    graph.AddEdgeByIndex(a, b);
  else
    graph.AddEdgeByIndex(b, a);
}

}  // namespace

std::string StationName(int32_t k) {
  std::string name;
  for (int64_t n = k; n >= 0; n = n / 26 - 1) name.insert(name.begin(), static_cast<char>('A' + n % 26));
  return name;
}

void BuildGriddedGraph(TSurveyGraph& graph, int32_t leftMargin, int32_t topMargin, bool bordered, bool skipRows,
                       int32_t threshold, int32_t rows, int32_t columns, int32_t spaceY, int32_t spaceX) {
  // Index arithmetic in 64 bits: the caller bounds rows x columns, not the sums.
  const auto index = [columns](int32_t r, int32_t col) {
    return static_cast<int32_t>(static_cast<int64_t>(r) * columns + col);
  };
  for (int32_t r = 0; r < rows; ++r)
    for (int32_t col = 0; col < columns; ++col) {
      const auto x = static_cast<double>(leftMargin + static_cast<int64_t>(col) * spaceX);
      const auto y = static_cast<double>(topMargin + static_cast<int64_t>(r) * spaceY);
      graph.AddStation(StationName(index(r, col)), MakeVec3(x, y, 0));
    }
  for (int32_t r = 0; r < rows; ++r) {
    if (skipRows && r % 3 != 0) continue;  // no draws either
    const bool borderRow = bordered && (r == 0 || r == rows - 1);
    for (int32_t col = 0; col + 1 < columns; ++col) {
      const bool made = RandomInt(100) >= threshold || borderRow;  // a border edge still uses its draw
      if (made) AddRandomlyDirectedEdge(graph, index(r, col), index(r, col) + 1);
    }
  }
  for (int32_t col = 0; col < columns; ++col) {
    const bool borderColumn = bordered && (col == 0 || col == columns - 1);
    for (int32_t r = 0; r + 1 < rows; ++r) {
      const bool made = RandomInt(100) >= threshold || borderColumn;
      if (made) AddRandomlyDirectedEdge(graph, index(r, col), index(r + 1, col));
    }
  }
}

void JitterStations(TSurveyGraph& graph, int32_t spaceX, int32_t spaceY, int32_t randomness) {
  const auto amountX = static_cast<int32_t>(RoundedPercent(static_cast<int64_t>(spaceX) * randomness));
  const auto amountY = static_cast<int32_t>(RoundedPercent(static_cast<int64_t>(spaceY) * randomness));
  for (int32_t i = 0; i < graph.StationCount(); ++i) {
    Vec3 p = graph.Positions.Get(i);
    p.X += RandomInt(amountX) - amountX;
    p.Y += RandomInt(amountY) - amountY;
    graph.Positions.Put(i, p);
  }
}

bool HasNeighbor(const TSurveyGraph& graph, int32_t a, int32_t b) {
  const THugeInteger& neighbors = graph.Neighbors.ListOf(a);
  return std::find(neighbors.begin(), neighbors.end(), b) != neighbors.end();
}

void BuildNonGriddedGraph(TSurveyGraph& graph, int32_t stationCount, int32_t width, int32_t threshold, int32_t height) {
  if (width < kMinNonGriddedArea || height < kMinNonGriddedArea)
    throw ECyclornError("A non-gridded network needs an area at least " + std::to_string(kMinNonGriddedArea) +
                        " units wide and high (this one is " + std::to_string(width) + " x " + std::to_string(height) +
                        ")");
  for (int32_t i = 0; i < stationCount; ++i) {
    const int32_t x = RandomInt(width - 2 * kAreaInset) + kAreaInset;
    const int32_t y = RandomInt(height - 2 * kAreaInset) + kAreaInset;
    graph.AddStation(StationName(i), MakeVec3(x, y, 0));
  }
  for (int32_t attempt = 0; attempt < stationCount; ++attempt) {
    const int32_t a = RandomInt(stationCount);
    const int32_t b = RandomInt(stationCount);
    const int32_t u = RandomInt(100);
    if (u >= threshold && a != b && !HasNeighbor(graph, a, b)) graph.AddEdgeByIndex(a, b);
  }
}
