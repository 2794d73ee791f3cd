#pragma once
// The "Minimal" loop search: a set of short, independent loops that together
// cover every loop of the network (a loop basis), the shortest one possible
// (a minimum loop basis) up to a size, a near-minimum one above it.

#include <cstdint>

#include "core/owned_lists.h"
#include "core/survey_graph.h"

// Which loop basis the minimal search gave: one with the fewest edges in
// total, or a basis from the fast search, minimum on full grids and within
// 1.4 % of the minimum on the networks measured.
enum class TMinimalBasis { mbMinimum, mbNearMinimum };

// Which search FindLoopsMinimal runs: the minimum up to kMinimumBasisLoopLimit
// independent loops and the fast one above (msAutomatic), the fast one
// always (msNearMinimum), or the minimum at any size (msMinimum, which may
// take long on large networks with long loops).
enum class TMinimalSearch { msAutomatic, msNearMinimum, msMinimum };

// The most independent loops (shots - stations + pieces) for which the
// automatic choice gives the minimum basis.
inline constexpr int64_t kMinimumBasisLoopLimit = 20000;

// "minimum" or "near-minimum".
const char* MinimalBasisName(TMinimalBasis basis);

// Replaces loops by a loop basis of the whole network, every piece included,
// and tells which kind it is. The fast search: first each closing edge of
// the breadth-first spanning forest (TSpanningForest), in its closing order,
// gets the shortest path between its ends over forest edges and the closing
// edges taken before it: these loops are a basis, as each holds a closing
// edge no earlier one holds. Then, through every shot, the shortest loop in
// the whole network that is shorter than the loops found there is offered
// too, and the loops are taken shortest first (the basis loops first among
// equals) while independent of those taken, until there are edges - stations
// + pieces of them. The minimum search then makes that basis a minimum one
// (MakeMinimumBasis): where it already is, the loops are the fast search's.
// Breadth-first searches scan incident lists in order, so ties go to the
// earliest shot and runs repeat exactly. Each loop is a walk: its first edge
// as the graph holds it, then each edge starting where the one before it
// ends, the last ending at the first edge's From. Its CommonStation is that
// From (the one path runs from To up to it, as in a fundamental loop whose
// first path is empty), FirstPathCount is 1 and LoopValue 0; a shot from a
// station to itself is a loop of that one edge. The Flag of each loop edge is
// the index of the shot it runs along plus one, since several shots may join
// the same two stations (MeasureLoopSet reads it). The loops are ordered by
// SortLoops. The graph is only read: its Marks and edge Flags are left as they
// were. On failure loops keeps its former contents.
TMinimalBasis FindLoopsMinimal(const TSurveyGraph& graph, TLoopList& loops,
                               TMinimalSearch search = TMinimalSearch::msAutomatic);
