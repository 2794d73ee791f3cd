#include "loops/minimal_loops.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "loops/loop_order.h"
#include "loops/minimum_basis.h"
#include "loops/search_stop.h"
#include "loops/shot_runs.h"
#include "loops/spanning_forest.h"
#include "loops/sparse_gf2.h"

namespace {

// Breadth-first path searches over a chosen set of shots, reusing their
// bookkeeping: a station belongs to the current search when its stamp is the
// search's, so nothing is cleared between searches.
class TPathSearch {
 public:
  TPathSearch(const TSurveyGraph& graph, const TShotAdjacency& shots)
      : graph_(graph),
        shots_(shots),
        stamp_(static_cast<size_t>(graph.StationCount()), 0),
        depth_(static_cast<size_t>(graph.StationCount()), 0),
        viaShot_(static_cast<size_t>(graph.StationCount()), -1) {}

  // Appends to runs the shots of the shortest path from t back to s of at
  // most maxShots shots for which usable(shot) holds; each station's shots
  // are scanned in edge order, so ties go to the earliest shot. False, and nothing
  // appended, when there is none.
  template <class Usable>
  bool AppendPath(int32_t s, int32_t t, int32_t maxShots, Usable&& usable, TShotRuns& runs) {
    const uint32_t stamp = ++current_;
    stamp_[static_cast<size_t>(s)] = stamp;
    depth_[static_cast<size_t>(s)] = 0;
    queue_.clear();
    queue_.push_back(s);
    bool found = false;
    for (size_t head = 0; head < queue_.size() && !found; ++head) {
      const int32_t v = queue_[head];
      const int32_t depth = depth_[static_cast<size_t>(v)] + 1;
      if (depth > maxShots) break;
      // Stations reached at the last allowed depth are never searched from,
      // so only t is looked for among them.
      const bool last = depth == maxShots;
      for (const TShotAdjacency::TLink link : shots_.At(v)) {
        const int32_t w = link.Far;
        if ((last && w != t) || stamp_[static_cast<size_t>(w)] == stamp || !usable(link.Shot)) continue;
        stamp_[static_cast<size_t>(w)] = stamp;
        depth_[static_cast<size_t>(w)] = depth;
        viaShot_[static_cast<size_t>(w)] = link.Shot;
        queue_.push_back(w);
        if (w == t) {
          found = true;
          break;
        }
      }
    }
    if (!found) return false;
    for (int32_t x = t; x != s;) {
      const int32_t shot = viaShot_[static_cast<size_t>(x)];
      runs.Append(shot);
      const int32_t from = graph_.Edges.Froms.Get(shot);
      x = from == x ? graph_.Edges.Tos.Get(shot) : from;
    }
    return true;
  }

 private:
  const TSurveyGraph& graph_;
  const TShotAdjacency& shots_;
  std::vector<uint32_t> stamp_;
  std::vector<int32_t> depth_;
  std::vector<int32_t> viaShot_;
  std::vector<int32_t> queue_;
  uint32_t current_ = 0;
};

// Builds loops from shot runs: each walk is laid out in flat scratch columns,
// then copied once into a loop sized for it, and its sort keys are taken from
// the flat columns while they are at hand.
class TWalkBuilder {
 public:
  TWalkBuilder(const TSurveyGraph& graph, size_t loops) : graph_(graph) {
    counts_.reserve(loops);
    spreads_.reserve(loops);
  }

  // Appends run as a loop: its closing shot as the graph holds it, then each
  // path shot turned to run on from where the one before it ended; every
  // edge's Flag is its shot's index plus one.
  void Add(const int32_t* run, int32_t length, TLoopList& loops) {
    froms_.clear();
    tos_.clear();
    const TEdgeRec closing = graph_.Edges.GetEdge(run[0]);
    froms_.push_back(closing.From);
    tos_.push_back(closing.To);
    int32_t at = closing.To;
    for (int32_t k = 1; k < length; ++k) {
      const TEdgeRec shot = graph_.Edges.GetEdge(run[k]);
      const int32_t next = shot.From == at ? shot.To : shot.From;
      froms_.push_back(at);
      tos_.push_back(next);
      at = next;
    }
    TEdgeArray& loop = loops.AddLoop();
    loop.CommonStation = closing.From;
    loop.FirstPathCount = 1;
    if (length > loop.Froms.Capacity()) {
      loop.Froms.SetCapacity(length);
      loop.Tos.SetCapacity(length);
      loop.Flags.SetCapacity(length);
    }
    const auto bytes = static_cast<size_t>(length) * sizeof(int32_t);
    std::memcpy(loop.Froms.ItemPtr(0), froms_.data(), bytes);
    std::memcpy(loop.Tos.ItemPtr(0), tos_.data(), bytes);
    // Each edge names its shot, so loops through different shots between the
    // same two stations stay apart.
    for (int32_t k = 0; k < length; ++k) loop.Flags.Put(k, run[k] + 1);
    loop.Froms.SetCount(length);
    loop.Tos.SetCount(length);
    loop.Flags.SetCount(length);
    counts_.push_back(length);
    spreads_.push_back(SpreadOfTos(tos_.data(), length, graph_));
  }

