#include "loops/fundamental_loops.h"

#include <vector>

namespace {

// Depth of every station below the root of its tree (0 for a root).
std::vector<int32_t> TreeDepths(const TSurveyGraph& tree) {
  const int32_t n = tree.StationCount();
  std::vector<int32_t> depth(static_cast<size_t>(n), -1);
  std::vector<int32_t> path;
  for (int32_t s = 0; s < n; ++s) {
    int32_t x = s;
    while (x >= 0 && depth[static_cast<size_t>(x)] < 0) {
      path.push_back(x);
      x = tree.Parents.Get(x);
    }
    int32_t d = x >= 0 ? depth[static_cast<size_t>(x)] : -1;
    while (!path.empty()) {
      depth[static_cast<size_t>(path.back())] = ++d;
      path.pop_back();
    }
  }
  return depth;
}

int32_t CommonStation(const TSurveyGraph& tree, const std::vector<int32_t>& depth, int32_t a, int32_t b) {
  // The two ends of a closing edge from a station to itself meet one step up.
  if (a == b) return tree.Parents.Get(a);
  while (depth[static_cast<size_t>(a)] > depth[static_cast<size_t>(b)]) a = tree.Parents.Get(a);
  while (depth[static_cast<size_t>(b)] > depth[static_cast<size_t>(a)]) b = tree.Parents.Get(b);
  while (a != b) {
    a = tree.Parents.Get(a);
    b = tree.Parents.Get(b);
    if (a < 0 || b < 0) return -1;
  }
  return a;
}

}  // namespace

void AddTreePath(const TSurveyGraph& tree, TEdgeArray& loop, int32_t start, int32_t stop) {
  int32_t s = start;
  while (s != stop) {
    const int32_t p = tree.Parents.Get(s);
    if (p < 0) return;
    loop.AddEdge({p, s, 0});
    s = p;
  }
}

void BuildLoops(const TSurveyGraph& tree, TLoopList& loops) {
  if (loops.Count() == 0) return;
  const std::vector<int32_t> depth = TreeDepths(tree);
  for (int32_t i = 0; i < loops.Count(); ++i) {
    TEdgeArray& loop = loops.LoopAt(i);
    const TEdgeRec closing = loop.GetEdge(0);
    loop.CommonStation = CommonStation(tree, depth, closing.From, closing.To);
    AddTreePath(tree, loop, closing.From, loop.CommonStation);
    loop.FirstPathCount = loop.Count();
    AddTreePath(tree, loop, closing.To, loop.CommonStation);
  }
}
