#pragma once
// A breadth-first spanning forest over every piece of a network, read from
// the graph without changing it: the tree the minimal loop search grows and
// the reference frame in which loop sets are checked for independence.

#include <cstdint>
#include <vector>

#include "core/survey_graph.h"
#include "loops/shot_adjacency.h"

class TSpanningForest {
 public:
  // Grows one breadth-first tree per piece, rooted at the piece's lowest
  // station; each station is reached through the first shot (in edge order)
  // of the earliest queued station that leads to it.
  TSpanningForest(const TSurveyGraph& graph, const TShotAdjacency& shots);

  // Edges outside the forest, in the order the minimal search takes them:
  // by the depth of the deeper end, then edges whose ends lie one layer
  // apart before edges within a layer, then by edge index. A shot from a station to itself is always a closing edge.
  const std::vector<int32_t>& ClosingOrder() const { return closingOrder_; }
  // Position of edge e in ClosingOrder, or -1 for a tree edge.
  int32_t ClosingRank(int32_t e) const { return closingRank_[static_cast<size_t>(e)]; }
  // Edges between the station and the root of its tree; the root has 0.
  int32_t Depth(int32_t station) const { return depth_[static_cast<size_t>(station)]; }
  // Number of pieces; a station without shots is a piece of its own.
  int32_t Pieces() const { return pieces_; }

 private:
  std::vector<int32_t> depth_;
  std::vector<int32_t> closingOrder_;
  std::vector<int32_t> closingRank_;
  int32_t pieces_ = 0;
};
