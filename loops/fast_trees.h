#pragma once
// The spanning trees for large networks: the same trees, closing edges and
// marks as the step-by-step builders, with a binary heap of candidates and a
// hash set of closing station pairs in place of linear scans.

#include "core/owned_lists.h"
#include "core/survey_graph.h"

// Same result as the candidate-scanning breadth-first tree: tree contents,
// closing edges in the order met, and source marks 1 for reached stations.
void FastBreadthFirstTree(TSurveyGraph& source, TSurveyGraph& tree, TLoopList& loops, bool favorHighOrder);

// Same result as the depth-first forest whose closing edges are checked
// against every earlier loop: forest, closing edges and visit numbers.
void FastDepthFirstTree(TSurveyGraph& source, TSurveyGraph& tree, TLoopList& loops);
