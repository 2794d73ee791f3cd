#pragma once
// The "Overlap" loop search: fundamental loops sorted longest first; each loop
// is then compared with every later one, and where a later loop shares more
// than half of its edges with it (exactly half, and the shared part lies
// farther out), the loop is replaced by the edges that belong to exactly one
// of the two. Loops are treated as sets of station pairs: direction is
// ignored and two edges between the same stations count as one.

#include "core/owned_lists.h"
#include "core/survey_graph.h"

// Sorts the loops; when optimize is set, takes each loop i in turn and each
// later loop j in ascending order, and merges j into i when more of j's
// edges join a station pair of i (as i stands now) than not, or exactly as
// many and the centroid of the shared edges' To stations lies strictly
// farther from i's centroid than that of the others. Merged, i becomes its
// edges not in j, in order, then j's edges not in i; j is unchanged. Only
// loops that share a station pair with i are tested, as no other can merge.
void OptimizeOverlap(TLoopList& loops, const TSurveyGraph& graph, bool optimize);

// Replaces loops by the fundamental loops of graph's breadth-first tree
// (highest order first), ordered and optionally merged by OptimizeOverlap.
void FindLoopsOverlap(TSurveyGraph& graph, TLoopList& loops, bool optimize);
