#include "loops/fast_trees.h"

#include <cmath>
#include <unordered_set>
#include <vector>

#include "loops/breadth_first_tree.h"
#include "loops/station_pairs.h"

namespace {

// One candidate edge; Key is the distance, or the negated order when high
// order is favoured, so the smallest (Key, Sequence) is always taken next.
struct TCandidate {
  double Key;
  int64_t Sequence;
  int32_t From;
  int32_t To;
};

// A binary min-heap on (Key, Sequence): equal keys come out in push order,
// as the first-found minimum of an insertion-ordered scan does.
class TCandidateHeap {
 public:
  bool Empty() const { return items_.empty(); }
  void Push(const TCandidate& c) {
    items_.push_back(c);
    size_t i = items_.size() - 1;
    while (i > 0) {
      const size_t parent = (i - 1) / 2;
      if (!Before(items_[i], items_[parent])) break;
      std::swap(items_[i], items_[parent]);
      i = parent;
    }
  }
  TCandidate Pop() {
    const TCandidate top = items_.front();
    items_.front() = items_.back();
    items_.pop_back();
    size_t i = 0;
    const size_t n = items_.size();
    while (true) {
      const size_t left = 2 * i + 1;
      if (left >= n) break;
      size_t best = left;
      if (left + 1 < n && Before(items_[left + 1], items_[left])) best = left + 1;
      if (!Before(items_[best], items_[i])) break;
      std::swap(items_[i], items_[best]);
      i = best;
    }
    return top;
  }

 private:
  static bool Before(const TCandidate& a, const TCandidate& b) {
    return a.Key < b.Key || (a.Key == b.Key && a.Sequence < b.Sequence);
  }
  std::vector<TCandidate> items_;
};

// Distances that are not numbers do not order, so a heap cannot stand in
// for the scan; such networks keep the scanning store.
bool HasNonFinitePosition(const TSurveyGraph& graph) {
  for (const Vec3& p : graph.Positions)
    if (!std::isfinite(p.X) || !std::isfinite(p.Y) || !std::isfinite(p.Z)) return true;
  return false;
}

}  // namespace

void FastBreadthFirstTree(TSurveyGraph& source, TSurveyGraph& tree, TLoopList& loops, bool favorHighOrder) {
  if (!favorHighOrder && HasNonFinitePosition(source)) {
    BreadthFirstTree(source, tree, loops, favorHighOrder);
    return;
  }
  tree.Clear();
  loops.Clear();
  source.SetAllMarks(0);
  CopyStations(source, tree);
  if (source.StationCount() == 0) return;

  TCandidateHeap heap;
  int64_t sequence = 0;
  const auto addCandidates = [&](int32_t v) {
    const THugeInteger& neighbors = source.Neighbors.ListOf(v);
    for (const int32_t w : neighbors) {
      if (source.Marks.Get(w) != 0) continue;
      const double key = favorHighOrder ? -static_cast<double>(source.Neighbors.ListOf(w).Count())
                                        : Length3(Sub3(source.Positions.Get(w), source.Positions.Get(v)));
      heap.Push({key, sequence++, v, w});
    }
  };

  const int32_t start = favorHighOrder ? MostConnectedStation(source) : 0;
  addCandidates(start);
  source.Marks.Put(start, 1);
  while (!heap.Empty()) {
    const TCandidate c = heap.Pop();
    if (source.Marks.Get(c.To) == 0) {
      tree.AddEdgeByIndex(c.From, c.To);
      addCandidates(c.To);
      source.Marks.Put(c.To, 1);
    } else {
      loops.AddLoop().AddEdge({c.From, c.To, 0});
    }
  }
}

void FastDepthFirstTree(TSurveyGraph& source, TSurveyGraph& tree, TLoopList& loops) {
  loops.Clear();
  CopyStations(source, tree);
  source.SetAllMarks(0);
  std::unordered_set<uint64_t> closingPairs;
  struct TFrame {
    int32_t Parent;
    int32_t Station;
    int32_t NextNeighbor;
  };
  std::vector<TFrame> stack;
  int32_t visitCounter = 0;
  const auto enter = [&](int32_t parent, int32_t v) {
    if (parent != -1) tree.AddEdgeByIndex(parent, v);
    source.Marks.Put(v, ++visitCounter);
    stack.push_back({parent, v, 0});
  };
  for (int32_t root = 0; root < source.StationCount(); ++root) {
    if (source.Marks.Get(root) != 0) continue;
    enter(-1, root);
    while (!stack.empty()) {
      TFrame& frame = stack.back();
      const THugeInteger& neighbors = source.Neighbors.ListOf(frame.Station);
      if (frame.NextNeighbor >= neighbors.Count()) {
        stack.pop_back();
        continue;
      }
      const int32_t w = neighbors.Get(frame.NextNeighbor++);
      const int32_t v = frame.Station;
      if (source.Marks.Get(w) == 0) {
        enter(v, w);  // invalidates frame
      } else if (w != frame.Parent && source.Marks.Get(v) < visitCounter) {
        if (closingPairs.insert(StationPairKey(v, w)).second) loops.AddLoop().AddEdge({v, w, 0});
      }
    }
  }
}