  // Hands over the edge count and LoopSpread of each loop added, in the order added.
  std::vector<int32_t> TakeCounts() { return std::move(counts_); }
  std::vector<double> TakeSpreads() { return std::move(spreads_); }

 private:
  const TSurveyGraph& graph_;
  std::vector<int32_t> froms_;
  std::vector<int32_t> tos_;
  std::vector<int32_t> counts_;
  std::vector<double> spreads_;
};

// The independent loops, shortest first, among the restricted loops (a basis
// already) and the shorter loops found through the whole network.
std::vector<TShotRun> ShortestIndependent(const TSpanningForest& forest, const TShotRuns& restricted,
                                          const TShotRuns& shorter) {
  struct TEntry {
    int32_t Length;
    const TShotRuns* Runs;
    size_t Run;
  };
  std::vector<TEntry> entries;
  // Among equal lengths the restricted loops come first: they are a basis.
  for (size_t i = 0; i < restricted.Count(); ++i) entries.push_back({restricted.Length(i), &restricted, i});
  for (size_t i = 0; i < shorter.Count(); ++i) entries.push_back({shorter.Length(i), &shorter, i});
  std::stable_sort(entries.begin(), entries.end(),
                   [](const TEntry& a, const TEntry& b) { return a.Length < b.Length; });
  const auto rank = static_cast<int64_t>(forest.ClosingOrder().size());
  TSparseGf2Basis basis(static_cast<int32_t>(rank));
  std::vector<TShotRun> chosen;
  std::vector<int32_t> row;
  for (const TEntry& entry : entries) {
    if (basis.Rank() == rank) break;
    const int32_t* run = entry.Runs->Run(entry.Run);
    row.clear();
    for (int32_t k = 0; k < entry.Length; ++k)
      if (forest.ClosingRank(run[k]) >= 0) row.push_back(forest.ClosingRank(run[k]));
    std::sort(row.begin(), row.end());
    if (!basis.Insert(row)) continue;
    chosen.push_back({run, entry.Length});
  }
  return chosen;
}

// Each closing shot, deeper layers last, with the shortest path over the
// forest and the closing shots taken before it: a basis by construction.
TShotRuns RestrictedLoops(const TSurveyGraph& graph, const TSpanningForest& forest, TPathSearch& search) {
  std::vector<uint8_t> taken(static_cast<size_t>(graph.Edges.Count()), 0);
  for (int32_t e = 0; e < graph.Edges.Count(); ++e) taken[static_cast<size_t>(e)] = forest.ClosingRank(e) < 0 ? 1 : 0;
  const auto isTaken = [&taken](int32_t shot) { return taken[static_cast<size_t>(shot)] != 0; };
  TShotRuns restricted;
  // Most loops of a survey are short: four shots leaves room for a grid's squares.
  restricted.Reserve(forest.ClosingOrder().size(), 4 * forest.ClosingOrder().size());
  int64_t done = 0;
  const auto total = static_cast<int64_t>(forest.ClosingOrder().size());
  for (const int32_t e : forest.ClosingOrder()) {
    if ((done & 255) == 0) ReportSearchProgress(done, total);
    ++done;
    const TEdgeRec closing = graph.Edges.GetEdge(e);
    restricted.Append(e);
    if (closing.From != closing.To)
      search.AppendPath(closing.From, closing.To, graph.Edges.Count(), isTaken, restricted);
    restricted.Close();
    taken[static_cast<size_t>(e)] = 1;
  }
  return restricted;
}

// Where the whole network holds a loop through a shot shorter than the
// restricted loops there, it may replace a longer one: through each closing
// shot, a loop shorter than its own; through each forest shot, one shorter
// than the longest restricted loop of a closing shot at either end.
TShotRuns ShorterLoops(const TSurveyGraph& graph, const TSpanningForest& forest, const TShotRuns& restricted,
                       TPathSearch& search) {
  const std::vector<int32_t>& order = forest.ClosingOrder();
  std::vector<int32_t> longestAt(static_cast<size_t>(graph.StationCount()), 0);
  for (size_t i = 0; i < order.size(); ++i) {
    const TEdgeRec closing = graph.Edges.GetEdge(order[i]);
    for (const int32_t end : {closing.From, closing.To})
      longestAt[static_cast<size_t>(end)] = std::max(longestAt[static_cast<size_t>(end)], restricted.Length(i));
  }
  TShotRuns shorter;
  for (int32_t e = 0; e < graph.Edges.Count(); ++e) {
    if ((e & 255) == 0) ReportSearchProgress(e, graph.Edges.Count());
    const TEdgeRec shot = graph.Edges.GetEdge(e);
    const int32_t rank = forest.ClosingRank(e);
    const int32_t limit =
        rank >= 0 ? restricted.Length(static_cast<size_t>(rank))
                  : std::max(longestAt[static_cast<size_t>(shot.From)], longestAt[static_cast<size_t>(shot.To)]);
    if (shot.From == shot.To || limit <= 2) continue;
    shorter.Append(e);
    if (search.AppendPath(
            shot.From, shot.To, limit - 2, [e](int32_t other) { return other != e; }, shorter))
      shorter.Close();
    else
      shorter.Drop();
  }
  return shorter;
}

}  // namespace

