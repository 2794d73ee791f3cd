#pragma once
// Turning a loop basis into a minimum loop basis (fewest edges in total): the
// exact part of the "Minimal" search.

#include <vector>

#include "core/survey_graph.h"
#include "loops/shot_adjacency.h"
#include "loops/shot_runs.h"
#include "loops/spanning_forest.h"

// Replaces basis, a loop basis of the whole network given as shot runs, by a
// minimum loop basis. The loops offered are those of basis and, through each
// station of a feedback set, the loops made of a shot and the two shortest
// paths to its ends; they are taken shortest first (basis loops first among
// equals, then in the order found) while independent of those taken. The kept
// loops of basis stay in their order and come first, the new ones follow in
// the order taken and are held by added; when basis is a minimum already it
// is left exactly as it was. A new loop starts with its own shot as the graph
// holds it. forest and shots must be those of graph.
void MakeMinimumBasis(const TSurveyGraph& graph, const TShotAdjacency& shots, const TSpanningForest& forest,
                      std::vector<TShotRun>& basis, TShotRuns& added);
