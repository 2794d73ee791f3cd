#pragma once
// A loop of a loop list as the shots it runs along, each with the direction
// it is walked in: what going round the loop adds up.

#include <cstdint>
#include <vector>

#include "core/survey_graph.h"
#include "loops/shot_adjacency.h"

struct TLoopWalk {
  std::vector<int32_t> Shots;  // graph edge indices, in walking order
  std::vector<int8_t> Signs;   // +1 where the walk runs from the shot's From to its To, -1 against it
  std::vector<int32_t> Nodes;  // Nodes[k]: the graph station where step k starts
};

// Turns loops of one graph into walks; reuses its buffers from loop to loop.
// A loop's edges name shots as the loop searches write them: when every
// edge's Flag is a different shot index plus one and that shot joins the
// edge's two stations, those shots (the minimal search); otherwise the k-th
// edge joining two stations stands for the k-th shot joining them, in edge
// order. The walk keeps the loop's edge directions when they already go
// round (every station left as often as entered), and otherwise walks the
// shots as one closed walk in either direction, starting from the From of
// the loop's edge 0.
class TLoopWalker {
 public:
  explicit TLoopWalker(const TSurveyGraph& graph);

  // False, and walk empty, when some edge names no shot or the shots do not
  // form one closed walk.
  bool Walk(const TEdgeArray& loop, TLoopWalk& walk);

 private:
  bool ShotsFromFlags(const TEdgeArray& loop);
  bool ShotsFromPairs(const TEdgeArray& loop);
  bool Circuit(TLoopWalk& walk);
  int32_t Local(int32_t node) const;

  const TSurveyGraph& graph_;
  TShotAdjacency shotsAt_;
  // Per loop edge: its shot and the stations it is walked from and to.
  std::vector<int32_t> shot_, from_, to_;
  std::vector<uint64_t> keys_;
  std::vector<int32_t> stations_, degree_, start_, next_, links_;
  std::vector<uint8_t> used_;
  std::vector<int64_t> stack_;
  std::vector<int32_t> order_;
};
