#include "loops/overlap_loops.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "loops/breadth_first_tree.h"
#include "loops/fundamental_loops.h"
#include "loops/loop_order.h"
#include "loops/station_pairs.h"

namespace {

// Every station pair of the loops numbered densely, and for each pair the
// loops (ascending, each once) that hold it.
class TPairIndex {
 public:
  explicit TPairIndex(const TLoopList& loops) {
    std::unordered_map<uint64_t, int32_t> ids;
    size_t total = 0;
    for (int32_t i = 0; i < loops.Count(); ++i) total += static_cast<size_t>(loops.LoopAt(i).Count());
    ids.reserve(total / 2 + 16);
    EdgePairs.resize(loops.Count());
    for (int32_t i = 0; i < loops.Count(); ++i) {
      const TEdgeArray& loop = loops.LoopAt(i);
      std::vector<int32_t>& pairs = EdgePairs[static_cast<size_t>(i)];
      pairs.resize(static_cast<size_t>(loop.Count()));
      for (int32_t k = 0; k < loop.Count(); ++k) {
        const auto [it, added] =
            ids.try_emplace(StationPairKey(loop.Froms.Get(k), loop.Tos.Get(k)), static_cast<int32_t>(ids.size()));
        pairs[static_cast<size_t>(k)] = it->second;
      }
    }
    PairCount = static_cast<int32_t>(ids.size());
    // Loops of each pair in compressed rows, a loop listed once per pair.
    std::vector<int32_t> lastLoop(static_cast<size_t>(PairCount), -1);
    Start.assign(static_cast<size_t>(PairCount) + 1, 0);
    for (size_t i = 0; i < EdgePairs.size(); ++i)
      for (const int32_t id : EdgePairs[i])
        if (lastLoop[static_cast<size_t>(id)] != static_cast<int32_t>(i)) {
          lastLoop[static_cast<size_t>(id)] = static_cast<int32_t>(i);
          ++Start[static_cast<size_t>(id) + 1];
        }
    for (size_t p = 0; p < static_cast<size_t>(PairCount); ++p) Start[p + 1] += Start[p];
    Loops.resize(static_cast<size_t>(Start.back()));
    std::vector<int32_t> next(Start.begin(), Start.end() - 1);
    std::fill(lastLoop.begin(), lastLoop.end(), -1);
    for (size_t i = 0; i < EdgePairs.size(); ++i)
      for (const int32_t id : EdgePairs[i])
        if (lastLoop[static_cast<size_t>(id)] != static_cast<int32_t>(i)) {
          lastLoop[static_cast<size_t>(id)] = static_cast<int32_t>(i);
          Loops[static_cast<size_t>(next[static_cast<size_t>(id)]++)] = static_cast<int32_t>(i);
        }
  }

  // Position in Loops of the first loop holding pair id with an index above
  // after; PairEnd(id) when there is none.
  int32_t FirstAfter(int32_t id, int32_t after) const {
    const auto begin = Loops.begin() + Start[static_cast<size_t>(id)];
    const auto end = Loops.begin() + Start[static_cast<size_t>(id) + 1];
    return static_cast<int32_t>(std::upper_bound(begin, end, after) - Loops.begin());
  }
  int32_t PairEnd(int32_t id) const { return Start[static_cast<size_t>(id) + 1]; }
  int32_t LoopAtPosition(int32_t position) const { return Loops[static_cast<size_t>(position)]; }

  int32_t PairCount = 0;
  // The pair id of every edge of every loop as first indexed. A loop keeps
  // its edges until its own turn comes, so these stay true for later loops.
  std::vector<std::vector<int32_t>> EdgePairs;

 private:
  std::vector<int32_t> Start;
  std::vector<int32_t> Loops;
};

// Mean To position of the edges of loop whose pair is (or is not) in earlier,
// summed in edge order as LoopCentroid sums a filtered copy.
Vec3 PartCentroid(const TEdgeArray& loop, const std::vector<int32_t>& pairs, const std::vector<int32_t>& inEarlier,
                  bool shared, const TSurveyGraph& graph) {
  Vec3 sum = MakeVec3(0, 0, 0);
  int32_t count = 0;
  for (int32_t k = 0; k < loop.Count(); ++k) {
    if ((inEarlier[static_cast<size_t>(pairs[static_cast<size_t>(k)])] > 0) != shared) continue;
    sum = Add3(sum, graph.Positions.Get(loop.Tos.Get(k)));
    ++count;
  }
  if (count == 0) return sum;
  return Div3(sum, static_cast<double>(count));
}

}  // namespace

