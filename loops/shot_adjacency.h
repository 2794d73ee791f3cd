#pragma once
// The shots at each station, read from the graph's edge list itself: the
// graph's incident-edge lists can fall out of step with its edges (turning
// and sorting the edge list leaves them as they were), the edge list cannot.

#include <cstdint>
#include <span>
#include <vector>

#include "core/survey_graph.h"

class TShotAdjacency {
 public:
  struct TLink {
    int32_t Far;   // the shot's other end (the station itself for a shot to itself)
    int32_t Shot;  // index in the graph's edge list
  };

  explicit TShotAdjacency(const TSurveyGraph& graph);

  // The shots at the station in edge order; a shot from the station to itself stands once.
  std::span<const TLink> At(int32_t station) const {
    return {links_.data() + start_[static_cast<size_t>(station)],
            links_.data() + start_[static_cast<size_t>(station) + 1]};
  }

 private:
  // Shots number at most 2^31 - 1, so their links fit 32-bit positions.
  std::vector<uint32_t> start_;
  std::vector<TLink> links_;
};
