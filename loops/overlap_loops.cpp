#include "loops/overlap_loops.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <span>
#include <unordered_map>
#include <vector>

#include "core/errors.h"
#include "loops/breadth_first_tree.h"
#include "loops/fundamental_loops.h"
#include "loops/loop_order.h"
#include "loops/search_stop.h"
#include "loops/station_pairs.h"

namespace {

// Dense numbers for the station pairs the loops' edges join.
class TPairIds {
 public:
  explicit TPairIds(int32_t stations) : treeEdgePair_(static_cast<size_t>(stations), -1) {}
  int32_t Of(const TEdgeRec& edge) {
    const auto [it, added] = ids_.try_emplace(StationPairKey(edge.From, edge.To), static_cast<int32_t>(ids_.size()));
    return it->second;
  }
  // The pair of a tree edge, remembered by its child: every tree edge into a
  // station joins the same two stations.
  int32_t OfTreeEdge(const TEdgeRec& edge) {
    int32_t& id = treeEdgePair_[static_cast<size_t>(edge.To)];
    if (id < 0) id = Of(edge);
    return id;
  }
  int32_t Count() const { return static_cast<int32_t>(ids_.size()); }
  // The pair of each station's tree edge, -1 where none was asked for.
  std::vector<int32_t> TakeTreeEdgePairs() { return std::move(treeEdgePair_); }

 private:
  std::unordered_map<uint64_t, int32_t> ids_;
  std::vector<int32_t> treeEdgePair_;
};

// For each station pair, the loops (ascending, each once) that hold it as
// the loops stand before the pass. A loop keeps its edges until its own turn
// comes, so the rows stay true for every later loop.
class TPairIndex {
 public:
  // source.PairsOf(j, emit) calls emit(pair id) for the edges of loop j in
  // order; the ids run from 0 to source.PairCount() - 1.
  template <class Source>
  TPairIndex(int32_t loopCount, const Source& source) {
    const auto pairs = static_cast<size_t>(source.PairCount());
    // Loops of each pair in compressed rows, a loop listed once per pair.
    std::vector<int32_t> lastLoop(pairs, -1);
    const auto forEachLoopOfPair = [&](auto&& visit) {
      for (int32_t j = 0; j < loopCount; ++j) {
        if ((j & 1023) == 0) CheckSearchStop();
        source.PairsOf(j, [&](int32_t id) {
          if (lastLoop[static_cast<size_t>(id)] == j) return;
          lastLoop[static_cast<size_t>(id)] = j;
          visit(id, j);
        });
      }
    };
    pairStart_.assign(pairs + 1, 0);
    forEachLoopOfPair([this](int32_t id, int32_t) { ++pairStart_[static_cast<size_t>(id) + 1]; });
    for (size_t p = 0; p < pairs; ++p) pairStart_[p + 1] += pairStart_[p];
    // Cursors keep their place in a row in 32 bits.
    if (pairStart_.back() > std::numeric_limits<uint32_t>::max()) throw EOutOfMemory();
    pairLoops_.resize(pairStart_.back());
    scan_.assign(pairStart_.begin(), pairStart_.end() - 1);
    std::vector<size_t> next(pairStart_.begin(), pairStart_.end() - 1);
    std::fill(lastLoop.begin(), lastLoop.end(), -1);
    forEachLoopOfPair([&](int32_t id, int32_t loop) { pairLoops_[next[static_cast<size_t>(id)]++] = loop; });
  }