void OptimizeOverlap(TLoopList& loops, const TSurveyGraph& graph, bool optimize) {
  SortLoops(loops, graph);
  if (!optimize || loops.Count() < 2) return;
  const TPairIndex index(loops);
  const auto pairs = static_cast<size_t>(index.PairCount);
  // Edges of the current earlier loop per pair. Each pair present in it has
  // one live cursor in the heap: the next later loop holding the pair. A
  // pair's generation changes when it enters or leaves the earlier loop,
  // which retires its old cursor.
  std::vector<int32_t> inEarlier(pairs, 0);
  std::vector<uint32_t> generation(pairs, 0);
  std::vector<int32_t> inLater(pairs, -1);
  struct TCursor {
    int32_t Loop;
    int32_t Position;
    int32_t Pair;
    uint32_t Generation;
    bool operator>(const TCursor& other) const { return Loop > other.Loop; }
  };
  std::vector<TCursor> cursors;
  std::vector<int32_t> earlierPairs;
  std::vector<int32_t> keptPairs;
  std::vector<TEdgeRec> kept;

  const auto pushCursor = [&](int32_t id, int32_t position) {
    if (position >= index.PairEnd(id)) return;
    cursors.push_back({index.LoopAtPosition(position), position, id, generation[static_cast<size_t>(id)]});
    std::push_heap(cursors.begin(), cursors.end(), std::greater<>());
  };
  // A pair entering the earlier loop after loop `after` was passed.
  const auto enter = [&](int32_t id, int32_t after) {
    ++generation[static_cast<size_t>(id)];
    pushCursor(id, index.FirstAfter(id, after));
  };

  for (int32_t i = 0; i + 1 < loops.Count(); ++i) {
    TEdgeArray& earlier = loops.LoopAt(i);
    earlierPairs = index.EdgePairs[static_cast<size_t>(i)];
    cursors.clear();
    for (const int32_t id : earlierPairs)
      if (inEarlier[static_cast<size_t>(id)]++ == 0) enter(id, i);

    int32_t lastTested = i;
    while (!cursors.empty()) {
      std::pop_heap(cursors.begin(), cursors.end(), std::greater<>());
      const TCursor cursor = cursors.back();
      cursors.pop_back();
      if (cursor.Generation != generation[static_cast<size_t>(cursor.Pair)]) continue;
      pushCursor(cursor.Pair, cursor.Position + 1);
      const int32_t j = cursor.Loop;
      if (j == lastTested) continue;
      lastTested = j;

      const TEdgeArray& later = loops.LoopAt(j);
      const std::vector<int32_t>& laterPairs = index.EdgePairs[static_cast<size_t>(j)];
      int32_t shared = 0;
      for (const int32_t id : laterPairs) shared += inEarlier[static_cast<size_t>(id)] > 0 ? 1 : 0;
      const int32_t own = later.Count() - shared;
      bool merge = shared > own;
      if (shared == own) {
        const Vec3 earlierCentre = LoopCentroid(earlier, graph);
        const Vec3 ownCentre = PartCentroid(later, laterPairs, inEarlier, false, graph);
        const Vec3 sharedCentre = PartCentroid(later, laterPairs, inEarlier, true, graph);
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
      for (int32_t k = 0; k < later.Count(); ++k) {
        const int32_t id = laterPairs[static_cast<size_t>(k)];
        if (inEarlier[static_cast<size_t>(id)] > 0) continue;
        kept.push_back(later.GetEdge(k));
        keptPairs.push_back(id);
      }
      for (const int32_t id : earlierPairs)
        if (--inEarlier[static_cast<size_t>(id)] == 0) ++generation[static_cast<size_t>(id)];
      for (const int32_t id : keptPairs) {
        if (inEarlier[static_cast<size_t>(id)]++ > 0) continue;
        // Every pair of the new earlier loop resumes at the first loop after j.
        enter(id, j);
      }
      earlierPairs.swap(keptPairs);
      earlier.Clear();
      for (const TEdgeRec& e : kept) earlier.AddEdge(e);
    }
    for (const int32_t id : earlierPairs) --inEarlier[static_cast<size_t>(id)];
  }
}

void FindLoopsOverlap(TSurveyGraph& graph, TLoopList& loops, bool optimize) {
  TSurveyGraph tree;
  BreadthFirstTree(graph, tree, loops, true);
  BuildLoops(tree, loops);
  OptimizeOverlap(loops, graph, optimize);
}
