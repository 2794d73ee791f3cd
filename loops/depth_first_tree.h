#pragma once
// The depth-first spanning forest: every connected part gets a tree rooted at
// its lowest-numbered station; each edge outside the forest is recorded once
// per pair of stations as a single-edge loop.

#include "core/owned_lists.h"
#include "core/survey_graph.h"

// Clears loops, gives tree every station of source and the forest edges
// (From = parent, To = child) in the order added, and leaves the visit numbers
// 1..N in the source's marks. Each station's neighbours are taken in list
// order: an unvisited one is visited at once; an edge to a visited station
// other than the parent, met while some station numbered after the current
// one exists, is a closing edge (From = current) unless an earlier closing
// edge joins the same two stations. Runs on an explicit stack, so the depth
// of the tree is not limited by the call stack.
void DepthFirstTree(TSurveyGraph& source, TSurveyGraph& tree, TLoopList& loops);
