#pragma once
// Fundamental loops one at a time, climbing both tree paths at every step
// (the reference for the depth-based common station). Fundamental loops: a closing edge completed by the two tree paths
// from its ends up to the station where they meet (the common station). Station indices of the tree graph are those of
// the work graph it was grown over.

#include "core/edge_array.h"
#include "core/survey_graph.h"
#include "loops/fundamental_loops.h"

// The deepest station that is an ancestor of both ends of the closing edge
// (a station counts as its own ancestor) by the tree's Parents, or -1 when the
// two ends lie in different trees. An edge from a station to itself gives its parent.
int32_t FindCommonStation(const TSurveyGraph& tree, const TEdgeRec& closingEdge);

// Completes a single-edge loop (a, b): appends the path from a, then the path
// from b, up to the common station; sets CommonStation and FirstPathCount
// (1 + the number of edges of the first path).
void BuildLoop(const TSurveyGraph& tree, TEdgeArray& loop);
