#pragma once
// A square grid network for the drawing benchmarks: side x side stations 70
// units apart, each joined to its right and lower neighbour.

#include <string>

#include "core/survey_graph.h"

inline void BuildGridNetwork(TSurveyGraph& graph, int side) {
  for (int row = 0; row < side; ++row)
    for (int column = 0; column < side; ++column)
      graph.AddStation("S" + std::to_string(row * side + column), {35.0 + 70 * column, 35.0 + 70 * row, 0});
  for (int row = 0; row < side; ++row)
    for (int column = 0; column < side; ++column) {
      const int station = row * side + column;
      if (column + 1 < side) graph.AddEdgeByIndex(station, station + 1);
      if (row + 1 < side) graph.AddEdgeByIndex(station, station + side);
    }
}