const char* MinimalBasisName(TMinimalBasis basis) {
  return basis == TMinimalBasis::mbMinimum ? "minimum" : "near-minimum";
}

TMinimalBasis FindLoopsMinimal(const TSurveyGraph& graph, TLoopList& loops, TMinimalSearch search) {
  // Built aside and swapped in, so a failure leaves the caller's loops whole.
  TLoopList minimal;
  std::vector<int32_t> counts;
  std::vector<double> spreads;
  TMinimalBasis basis = TMinimalBasis::mbNearMinimum;
  {
    TShotRuns restricted;
    TShotRuns shorter;
    TShotRuns added;
    // The loops to build, unless they are the restricted loops in their order.
    std::vector<TShotRun> chosen;
    bool allRestricted = false;
    {
      // The search's own structures go before the loops are built, which is
      // when the most memory is in use.
      const TShotAdjacency shots(graph);
      const TSpanningForest forest(graph, shots);
      TPathSearch paths(graph, shots);
      restricted = RestrictedLoops(graph, forest, paths);
      shorter = ShorterLoops(graph, forest, restricted, paths);
      if (shorter.Count() > 0)
        chosen = ShortestIndependent(forest, restricted, shorter);
      else
        allRestricted = true;
      const auto rank = static_cast<int64_t>(forest.ClosingOrder().size());
      if (search == TMinimalSearch::msMinimum ||
          (search == TMinimalSearch::msAutomatic && rank <= kMinimumBasisLoopLimit)) {
        if (allRestricted) {
          for (size_t i = 0; i < restricted.Count(); ++i) chosen.push_back({restricted.Run(i), restricted.Length(i)});
          allRestricted = false;
        }
        MakeMinimumBasis(graph, shots, forest, chosen, added);
        basis = TMinimalBasis::mbMinimum;
      }
    }
    const size_t count = allRestricted ? restricted.Count() : chosen.size();
    minimal.SetCapacity(static_cast<int32_t>(count) + 1);
    TWalkBuilder walks(graph, count);
    if (allRestricted) {
      for (size_t i = 0; i < restricted.Count(); ++i) walks.Add(restricted.Run(i), restricted.Length(i), minimal);
    } else {
      for (const TShotRun& run : chosen) walks.Add(run.Shots, run.Length, minimal);
    }
    counts = walks.TakeCounts();
    spreads = walks.TakeSpreads();
  }
  // The shot runs are gone before the sort keys take their room.
  SortLoopsByKeys(minimal, counts, spreads);
  loops.Swap(minimal);
  return basis;
}
