#pragma once
// Six fixed problem networks ("Grid-1" .. "Grid-6") on a grid of 5 columns
// with 75 units between neighbours: partly filled, with dead ends, separate
// pieces and stations without edges, so that their loops are easy to check.

#include "core/survey_graph.h"

inline constexpr int kProblemGridCount = 6;

// Clears graph and fills it with problem network `number` (1 .. 6): stations
// A, B, ... in rows of five from (75, 75), then the network's edges by name.
// Any other number is refused with ECyclornError and the graph is untouched.
void BuildProblemGrid(TSurveyGraph& graph, int number);
