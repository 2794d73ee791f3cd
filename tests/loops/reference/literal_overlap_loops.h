#pragma once
// The "Overlap" loop search step by step, testing every pair of loops (the
// reference for the indexed pass): fundamental loops sorted longest first; each loop
// is then compared with every later one, and where a later loop shares more
// than half of its edges with it (exactly half, and the shared part lies
// farther out), the loop is replaced by the edges that belong to exactly one
// of the two. Loops are treated as sets of station pairs: direction is
// ignored and two edges between the same stations count as one.

#include "core/edge_array.h"
#include "core/owned_lists.h"
#include "core/survey_graph.h"

// True when some edge of loop joins the same two stations as edge.
bool EdgeInLoop(const TEdgeRec& edge, const TEdgeArray& loop);

// Deletes from a every edge that b holds; the rest keep their order.
void RemoveSharedEdges(TEdgeArray& a, const TEdgeArray& b);

// Deletes from a every edge that b does not hold; the rest keep their order.
void KeepSharedEdges(TEdgeArray& a, const TEdgeArray& b);

// Appends every edge of b to a, in order, with Flag 0.
void AppendEdges(TEdgeArray& a, const TEdgeArray& b);

// True when the centroid of the shared part lies strictly farther from the
// centroid of earlier than the centroid of the own part does.
bool SharedPartFarther(const TEdgeArray& shared, const TEdgeArray& own, const TEdgeArray& earlier,
                       const TSurveyGraph& graph);

// True when more than half of later's edges belong to earlier, or exactly half
// and SharedPartFarther agrees.
bool OverlapsEnough(const TEdgeArray& earlier, const TEdgeArray& later, const TSurveyGraph& graph);

// Replaces earlier by the symmetric difference: its edges not in later, in
// their order, then later's edges not in earlier. Attributes are kept; later
// is unchanged.
void MergeLoops(const TEdgeArray& later, TEdgeArray& earlier);

// Sorts the loops; when optimize is set, merges each loop i with every later
// loop j that OverlapsEnough with the current content of loop i.
void LiteralOptimizeOverlap(TLoopList& loops, const TSurveyGraph& graph, bool optimize);

// Replaces loops by the fundamental loops of graph's breadth-first tree
// (highest order first), ordered and optionally merged by OptimizeOverlap.
void LiteralFindLoopsOverlap(TSurveyGraph& graph, TLoopList& loops, bool optimize);
