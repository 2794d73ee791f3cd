#pragma once
// The depth-first spanning forest, step by step as first written (the
// reference for the fast forest): every connected part gets a tree rooted at
// its lowest-numbered station; each edge outside the forest is recorded once
// per pair of stations as a single-edge loop.

#include <cstdint>

#include "core/edge_array.h"
#include "core/owned_lists.h"
#include "core/survey_graph.h"

// The state of one depth-first run.
struct TDepthFirstRun {
  TSurveyGraph& Source;
  TSurveyGraph& Tree;
  TLoopList& Loops;
  // Numbers the stations in the order they are first visited, from 1.
  int32_t VisitCounter = 0;
};

// Appends a single-edge loop holding edge unless some loop's edge 0 already
// joins the same two stations.
void AddClosingEdge(TLoopList& loops, const TEdgeRec& edge);

// Visits v, reached from parent (-1 for a root), and everything reachable from
// it that is not yet visited: adds the tree edge (parent, v), numbers v in the
// source's marks, then takes v's neighbours in list order, visiting unvisited
// ones first-come and recording an edge to a visited station other than the
// parent as a closing edge (From = v) when some station was numbered after v.
// Runs on an explicit stack, so the depth of the tree is not limited by the call stack.
void VisitStation(TDepthFirstRun& run, int32_t parent, int32_t v);

// Clears loops, gives tree every station of source and the forest edges
// (From = parent, To = child) in the order added, and leaves the visit numbers
// 1..N in the source's marks. Edges are linked by station index.
void LiteralDepthFirstTree(TSurveyGraph& source, TSurveyGraph& tree, TLoopList& loops);
