#include "loops/breadth_first_tree.h"

#include <cmath>
#include <utility>
#include <vector>

#include "loops/search_stop.h"
#include "loops/spanning_heap.h"

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
// as the first-found best of an insertion-ordered scan does.
class TCandidateHeap {
 public:
  explicit TCandidateHeap(bool favorHighOrder) : favorHighOrder_(favorHighOrder) {}
  bool Empty() const { return items_.empty(); }
  void Push(int32_t from, int32_t to, Vec3 fromPosition, Vec3 toPosition, int32_t order) {
    const double key = favorHighOrder_ ? -static_cast<double>(order) : Length3(Sub3(toPosition, fromPosition));
    items_.push_back({key, sequence_++, from, to});
    size_t i = items_.size() - 1;
    while (i > 0) {
      const size_t parent = (i - 1) / 2;
      if (!Before(items_[i], items_[parent])) break;
      std::swap(items_[i], items_[parent]);
      i = parent;
    }
  }
  std::pair<int32_t, int32_t> Pop() {
    const TCandidate top = items_.front();
    items_.front() = items_.back();
    items_.pop_back();
    const size_t n = items_.size();
    size_t i = 0;
    while (2 * i + 1 < n) {
      size_t best = 2 * i + 1;
      if (best + 1 < n && Before(items_[best + 1], items_[best])) ++best;
      if (!Before(items_[best], items_[i])) break;
      std::swap(items_[i], items_[best]);
      i = best;
    }
    return {top.From, top.To};
  }

 private:
  static bool Before(const TCandidate& a, const TCandidate& b) {
    return a.Key < b.Key || (a.Key == b.Key && a.Sequence < b.Sequence);
  }
  bool favorHighOrder_;
  int64_t sequence_ = 0;
  std::vector<TCandidate> items_;
};

// The scanning store behind the heap's interface, for distances that are not
// numbers: they do not order, so only the scan itself gives its result.
class TScanningStore {
 public:
  explicit TScanningStore(bool favorHighOrder) : favorHighOrder_(favorHighOrder) {}
  bool Empty() const { return heap_.Empty(); }
  void Push(int32_t from, int32_t to, Vec3 fromPosition, Vec3 toPosition, int32_t order) {
    heap_.Push(from, to, fromPosition, toPosition, order);
  }
  std::pair<int32_t, int32_t> Pop() {
    const int32_t k = heap_.BestIndex(favorHighOrder_);
    const std::pair<int32_t, int32_t> edge{heap_.FromStations.Get(k), heap_.ToStations.Get(k)};
    heap_.Remove(k);
    return edge;
  }

 private:
  bool favorHighOrder_;
  TSpanningHeap heap_;
};

bool HasNonFinitePosition(const TSurveyGraph& graph) {
  for (const Vec3& p : graph.Positions)
    if (!std::isfinite(p.X) || !std::isfinite(p.Y) || !std::isfinite(p.Z)) return true;
  return false;
}

// addTreeEdge(from, to) receives the tree edges in the order taken.
template <class TStore, class AddTreeEdge>
void GrowTree(TSurveyGraph& source, AddTreeEdge&& addTreeEdge, TLoopList& loops, bool favorHighOrder, TStore& store) {
  const auto addCandidates = [&](int32_t v) {
    for (const int32_t w : source.Neighbors.ListOf(v)) {
      if (source.Marks.Get(w) != 0) continue;
      store.Push(v, w, source.Positions.Get(v), source.Positions.Get(w), source.Neighbors.ListOf(w).Count());
    }
  };
  const int32_t start = favorHighOrder ? MostConnectedStation(source) : 0;
  addCandidates(start);
  source.Marks.Put(start, 1);
  uint32_t steps = 0;
  while (!store.Empty()) {
    if ((++steps & 4095) == 0) CheckSearchStop();
    const auto [from, to] = store.Pop();
    if (source.Marks.Get(to) == 0) {
      addTreeEdge(from, to);
      addCandidates(to);
      source.Marks.Put(to, 1);
    } else {
      loops.AddLoop().AddEdge({from, to, 0});
    }
  }
}

}  // namespace

int32_t MostConnectedStation(const TSurveyGraph& source) {
  int32_t best = 0;
  for (int32_t i = 0; i < source.StationCount(); ++i) {
    if (source.Neighbors.ListOf(i).Count() > source.Neighbors.ListOf(best).Count()) best = i;
  }
  return best;
}

namespace {

template <class AddTreeEdge>
void Grow(TSurveyGraph& source, AddTreeEdge&& addTreeEdge, TLoopList& loops, bool favorHighOrder) {
  if (source.StationCount() == 0) return;
  if (!favorHighOrder && HasNonFinitePosition(source)) {
    TScanningStore store(favorHighOrder);
    GrowTree(source, addTreeEdge, loops, favorHighOrder, store);
  } else {
    TCandidateHeap store(favorHighOrder);
    GrowTree(source, addTreeEdge, loops, favorHighOrder, store);
  }
}

}  // namespace

void BreadthFirstTree(TSurveyGraph& source, TSurveyGraph& tree, TLoopList& loops, bool favorHighOrder) {
  tree.Clear();
  loops.Clear();
  source.SetAllMarks(0);
  // Station i of the tree is station i of the source from here on.
  CopyStations(source, tree);
  Grow(
      source, [&tree](int32_t from, int32_t to) { tree.AddEdgeByIndex(from, to); }, loops, favorHighOrder);
}

std::vector<int32_t> BreadthFirstParents(TSurveyGraph& source, TLoopList& loops, bool favorHighOrder) {
  loops.Clear();
  source.SetAllMarks(0);
  std::vector<int32_t> parents(static_cast<size_t>(source.StationCount()), -1);
  Grow(
      source, [&parents](int32_t from, int32_t to) { parents[static_cast<size_t>(to)] = from; }, loops, favorHighOrder);
  return parents;
}
