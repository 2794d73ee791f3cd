#include "loops/fundamental_loops.h"

#include <utility>
#include <vector>

#include "core/vector3.h"
#include "loops/loop_order.h"
#include "loops/search_stop.h"

namespace {

// Depth of every station below the root of its tree (0 for a root).
std::vector<int32_t> TreeDepths(const std::vector<int32_t>& parents) {
  const auto n = static_cast<int32_t>(parents.size());
  std::vector<int32_t> depth(static_cast<size_t>(n), -1);
  std::vector<int32_t> path;
  for (int32_t s = 0; s < n; ++s) {
    int32_t x = s;
    while (x >= 0 && depth[static_cast<size_t>(x)] < 0) {
      path.push_back(x);
      x = parents[static_cast<size_t>(x)];
    }
    int32_t d = x >= 0 ? depth[static_cast<size_t>(x)] : -1;
    while (!path.empty()) {
      depth[static_cast<size_t>(path.back())] = ++d;
      path.pop_back();
    }
  }
  return depth;
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

TFundamentalLoops::TFundamentalLoops(const TSurveyGraph& tree)
    : TFundamentalLoops(std::vector<int32_t>(tree.Parents.begin(), tree.Parents.end())) {}

TFundamentalLoops::TFundamentalLoops(std::vector<int32_t> parents)
    : parent_(std::move(parents)), depth_(TreeDepths(parent_)) {}

int32_t TFundamentalLoops::CommonStation(const TEdgeRec& closing) const {
  int32_t a = closing.From;
  int32_t b = closing.To;
  // The two ends of a closing edge from a station to itself meet one step up.
  if (a == b) return Parent(a);
  while (depth_[static_cast<size_t>(a)] > depth_[static_cast<size_t>(b)]) a = Parent(a);
  while (depth_[static_cast<size_t>(b)] > depth_[static_cast<size_t>(a)]) b = Parent(b);
  while (a != b) {
    a = Parent(a);
    b = Parent(b);
    if (a < 0 || b < 0) return -1;
  }
  return a;
}

int32_t TFundamentalLoops::PathLength(int32_t start, int32_t stop) const {
  // AddTreePath climbs to stop, or to the root when stop is not above start.
  return depth_[static_cast<size_t>(start)] - (stop < 0 ? 0 : depth_[static_cast<size_t>(stop)]);
}

int32_t TFundamentalLoops::EdgeCount(const TEdgeRec& closing) const {
  const int32_t common = CommonStation(closing);
  return 1 + PathLength(closing.From, common) + PathLength(closing.To, common);
}

void TFundamentalLoops::CollectTos(const TEdgeRec& closing) const {
  tos_.clear();
  secondPath_.clear();
  tos_.push_back(closing.To);
  int32_t a = closing.From;
  int32_t b = closing.To;
  if (a == b) {
    // Both paths are the one edge from the parent, when there is a parent.
    if (Parent(a) >= 0) tos_.insert(tos_.end(), {a, a});
    return;
  }
  // The climb that finds the common station passes every station of both
  // paths in path order; a station is an edge's To when it has a parent.
  while (depth_[static_cast<size_t>(a)] > depth_[static_cast<size_t>(b)]) {
    tos_.push_back(a);
    a = Parent(a);
  }
  while (depth_[static_cast<size_t>(b)] > depth_[static_cast<size_t>(a)]) {
    secondPath_.push_back(b);
    b = Parent(b);
  }
  // Equal depths: either both have a parent or both are roots (separate trees).
  while (a != b && Parent(a) >= 0) {
    tos_.push_back(a);
    secondPath_.push_back(b);
    a = Parent(a);
    b = Parent(b);
  }
  tos_.insert(tos_.end(), secondPath_.begin(), secondPath_.end());
}

TFundamentalLoops::TMeasure TFundamentalLoops::Measure(const TEdgeRec& closing, const TSurveyGraph& graph) const {
  CollectTos(closing);
  const Vec3* positions = graph.Positions.begin();
  Vec3 sum = MakeVec3(0, 0, 0);
  for (const int32_t s : tos_) sum = Add3(sum, positions[s]);
  const auto count = static_cast<int32_t>(tos_.size());
  const Vec3 centroid = Div3(sum, static_cast<double>(count));
  double spread = 0;
  for (const int32_t s : tos_) spread += Length3(Sub3(positions[s], centroid));
  return {count, spread};
}

void TFundamentalLoops::Build(TEdgeArray& loop) const {
  const TEdgeRec closing = loop.GetEdge(0);
  loop.CommonStation = CommonStation(closing);
  const auto addPath = [&](int32_t start) {
    for (int32_t s = start; s != loop.CommonStation && Parent(s) >= 0; s = Parent(s)) loop.AddEdge({Parent(s), s, 0});
  };
  addPath(closing.From);
  loop.FirstPathCount = loop.Count();
  addPath(closing.To);
}

void BuildLoops(const TSurveyGraph& tree, TLoopList& loops) {
  if (loops.Count() == 0) return;
  const TFundamentalLoops fundamental(tree);
  for (int32_t i = 0; i < loops.Count(); ++i) fundamental.Build(loops.LoopAt(i));
}

std::vector<int32_t> SortFundamentalLoops(TLoopList& loops, const TFundamentalLoops& fundamental,
                                          const TSurveyGraph& graph) {
  const auto n = static_cast<size_t>(loops.Count());
  std::vector<int32_t> counts;
  std::vector<double> spreads;
  counts.reserve(n);
  spreads.reserve(n);
  for (int32_t i = 0; i < loops.Count(); ++i) {
    if ((i & 1023) == 0) CheckSearchStop();
    const TFundamentalLoops::TMeasure measure = fundamental.Measure(loops.LoopAt(i).GetEdge(0), graph);
    counts.push_back(measure.EdgeCount);
    spreads.push_back(measure.Spread);
  }
  const std::vector<int32_t> order = SortLoopsByKeys(loops, counts, spreads);
  std::vector<int32_t> sortedCounts;
  sortedCounts.reserve(n);
  for (const int32_t former : order) sortedCounts.push_back(counts[static_cast<size_t>(former)]);
  return sortedCounts;
}
