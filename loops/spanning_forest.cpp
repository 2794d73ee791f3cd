#include "loops/spanning_forest.h"

#include <algorithm>

TSpanningForest::TSpanningForest(const TSurveyGraph& graph, const TShotAdjacency& shots) {
  const int32_t stations = graph.StationCount();
  const int32_t edges = graph.Edges.Count();
  depth_.assign(static_cast<size_t>(stations), -1);
  std::vector<uint8_t> inTree(static_cast<size_t>(edges), 0);
  std::vector<int32_t> queue;
  queue.reserve(static_cast<size_t>(stations));
  int32_t deepest = 0;
  for (int32_t root = 0; root < stations; ++root) {
    if (depth_[static_cast<size_t>(root)] >= 0) continue;
    ++pieces_;
    depth_[static_cast<size_t>(root)] = 0;
    queue.clear();
    queue.push_back(root);
    for (size_t head = 0; head < queue.size(); ++head) {
      const int32_t v = queue[head];
      for (const TShotAdjacency::TLink link : shots.At(v)) {
        if (depth_[static_cast<size_t>(link.Far)] >= 0) continue;
        depth_[static_cast<size_t>(link.Far)] = depth_[static_cast<size_t>(v)] + 1;
        deepest = std::max(deepest, depth_[static_cast<size_t>(v)] + 1);
        inTree[static_cast<size_t>(link.Shot)] = 1;
        queue.push_back(link.Far);
      }
    }
  }

  // Deeper ends come later, so every closing edge finds the short loops
  // nearer the root already taken when its own turn comes. The two ends of an
  // edge lie at most one layer apart, so the key 2 x deeper + (ends level) is
  // exact, and counting by it keeps edge order among equal keys.
  const auto key = [&](int32_t e) {
    const int32_t a = depth_[static_cast<size_t>(graph.Edges.Froms.Get(e))];
    const int32_t b = depth_[static_cast<size_t>(graph.Edges.Tos.Get(e))];
    return static_cast<size_t>(2 * std::max(a, b) + (a == b ? 1 : 0));
  };
  std::vector<int32_t> start(2 * static_cast<size_t>(deepest) + 3, 0);
  for (int32_t e = 0; e < edges; ++e)
    if (inTree[static_cast<size_t>(e)] == 0) ++start[key(e) + 1];
  for (size_t k = 1; k < start.size(); ++k) start[k] += start[k - 1];
  closingOrder_.resize(static_cast<size_t>(start.back()));
  closingRank_.assign(static_cast<size_t>(edges), -1);
  for (int32_t e = 0; e < edges; ++e) {
    if (inTree[static_cast<size_t>(e)] != 0) continue;
    const int32_t rank = start[key(e)]++;
    closingOrder_[static_cast<size_t>(rank)] = e;
    closingRank_[static_cast<size_t>(e)] = rank;
  }
}
