#pragma once
// The "Minimal" loop search: a set of short, independent loops that together
// cover every loop of the network (a near-minimum loop basis).

#include "core/owned_lists.h"
#include "core/survey_graph.h"

// Replaces loops by one loop per closing edge of the breadth-first spanning
// forest of every piece (TSpanningForest), taken in its closing order: the
// closing edge (From, To) followed by the shortest path from To back to From
// that uses only forest edges and closing edges taken before it (breadth-first,
// incident lists in order, so ties go to the earliest edge). Each loop holds a
// closing edge no earlier loop holds, so the loops are independent and there
// are edges - stations + pieces of them. A loop is a walk: each edge starts
// where the one before it ends, and the last ends at the closing edge's From.
// Its CommonStation is the closing edge's From (the one path runs from To up
// to it, as for a fundamental loop whose first path is empty), FirstPathCount
// is 1 and LoopValue 0; a shot from a station to itself is a loop of that one
// edge. The loops are then ordered by SortLoops. The graph is only read: its
// Marks and edge Flags are left as they were.
void FindLoopsMinimal(const TSurveyGraph& graph, TLoopList& loops);
