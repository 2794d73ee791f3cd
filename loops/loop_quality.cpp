#include "loops/loop_quality.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "loops/spanning_forest.h"
#include "loops/sparse_gf2.h"
#include "loops/station_pairs.h"

namespace {

// Turns one loop into the set of shots it stands for and tells whether they
// form a closed walk; its buffers are reused from loop to loop.
class TLoopShots {
 public:
  TLoopShots(const TSurveyGraph& graph, const TShotAdjacency& shots) : graph_(graph), shotsAt_(shots) {}

  // The loop's shots, sorted, in Shots(); false when some edge matches no
  // shot or the shots are not one closed walk.
  bool Resolve(const TEdgeArray& loop) {
    shots_.clear();
    if (loop.Count() == 0) return false;
    if (ShotsFromFlags(loop)) return IsClosedWalk();
    shots_.clear();
    const int32_t stations = graph_.StationCount();
    pairs_.clear();
    for (int32_t i = 0; i < loop.Count(); ++i) {
      const int32_t a = loop.Froms.Get(i);
      const int32_t b = loop.Tos.Get(i);
      if (a < 0 || b < 0 || a >= stations || b >= stations) return false;
      pairs_.push_back(StationPairKey(a, b));
    }
    std::sort(pairs_.begin(), pairs_.end());
    for (size_t i = 0; i < pairs_.size();) {
      size_t j = i;
      while (j < pairs_.size() && pairs_[j] == pairs_[i]) ++j;
      if (!AppendShots(pairs_[i], j - i)) return false;
      i = j;
    }
    std::sort(shots_.begin(), shots_.end());
    return IsClosedWalk();
  }

  const std::vector<int32_t>& Shots() const { return shots_; }

 private:
  // Takes the shots the loop's Flags name (shot index plus one), when every
  // edge names a different shot joining its own two stations.
  bool ShotsFromFlags(const TEdgeArray& loop) {
    const int32_t shots = graph_.Edges.Count();
    for (int32_t i = 0; i < loop.Count(); ++i) {
      const int32_t flag = loop.Flags.Get(i);
      if (flag <= 0 || flag > shots) return false;
      if (!SameEdge(graph_.Edges.GetEdge(flag - 1), loop.GetEdge(i))) return false;
      shots_.push_back(flag - 1);
    }
    std::sort(shots_.begin(), shots_.end());
    return std::adjacent_find(shots_.begin(), shots_.end()) == shots_.end();
  }

  // Appends the first count shots joining the key's two stations.
  bool AppendShots(uint64_t key, size_t count) {
    const auto a = static_cast<int32_t>(key >> 32);
    const auto b = static_cast<int32_t>(key & 0xffffffffU);
    // Either end holds every shot between them, in edge order.
    const bool fromA = shotsAt_.At(a).size() <= shotsAt_.At(b).size();
    const int32_t far = fromA ? b : a;
    size_t found = 0;
    for (const TShotAdjacency::TLink link : shotsAt_.At(fromA ? a : b)) {
      if (found == count) break;
      if (link.Far != far) continue;
      shots_.push_back(link.Shot);
      ++found;
    }
    return found == count;
  }

  // Every station meets an even number of the shots, and the shots hang together.
  bool IsClosedWalk() {
    ends_.clear();
    for (const int32_t e : shots_) {
      ends_.push_back(graph_.Edges.Froms.Get(e));
      ends_.push_back(graph_.Edges.Tos.Get(e));
    }
    std::sort(ends_.begin(), ends_.end());
    stations_.clear();
    for (size_t i = 0; i < ends_.size();) {
      size_t j = i;
      while (j < ends_.size() && ends_[j] == ends_[i]) ++j;
      if ((j - i) % 2 != 0) return false;
      stations_.push_back(ends_[i]);
      i = j;
    }
    root_.resize(stations_.size());
    std::iota(root_.begin(), root_.end(), 0);
    size_t pieces = stations_.size();
    for (const int32_t e : shots_) {
      const size_t x = Root(Local(graph_.Edges.Froms.Get(e)));
      const size_t y = Root(Local(graph_.Edges.Tos.Get(e)));
      if (x == y) continue;
      root_[x] = y;
      --pieces;
    }
    return pieces == 1;
  }

  size_t Local(int32_t station) const {
    return static_cast<size_t>(std::lower_bound(stations_.begin(), stations_.end(), station) - stations_.begin());
  }

  size_t Root(size_t x) {
    while (root_[x] != x) {
      root_[x] = root_[root_[x]];
      x = root_[x];
    }
    return x;
  }

  const TSurveyGraph& graph_;
  const TShotAdjacency& shotsAt_;
  std::vector<uint64_t> pairs_;
  std::vector<int32_t> shots_;
  std::vector<int32_t> ends_;
  std::vector<int32_t> stations_;
  std::vector<size_t> root_;
};

}  // namespace

TLoopSetQuality MeasureLoopSet(const TSurveyGraph& graph, const TLoopList& loops) {
  const TShotAdjacency shotsAt(graph);
  const TSpanningForest forest(graph, shotsAt);
  TLoopSetQuality quality;
  quality.Loops = loops.Count();
  quality.CycleRank =
      static_cast<int64_t>(graph.Edges.Count()) - static_cast<int64_t>(graph.StationCount()) + forest.Pieces();
  // A closed loop lies in the cycle space, where its shots outside the forest
  // determine it; eliminating on those alone keeps rows short. Pivots at the
  // latest closing edge make the minimal search's loops reduce at once.
  TSparseGf2Basis basis(static_cast<int32_t>(forest.ClosingOrder().size()));
  TLoopShots shots(graph, shotsAt);
  std::vector<int32_t> row;
  for (int32_t i = 0; i < loops.Count(); ++i) {
    const TEdgeArray& loop = loops.LoopAt(i);
    quality.Edges += loop.Count();
    if (!shots.Resolve(loop)) continue;
    ++quality.Closed;
    row.clear();
    for (const int32_t e : shots.Shots())
      if (forest.ClosingRank(e) >= 0) row.push_back(forest.ClosingRank(e));
    std::sort(row.begin(), row.end());
    if (basis.Insert(row)) ++quality.Independent;
  }
  return quality;
}

bool IsBasis(const TLoopSetQuality& quality) {
  return quality.Loops == quality.Independent && quality.Independent == quality.CycleRank &&
         quality.CycleRank == quality.Closed;
}
