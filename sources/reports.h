#pragma once
// The text reports on a graph's structure and the memo lines of the two tree
// commands, one string per line, without line ends.

#include <cstdint>
#include <string>
#include <vector>

#include "core/owned_lists.h"
#include "core/survey_graph.h"

// Per station: "name - " then every neighbour's name followed by ",", e.g. "G - H,B,L,".
std::vector<std::string> ReportAdjacency(const TSurveyGraph& graph);
// Per edge: "From - To" by name, e.g. "A - B".
std::vector<std::string> ReportSequence(const TSurveyGraph& graph);
// Per station: "name - parent (p)", the parent's name left out when p < 0: "A -  (-1)".
std::vector<std::string> ReportParents(const TSurveyGraph& graph);
// Per entry of the name table: "name - index", e.g. "C - 2".
std::vector<std::string> ReportIndexes(const TSurveyGraph& graph);

// Turns every edge so that From <= To and sorts the edges by To; neighbour
// and incident-edge lists and parents stay as they were. Returns the number
// of edges turned.
int32_t OptimizeEdgeList(TSurveyGraph& graph);

// Per loop, from its closing edge (edge 0) with names from the tree graph:
// "From - To (from-to)", e.g. "A - B (0-1)". A loop without edges gives "".
std::vector<std::string> BreadthFirstMemoLines(const TSurveyGraph& tree, const TLoopList& loops);
// Per loop, from its closing edge: "From To", e.g. "A B". A loop without edges gives "".
std::vector<std::string> DepthFirstMemoLines(const TSurveyGraph& tree, const TLoopList& loops);
