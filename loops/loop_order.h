#pragma once
// The loop ordering shared by both loop searches: most edges first, then the
// larger spread about the centroid; spreads closer than 1.0 count as equal.

#include <vector>

#include "core/edge_array.h"
#include "core/owned_lists.h"
#include "core/survey_graph.h"

// Mean position of the To station of every edge (one term per edge, so a
// station can count more than once). A loop without edges gives (0, 0, 0).
Vec3 LoopCentroid(const TEdgeArray& loop, const TSurveyGraph& graph);

// Sum over the edges, in order, of the distance of the To station from the centroid.
double LoopSpread(const TEdgeArray& loop, const TSurveyGraph& graph);

// LoopSpread of a loop whose edges' To stations are tos[0..count), with the
// same arithmetic, for loops still being built in flat arrays.
double SpreadOfTos(const int32_t* tos, int32_t count, const TSurveyGraph& graph);

// Negative when a belongs before b: the edge-count difference count(b) - count(a)
// when non-zero, else the sign of spread(b) - spread(a) truncated toward zero.
int32_t CompareLoops(const TEdgeArray& a, const TEdgeArray& b, const TSurveyGraph& graph);

// Sorts the loop list by CompareLoops with the array quicksort, whose order of
// equal loops is part of the result. Each spread is computed once.
void SortLoops(TLoopList& loops, const TSurveyGraph& graph);

// Sorts the loop list as SortLoops does, taking loop i's edge count and
// spread from counts[i] and spreads[i]; returns the former position of each
// loop in its new order.
std::vector<int32_t> SortLoopsByKeys(TLoopList& loops, const std::vector<int32_t>& counts,
                                     const std::vector<double>& spreads);
