#pragma once
// The breadth-first (Prim-style) spanning tree: grows a tree from one start
// station, always taking the best candidate edge towards a station not yet in
// the tree; every other edge met becomes a single-edge loop (a closing edge).

#include <vector>

#include "core/owned_lists.h"
#include "core/survey_graph.h"

// The first station whose neighbour list is strictly longer than those of all
// lower-numbered stations (station 0 when all are equal). The graph must have stations.
int32_t MostConnectedStation(const TSurveyGraph& source);

// Fills tree with every station of source and the tree edges (From = parent,
// To = child) in the order taken, and replaces loops by one single-edge loop
// per closing edge in the order met. The start is MostConnectedStation when
// favorHighOrder is set, else station 0. Candidates are pushed in neighbour-list
// order for every neighbour not yet reached; the next one taken has the highest
// order (length of the far station's neighbour list) when favorHighOrder is
// set, else the shortest distance, and among equals the earliest pushed.
// Afterwards the source's marks are 1 for the stations reached and 0 for the
// rest. Edges are linked by station index, so repeated names cannot mix stations up.
void BreadthFirstTree(TSurveyGraph& source, TSurveyGraph& tree, TLoopList& loops, bool favorHighOrder);

// The same search for the loop searches, which need only the tree's parents:
// fills loops and the source's marks as BreadthFirstTree does and returns the
// tree parent of every station (-1 for the start and for unreached stations).
std::vector<int32_t> BreadthFirstParents(TSurveyGraph& source, TLoopList& loops, bool favorHighOrder);
