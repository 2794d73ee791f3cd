#pragma once
// The breadth-first (Prim-style) spanning tree, step by step as first written,
// kept as the reference the fast tree is checked against: grows a tree from one start
// station, always taking the best candidate edge towards a station not yet in
// the tree; every other edge met becomes a single-edge loop (a closing edge).

#include "core/owned_lists.h"
#include "core/survey_graph.h"
#include "loops/breadth_first_tree.h"
#include "loops/spanning_heap.h"

// Pushes a candidate for every neighbour of v not yet marked in the source, in
// neighbour-list order.
void AddCandidates(const TSurveyGraph& source, TSpanningHeap& heap, int32_t v);

// Fills tree with every station of source and the tree edges (From = parent,
// To = child) in the order taken, and replaces loops by one single-edge loop
// per closing edge in the order met. The start is MostConnectedStation when
// favorHighOrder is set, else station 0. Afterwards the source's marks are 1
// for the stations reached and 0 for the rest. Tree edges and closing edges
// are linked by station index, so repeated names cannot mix stations up.
void LiteralBreadthFirstTree(TSurveyGraph& source, TSurveyGraph& tree, TLoopList& loops, bool favorHighOrder);
