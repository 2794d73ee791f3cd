#pragma once
// The loop ordering step by step: both spreads computed anew in every comparison.

#include "core/owned_lists.h"
#include "core/survey_graph.h"

// Sorts the loop list by CompareLoops with the array quicksort.
void LiteralSortLoops(TLoopList& loops, const TSurveyGraph& graph);
