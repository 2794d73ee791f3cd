#pragma once
// Fundamental loops: a closing edge completed by the two tree paths from its
// ends up to the station where they meet (the common station). Station
// indices of the tree graph are those of the work graph it was grown over.

#include <cstdint>

#include "core/edge_array.h"
#include "core/owned_lists.h"
#include "core/survey_graph.h"

// Appends the tree edges (From = parent, To = child) from start up towards
// stop; stops early at a root.
void AddTreePath(const TSurveyGraph& tree, TEdgeArray& loop, int32_t start, int32_t stop);

// Completes every single-edge loop (a, b) of the list: appends the path from
// a, then the path from b, up to the common station; sets CommonStation and
// FirstPathCount (1 + the number of edges of the first path). The common
// station is the deepest station that is an ancestor of both ends (a station
// counts as its own ancestor), the parent for an edge from a station to
// itself, and -1 when the ends lie in different trees (the paths then run up
// to the roots).
void BuildLoops(const TSurveyGraph& tree, TLoopList& loops);
