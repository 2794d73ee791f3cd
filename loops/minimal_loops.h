#pragma once
// The "Minimal" loop search: a set of short, independent loops that together
// cover every loop of the network (a near-minimum loop basis).

#include "core/owned_lists.h"
#include "core/survey_graph.h"

// Replaces loops by a near-minimum loop basis of the whole network, every
// piece included. First each closing edge of the breadth-first spanning
// forest (TSpanningForest), in its closing order, gets the shortest path
// between its ends over forest edges and the closing edges taken before it:
// these loops are a basis, as each holds a closing edge no earlier one holds.
// Then, through every shot, the shortest loop in the whole network that is
// shorter than the loops found there is offered too, and the loops are taken
// shortest first (the basis loops first among equals) while independent of
// those taken, until there are edges - stations + pieces of them.
// Breadth-first searches scan incident lists in order, so ties go to the
// earliest shot and runs repeat exactly. Each loop is a walk: its closing
// edge as the graph holds it, then each edge starting where the one before it
// ends, the last ending at the closing edge's From. Its CommonStation is that
// From (the one path runs from To up to it, as in a fundamental loop whose
// first path is empty), FirstPathCount is 1 and LoopValue 0; a shot from a
// station to itself is a loop of that one edge. The Flag of each loop edge is
// the index of the shot it runs along plus one, since several shots may join
// the same two stations (MeasureLoopSet reads it). The loops are ordered by
// SortLoops. The graph is only read: its Marks and edge Flags are left as they
// were. On failure loops keeps its former contents.
void FindLoopsMinimal(const TSurveyGraph& graph, TLoopList& loops);
