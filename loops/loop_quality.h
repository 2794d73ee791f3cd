#pragma once
// How good a set of loops is: how many loops and edges it holds, and whether
// it is a loop basis of the network (every loop a closed walk, the loops
// independent, as many as the network has independent loops).

#include <cstdint>

#include "core/owned_lists.h"
#include "core/survey_graph.h"

struct TLoopSetQuality {
  int32_t Loops = 0;        // loops in the list
  int64_t Edges = 0;        // edges over all loops
  int64_t Independent = 0;  // largest number of independent loops among the closed ones
  int64_t CycleRank = 0;    // shots - stations + pieces: the network's independent loops
  int32_t Closed = 0;       // loops that are closed walks
  friend bool operator==(const TLoopSetQuality&, const TLoopSetQuality&) = default;
};

// Measures a loop list over the graph it was found in. A loop whose edges'
// Flags each name a different shot (its index plus one) joining the edge's
// two stations stands for those shots, as the minimal search's loops do.
// Otherwise a loop names shots by their stations only, so the k-th edge of a
// loop joining two stations stands for the k-th shot (in edge order, either
// direction) joining them; a loop with an edge that no shot matches is not
// closed. A loop is closed when it has an
// edge and its shots can be walked as one closed walk in some order: every
// station meets an even number of them and they hang together. Independence
// (over GF(2) on the shot sets) is counted among the closed loops only. An
// isolated station is a piece. The graph is only read.
TLoopSetQuality MeasureLoopSet(const TSurveyGraph& graph, const TLoopList& loops);

// True when the loops form a loop basis: Loops = Independent = CycleRank = Closed.
bool IsBasis(const TLoopSetQuality& quality);