  int32_t PairCount() const { return static_cast<int32_t>(scan_.size()); }
  // Position of the first loop holding pair id with an index above `after`;
  // `after` never decreases from one call to the next, so each row is
  // scanned once over the whole pass.
  // FirstAfterCurrent reads two places far from everything else: the row
  // cursor of the pair, then the row itself. These fetch them ahead, the
  // cursor first.
  void PrefetchCursor(int32_t id) const { __builtin_prefetch(&scan_[static_cast<size_t>(id)]); }
  void PrefetchRow(int32_t id) const { __builtin_prefetch(&pairLoops_[scan_[static_cast<size_t>(id)]]); }
  size_t FirstAfterCurrent(int32_t id, int32_t after) {
    size_t& position = scan_[static_cast<size_t>(id)];
    const size_t end = PairEnd(id);
    while (position < end && pairLoops_[position] <= after) ++position;
    return position;
  }
  // The same for any `after` not below the last FirstAfterCurrent of the pair.
  size_t FirstAfter(int32_t id, int32_t after) const {
    const auto begin = pairLoops_.begin() + static_cast<std::ptrdiff_t>(scan_[static_cast<size_t>(id)]);
    const auto end = pairLoops_.begin() + static_cast<std::ptrdiff_t>(PairEnd(id));
    return static_cast<size_t>(std::upper_bound(begin, end, after) - pairLoops_.begin());
  }
  size_t PairEnd(int32_t id) const { return pairStart_[static_cast<size_t>(id) + 1]; }
  int32_t LoopAtPosition(size_t position) const { return pairLoops_[position]; }

 private:
  std::vector<size_t> pairStart_;
  std::vector<int32_t> pairLoops_;
  std::vector<size_t> scan_;
};

// Loops the caller built: each is read from the list, and the pair of each
// of their edges is kept in one flat column.
class TBuiltLoops {
 public:
  explicit TBuiltLoops(TLoopList& loops) : loops_(loops) {
    TPairIds ids(0);
    edgeStart_.reserve(static_cast<size_t>(loops.Count()) + 1);
    edgeStart_.push_back(0);
    for (int32_t j = 0; j < loops.Count(); ++j) {
      if ((j & 1023) == 0) CheckSearchStop();
      VisitEdges(j, [&](const TEdgeRec& edge) { edgePairs_.push_back(ids.Of(edge)); });
      edgeStart_.push_back(edgePairs_.size());
    }
    pairCount_ = ids.Count();
  }
  int32_t PairCount() const { return pairCount_; }
  template <class Emit>
  void PairsOf(int32_t j, Emit&& emit) const {
    for (size_t k = edgeStart_[static_cast<size_t>(j)]; k < edgeStart_[static_cast<size_t>(j) + 1]; ++k)
      emit(edgePairs_[k]);
  }
  template <class Visit>
  void VisitEdges(int32_t j, Visit&& visit) const {
    const TEdgeArray& loop = loops_.LoopAt(j);
    for (int32_t k = 0; k < loop.Count(); ++k) visit(loop.GetEdge(k));
  }
  void Complete(int32_t) const {}

 private:
  TLoopList& loops_;
  std::vector<size_t> edgeStart_;
  std::vector<int32_t> edgePairs_;
  int32_t pairCount_ = 0;
};

// Fundamental loops still held as their closing edge: a loop's tree paths are
// walked when it is read and appended only when its own turn comes, so the
// long loops that merges replace are never stored whole. The pairs of their
// edges are read along the tree too: a tree edge's pair is remembered by its
// child, a closing edge's by its loop.
class TClosingEdgeLoops {
 public:
  // completed counts the loops built so far, for the caller to finish the
  // rest should the pass fail.
  TClosingEdgeLoops(TLoopList& loops, const TFundamentalLoops& fundamental, int32_t stations, int32_t& completed)
      : loops_(loops), fundamental_(fundamental), completed_(completed) {
    TPairIds ids(stations);
    closingPair_.reserve(static_cast<size_t>(loops.Count()));
    for (int32_t j = 0; j < loops.Count(); ++j) {
      if ((j & 1023) == 0) CheckSearchStop();
      bool closing = true;
      VisitEdges(j, [&](const TEdgeRec& edge) {
        if (closing)
          closingPair_.push_back(ids.Of(edge));
        else
          ids.OfTreeEdge(edge);
        closing = false;
      });
    }
    pairCount_ = ids.Count();
    treeEdgePair_ = ids.TakeTreeEdgePairs();
  }
  int32_t PairCount() const { return pairCount_; }
  template <class Emit>
  void PairsOf(int32_t j, Emit&& emit) const {
    bool closing = true;
    VisitEdges(j, [&](const TEdgeRec& edge) {
      emit(closing ? closingPair_[static_cast<size_t>(j)] : treeEdgePair_[static_cast<size_t>(edge.To)]);
      closing = false;
    });
  }
  template <class Visit>
  void VisitEdges(int32_t j, Visit&& visit) const {
    fundamental_.VisitEdges(loops_.LoopAt(j).GetEdge(0), visit);
  }
  void Complete(int32_t i) const {
    fundamental_.Build(loops_.LoopAt(i));
    completed_ = i + 1;
  }

