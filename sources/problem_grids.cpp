#include "sources/problem_grids.h"

#include <string>
#include <string_view>

#include "core/errors.h"

namespace {

constexpr int32_t kGridColumns = 5;
constexpr double kGridSpacing = 75;

struct TProblemNetwork {
  int32_t rows;
  // Edge pairs From-To by station letter, horizontal edges first, then the
  // vertical ones, each from its left or upper station.
  std::string_view edges;
};

constexpr TProblemNetwork kProblemNetworks[kProblemGridCount] = {
    {4, "AB BC GH HI KL LM MN AF BG CH FK GL HM KP LQ MR"},
    {4, "AB BC CD DE FG GH HI IJ KL LM NO PQ QR RS ST AF BG CH DI EJ FK GL HM IN JO KP MR NS OT"},
    {4, "FG GH HI LM MN QR RS BG CH DI GL HM IN LQ NS"},
    {5, "FG GH HI KL NO PQ QR RS UV VW WX XY CH DI EJ GL HM IN JO LQ MR NS OT RW TY"},
    {5, "AB BC CD FG GH HI IJ KL LM MN NO AF DI FK GL HM IN KP LQ MR NS"},
    {5, "AB BC DE GH HI IJ KL LM NO PQ QR RS ST AF CH DI FK GL HM IN JO KP LQ NS OT PU QV RW SX"},
};

}  // namespace

void BuildProblemGrid(TSurveyGraph& graph, int number) {
  if (number < 1 || number > kProblemGridCount)
    throw ECyclornError("There is no problem network Grid-" + std::to_string(number));
  const TProblemNetwork& network = kProblemNetworks[number - 1];
  graph.Clear();
  for (int32_t k = 0; k < network.rows * kGridColumns; ++k) {
    const double x = kGridSpacing + kGridSpacing * (k % kGridColumns);
    const double y = kGridSpacing + kGridSpacing * (k / kGridColumns);
    graph.AddStation(std::string(1, static_cast<char>('A' + k)), MakeVec3(x, y, 0));
  }
  for (size_t i = 0; i + 1 < network.edges.size(); i += 3)
    graph.AddEdgeByName(network.edges.substr(i, 1), network.edges.substr(i + 1, 1));
}
