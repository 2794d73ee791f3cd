#pragma once
// The two loop searches for large networks. Each gives exactly the loops,
// loop order, attributes, graph marks and edge flags of the step-by-step
// searches, in time close to the size of the result.

#include "core/owned_lists.h"
#include "core/survey_graph.h"

// Completes every single-edge loop of the list with its two tree paths up to
// the common station, as BuildLoop does, finding the common station by depth.
void FastBuildLoops(const TSurveyGraph& tree, TLoopList& loops);

// Sorts the loops as SortLoops does (same quicksort, so the same order of
// equal loops), computing each loop's spread once instead of per comparison.
void FastSortLoops(TLoopList& loops, const TSurveyGraph& graph);

// OptimizeShortest with one mark stamp per detour search instead of clearing
// every mark; the marks of the last search are written at the end.
void FastOptimizeShortest(TLoopList& loops, TSurveyGraph& graph, bool optimize);

// OptimizeOverlap testing each loop only against the later loops that share
// a station pair with it.
void FastOptimizeOverlap(TLoopList& loops, const TSurveyGraph& graph, bool optimize);

// FindLoopsShortest and FindLoopsOverlap on the fast tree and passes.
void FastFindLoopsShortest(TSurveyGraph& graph, TLoopList& loops, bool optimize);
void FastFindLoopsOverlap(TSurveyGraph& graph, TLoopList& loops, bool optimize);