 private:
  TLoopList& loops_;
  const TFundamentalLoops& fundamental_;
  std::vector<int32_t> closingPair_;
  std::vector<int32_t> treeEdgePair_;
  int32_t pairCount_ = 0;
  int32_t& completed_;
};

// Where the pass stands in one pair's row: the next later loop holding the
// pair. A cursor whose generation is not its pair's current one is retired.
struct TCursor {
  int32_t Loop;
  int32_t Pair;
  uint32_t Position;
  uint32_t Generation;
};

// A binary min-heap of cursors on their loop index. The cursor on top is
// advanced in place with one sift, the step the pass takes most.
class TCursorHeap {
 public:
  bool Empty() const { return items_.empty(); }
  const TCursor& Top() const { return items_.front(); }
  void Clear() { items_.clear(); }
  // Adds without ordering; Order() must follow before Top is read.
  void Append(const TCursor& cursor) { items_.push_back(cursor); }
  void Order() {
    for (size_t i = items_.size() / 2; i-- > 0;) SiftDown(i, items_[i]);
  }
  void Push(TCursor cursor) {
    items_.push_back(cursor);
    size_t i = items_.size() - 1;
    while (i > 0) {
      const size_t parent = (i - 1) / 2;
      if (items_[parent].Loop <= cursor.Loop) break;
      items_[i] = items_[parent];
      i = parent;
    }
    items_[i] = cursor;
  }
  void ReplaceTop(const TCursor& cursor) { SiftDown(0, cursor); }
  void PopTop() {
    const TCursor last = items_.back();
    items_.pop_back();
    if (!items_.empty()) SiftDown(0, last);
  }

 private:
  // Puts cursor into the hole at i and moves it down to its place.
  void SiftDown(size_t i, TCursor cursor) {
    const size_t n = items_.size();
    for (;;) {
      size_t child = 2 * i + 1;
      if (child >= n) break;
      if (child + 1 < n && items_[child + 1].Loop < items_[child].Loop) ++child;
      if (cursor.Loop <= items_[child].Loop) break;
      items_[i] = items_[child];
      i = child;
    }
    items_[i] = cursor;
  }

