#pragma once
// Generators of test networks: a regular grid thinned at random and
// optionally displaced, and a non-gridded random network. All random choices
// come from RandomInt, in a fixed order of draws.

#include <cstdint>
#include <string>

#include "core/survey_graph.h"
#include "sources/random_int.h"

// The smallest width and height of the area a non-gridded network is built on.
inline constexpr int32_t kMinNonGriddedArea = 50;

// Station number to letters, spreadsheet-column style: 0 is A, 25 is Z, 26 is
// AA, 702 is AAA. A negative number gives an empty name.
std::string StationName(int32_t k);

// Adds a Rows x Columns grid (station r x Columns + col at LeftMargin + col x
// SpaceX, TopMargin + r x SpaceY), then its horizontal and vertical edges, each
// made when RandomInt(100) >= threshold or it lies on a bordered outer row or
// column, in a random direction. Does not clear the graph.
void BuildGriddedGraph(TSurveyGraph& graph, int32_t leftMargin, int32_t topMargin, bool bordered, bool skipRows,
                       int32_t threshold, int32_t rows, int32_t columns, int32_t spaceY, int32_t spaceX);

// Moves every station towards smaller X and Y by 1 .. spacing x randomness /
// 100 (rounded, halves up), two draws per station, X first. The bounding box
// is left as it was.
void JitterStations(TSurveyGraph& graph, int32_t spaceX, int32_t spaceY, int32_t randomness);

// True when b stands in the neighbour list of a.
bool HasNeighbor(const TSurveyGraph& graph, int32_t a, int32_t b);

// Adds stationCount stations at random points at least 25 units inside a
// width x height area, then makes stationCount attempts at an edge between two
// random distinct stations not yet joined. An area narrower or lower than 50
// units is refused with ECyclornError before anything is drawn or added.
void BuildNonGriddedGraph(TSurveyGraph& graph, int32_t stationCount, int32_t width, int32_t threshold, int32_t height);
