#pragma once
// The "Shortest" loop search: fundamental loops sorted longest first, each
// then offered a detour found breadth-first in the work graph that is at least
// two edges shorter and avoids the closing edges already re-routed in the pass.

#include "core/owned_lists.h"
#include "core/survey_graph.h"

// Sorts the loops, resets every edge Flag of the graph, and when optimize is
// set replaces each loop, in list order, by a shorter one where one exists:
// a breadth-first search from the closing edge's From for its To that skips
// edges joining the two, edges whose Flag is set and stations already
// reached, and gives up past a depth of the loop's edge count - 2. A detour
// is the closing edge then the path back from To; it sets the Flag of the
// first graph edge joining the two ends, and its attributes are all 0.
// The graph's marks are left as the last search leaves them: the depth of
// each station it reached (1 for the start), 0 for the rest.
void OptimizeShortest(TLoopList& loops, TSurveyGraph& graph, bool optimize);

// Replaces loops by the fundamental loops of graph's breadth-first tree
// (highest order first), ordered and optionally shortened by OptimizeShortest.
void FindLoopsShortest(TSurveyGraph& graph, TLoopList& loops, bool optimize);