  std::vector<TCursor> items_;
};

// Mean To position of the edges of loop j whose pair is in the earlier loop
// (shared) and of the others (own), each summed in edge order as
// LoopCentroid sums a filtered copy.
template <class Source>
void PartCentroids(const Source& source, int32_t j, std::span<const int32_t> pairs,
                   const std::vector<int32_t>& inEarlier, const TSurveyGraph& graph, Vec3& shared, Vec3& own) {
  Vec3 sums[2] = {MakeVec3(0, 0, 0), MakeVec3(0, 0, 0)};
  int32_t counts[2] = {0, 0};
  size_t k = 0;
  source.VisitEdges(j, [&](const TEdgeRec& edge) {
    const int part = inEarlier[static_cast<size_t>(pairs[k++])] > 0 ? 1 : 0;
    sums[part] = Add3(sums[part], graph.Positions.Get(edge.To));
    ++counts[part];
  });
  own = counts[0] == 0 ? sums[0] : Div3(sums[0], static_cast<double>(counts[0]));
  shared = counts[1] == 0 ? sums[1] : Div3(sums[1], static_cast<double>(counts[1]));
}

// The merging pass over loops in their sorted order. Only loops that share a
// station pair with loop i as it stands are tested, as no other can merge;
// they are met in ascending order through one cursor per pair of loop i.
template <class Source>
void MergePass(TLoopList& loops, const TSurveyGraph& graph, TPairIndex& index, const Source& source) {
  const auto pairs = static_cast<size_t>(index.PairCount());
  // Edges of the current earlier loop per pair. Each pair present in it has
  // one live cursor in the heap: the next later loop holding the pair. A
  // pair's generation changes when it leaves the earlier loop, which retires
  // its cursor.
  std::vector<int32_t> inEarlier(pairs, 0);
  std::vector<uint32_t> generation(pairs, 0);
  std::vector<int32_t> inLater(pairs, -1);
  TCursorHeap cursors;
  std::vector<int32_t> earlierPairs;
  std::vector<int32_t> laterPairs;
  std::vector<int32_t> keptPairs;
  std::vector<TEdgeRec> kept;

  const auto cursorAt = [&](int32_t id, size_t position) {
    return TCursor{index.LoopAtPosition(position), id, static_cast<uint32_t>(position),
                   generation[static_cast<size_t>(id)]};
  };

  uint32_t steps = 0;
  for (int32_t i = 0; i + 1 < loops.Count(); ++i) {
    ReportSearchProgress(i, loops.Count());
    source.Complete(i);
    TEdgeArray& earlier = loops.LoopAt(i);
    earlierPairs.clear();
    source.PairsOf(i, [&earlierPairs](int32_t id) { earlierPairs.push_back(id); });
    cursors.Clear();
    // The rows of a long loop's pairs lie far apart: fetch ahead, and order
    // the cursors once they are all in.
    constexpr size_t kAhead = 8;
    for (size_t k = 0; k < earlierPairs.size(); ++k) {
      if (k + 2 * kAhead < earlierPairs.size()) index.PrefetchCursor(earlierPairs[k + 2 * kAhead]);
      if (k + kAhead < earlierPairs.size()) index.PrefetchRow(earlierPairs[k + kAhead]);
      const int32_t id = earlierPairs[k];
      if (inEarlier[static_cast<size_t>(id)]++ > 0) continue;
      ++generation[static_cast<size_t>(id)];
      const size_t position = index.FirstAfterCurrent(id, i);
      if (position < index.PairEnd(id)) cursors.Append(cursorAt(id, position));
    }
    cursors.Order();

    int32_t lastTested = i;
    while (!cursors.Empty()) {
      if ((++steps & 4095) == 0) CheckSearchStop();
      const TCursor cursor = cursors.Top();
      if (cursor.Generation != generation[static_cast<size_t>(cursor.Pair)]) {
        cursors.PopTop();
        continue;
      }
      const size_t next = size_t{cursor.Position} + 1;
      if (next < index.PairEnd(cursor.Pair))
        cursors.ReplaceTop(cursorAt(cursor.Pair, next));
      else
        cursors.PopTop();
      const int32_t j = cursor.Loop;
      if (j == lastTested) continue;
      lastTested = j;

      laterPairs.clear();
      source.PairsOf(j, [&laterPairs](int32_t id) { laterPairs.push_back(id); });
      int32_t shared = 0;
      for (const int32_t id : laterPairs) shared += inEarlier[static_cast<size_t>(id)] > 0 ? 1 : 0;
      const int32_t own = static_cast<int32_t>(laterPairs.size()) - shared;
      bool merge = shared > own;
      if (shared == own) {
        const Vec3 earlierCentre = LoopCentroid(earlier, graph);
        Vec3 sharedCentre;
        Vec3 ownCentre;
        PartCentroids(source, j, laterPairs, inEarlier, graph, sharedCentre, ownCentre);
        merge = Length3(Sub3(sharedCentre, earlierCentre)) > Length3(Sub3(ownCentre, earlierCentre));
      }
      if (!merge) continue;

      // Earlier becomes its edges not in later, then later's not in earlier.
      for (const int32_t id : laterPairs) inLater[static_cast<size_t>(id)] = j;
      kept.clear();
      keptPairs.clear();
      for (int32_t k = 0; k < earlier.Count(); ++k) {
        const int32_t id = earlierPairs[static_cast<size_t>(k)];
        if (inLater[static_cast<size_t>(id)] == j) continue;
        kept.push_back(earlier.GetEdge(k));
        keptPairs.push_back(id);
      }
      const size_t keptOfEarlier = kept.size();
      size_t k = 0;
      source.VisitEdges(j, [&](const TEdgeRec& edge) {
        const int32_t id = laterPairs[k++];
        if (inEarlier[static_cast<size_t>(id)] > 0) return;
        kept.push_back(edge);
        keptPairs.push_back(id);
      });
      // Pairs that leave retire their cursors; pairs that stay keep theirs,
      // which already point at j or beyond; pairs that arrive start after j.
      for (const int32_t id : earlierPairs)
        if (inLater[static_cast<size_t>(id)] == j && inEarlier[static_cast<size_t>(id)] > 0) {
          inEarlier[static_cast<size_t>(id)] = 0;
          ++generation[static_cast<size_t>(id)];
        }
      for (size_t m = keptOfEarlier; m < keptPairs.size(); ++m) {
        const int32_t id = keptPairs[m];
        if (inEarlier[static_cast<size_t>(id)]++ > 0) continue;
        ++generation[static_cast<size_t>(id)];
        const size_t position = index.FirstAfter(id, j);
        if (position < index.PairEnd(id)) cursors.Push(cursorAt(id, position));
      }
      earlierPairs.swap(keptPairs);
      earlier.Clear();
      for (const TEdgeRec& e : kept) earlier.AddEdge(e);
    }
    for (const int32_t id : earlierPairs) inEarlier[static_cast<size_t>(id)] = 0;
  }
  source.Complete(loops.Count() - 1);
}

}  // namespace

void OptimizeOverlap(TLoopList& loops, const TSurveyGraph& graph, bool optimize) {
  SortLoops(loops, graph);
  if (!optimize || loops.Count() < 2) return;
  const TBuiltLoops source(loops);
  TPairIndex index(loops.Count(), source);
  MergePass(loops, graph, index, source);
}

void FindLoopsOverlap(TSurveyGraph& graph, TLoopList& loops, bool optimize) {
  const TFundamentalLoops fundamental(BreadthFirstParents(graph, loops, true));
  if (!optimize || loops.Count() < 2) {
    for (int32_t i = 0; i < loops.Count(); ++i) fundamental.Build(loops.LoopAt(i));
    OptimizeOverlap(loops, graph, optimize);
    return;
  }
  // Ordered by their size and spread without building them; each loop is
  // built when its turn comes.
  SortFundamentalLoops(loops, fundamental, graph);
  int32_t completed = 0;
  try {
    const TClosingEdgeLoops source(loops, fundamental, graph.StationCount(), completed);
    TPairIndex index(loops.Count(), source);
    MergePass(loops, graph, index, source);
  } catch (const ESearchStopped&) {
    throw;  // a stopped search's list is dropped: nothing to finish
  } catch (...) {
    // The loops whose turn had not come are still closing edges: a failed
    // pass leaves them built whole.
    for (int32_t i = completed; i < loops.Count(); ++i)
      if (loops.LoopAt(i).Count() == 1) fundamental.Build(loops.LoopAt(i));
    throw;
  }
}
