#include "loops/minimum_basis.h"

#include <algorithm>
#include <limits>
#include <tuple>

#include "loops/packed_gf2.h"
#include "loops/search_stop.h"

// Why the loops offered are enough. Every loop of a minimum basis is
// isometric (no two of its stations are closer in the network than along
// it), and such a loop L through a station v is the sum of the loops made of
// a shot opposite v and the two shortest paths from v to its ends (one, or
// two for an even loop), and of loops shorter than L. So, length by length,
// those loops from a station on every loop span all loops of that length, and
// taking them shortest first while independent gives a minimum basis. The
// stations need only meet every loop: a feedback set. Each loop needs to be
// offered from one of its stations only, the one ranked first among the
// feedback stations on it: from a root, paths through stations ranked before
// it are never offered, so its search does not pass them. Loops as long as
// the longest of the given basis are never needed: the basis loops of that
// length complete the rank. Nor are loops as long as the longest basis loop
// left when the loops that can never give way are set aside (see
// LongestReplaceable).

namespace {

constexpr int32_t kNotInSet = std::numeric_limits<int32_t>::max();

// A fixed scramble of station numbers, so that the feedback stations ranked
// before a root lie all around it.
uint32_t Scramble(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

// Marks the stations that lie on some loop (shots from a station to itself
// aside): what is left after stations with at most one shot are taken away,
// again and again. Shortest paths between such stations never leave them.
std::vector<uint8_t> LoopStations(const TSurveyGraph& graph, const TShotAdjacency& shots) {
  const auto stations = static_cast<size_t>(graph.StationCount());
  std::vector<int32_t> degree(stations, 0);
  std::vector<int32_t> bare;
  for (size_t v = 0; v < stations; ++v) {
    for (const TShotAdjacency::TLink link : shots.At(static_cast<int32_t>(v)))
      if (link.Far != static_cast<int32_t>(v)) ++degree[v];
    if (degree[v] <= 1) bare.push_back(static_cast<int32_t>(v));
  }
  std::vector<uint8_t> onLoop(stations, 1);
  while (!bare.empty()) {
    const int32_t v = bare.back();
    bare.pop_back();
    if (onLoop[static_cast<size_t>(v)] == 0) continue;
    onLoop[static_cast<size_t>(v)] = 0;
    for (const TShotAdjacency::TLink link : shots.At(v)) {
      const auto far = static_cast<size_t>(link.Far);
      if (link.Far != v && onLoop[far] != 0 && --degree[far] == 1) bare.push_back(link.Far);
    }
  }
  return onLoop;
}

// Stations without which no loop is left (shots from a station to itself
// aside), in their rank order. Stations with the fewest shots are offered
// first to a growing forest and join it unless their shots reach one of its
// trees twice; those that cannot join form the set.
std::vector<int32_t> FeedbackStations(const TSurveyGraph& graph, const TShotAdjacency& shots) {
  const auto stations = static_cast<size_t>(graph.StationCount());
  std::vector<int32_t> degree(stations, 0);
  int32_t maxDegree = 0;
  for (size_t v = 0; v < stations; ++v) {
    for (const TShotAdjacency::TLink link : shots.At(static_cast<int32_t>(v)))
      if (link.Far != static_cast<int32_t>(v)) ++degree[v];
    maxDegree = std::max(maxDegree, degree[v]);
  }
  std::vector<size_t> start(static_cast<size_t>(maxDegree) + 2, 0);
  for (size_t v = 0; v < stations; ++v) ++start[static_cast<size_t>(degree[v]) + 1];
  for (size_t d = 1; d < start.size(); ++d) start[d] += start[d - 1];
  std::vector<int32_t> order(stations);
  for (size_t v = 0; v < stations; ++v) order[start[static_cast<size_t>(degree[v])]++] = static_cast<int32_t>(v);

  // Union-find over the forest's stations; -1 for a station outside it.
  std::vector<int32_t> up(stations, -1);
  const auto find = [&up](int32_t x) {
    while (up[static_cast<size_t>(x)] != x) {
      up[static_cast<size_t>(x)] = up[static_cast<size_t>(up[static_cast<size_t>(x)])];
      x = up[static_cast<size_t>(x)];
    }
    return x;
  };
  std::vector<int32_t> metBy(stations, -1);
  std::vector<int32_t> feedback;
  uint32_t steps = 0;
  for (const int32_t v : order) {
    if ((++steps & 1023) == 0) CheckSearchStop();
    bool closes = false;
    for (const TShotAdjacency::TLink link : shots.At(v)) {
      if (link.Far == v || up[static_cast<size_t>(link.Far)] < 0) continue;
      const int32_t tree = find(link.Far);
      if (metBy[static_cast<size_t>(tree)] == v) {
        closes = true;
        break;
      }
      metBy[static_cast<size_t>(tree)] = v;
    }
    if (closes) {
      feedback.push_back(v);
      continue;
    }
    up[static_cast<size_t>(v)] = v;
    for (const TShotAdjacency::TLink link : shots.At(v))
      if (link.Far != v && up[static_cast<size_t>(link.Far)] >= 0) up[static_cast<size_t>(find(link.Far))] = v;
  }
  std::sort(feedback.begin(), feedback.end(), [](int32_t a, int32_t b) {
    return std::pair{Scramble(static_cast<uint32_t>(a)), a} < std::pair{Scramble(static_cast<uint32_t>(b)), b};
  });
  return feedback;
}

// Breadth-first searches for a short odd loop: a closed walk through a
// station along which an odd number of shots have a chosen bit of their
// signature set. Stations with the walk's parity so far belong to the current
// search when their stamp is its own.
class TOddLoopSearch {
 public:
  TOddLoopSearch(const TSurveyGraph& graph, const TShotAdjacency& shots, const std::vector<uint64_t>& signatures)
      : shots_(shots),
        signatures_(signatures),
        stamp_(2 * static_cast<size_t>(graph.StationCount()), 0),
        depth_(2 * static_cast<size_t>(graph.StationCount()), 0) {}

  // True when a closed walk of fewer than length shots through station is odd in bit.
  bool Shorter(int32_t station, int bit, int32_t length) {
    const uint32_t stamp = ++current_;
    const size_t start = 2 * static_cast<size_t>(station);
    queue_.clear();
    queue_.push_back(start);
    stamp_[start] = stamp;
    depth_[start] = 0;
    for (size_t head = 0; head < queue_.size(); ++head) {
      const size_t at = queue_[head];
      const int32_t depth = depth_[at] + 1;
      if (depth >= length) return false;
      for (const TShotAdjacency::TLink link : shots_.At(static_cast<int32_t>(at / 2))) {
        const size_t next =
            2 * static_cast<size_t>(link.Far) + ((at % 2) ^ (signatures_[static_cast<size_t>(link.Shot)] >> bit & 1U));
        if (next == start + 1) return true;
        if (stamp_[next] == stamp) continue;
        stamp_[next] = stamp;
        depth_[next] = depth;
        queue_.push_back(next);
      }
    }
    return false;
  }

 private:
  const TShotAdjacency& shots_;
  const std::vector<uint64_t>& signatures_;
  std::vector<uint32_t> stamp_;
  std::vector<int32_t> depth_;
  std::vector<size_t> queue_;
  uint32_t current_ = 0;
};

// Breadth-first searches from the feedback stations, each offering the loops
// made of a shot and the tree paths to its two ends. Stations belong to the
// current search when their stamp is its own, so nothing is cleared between
// searches; a station's record is read whole for each shot that reaches it.
class TLoopOffers {
 public:
  TLoopOffers(const TSurveyGraph& graph, const TShotAdjacency& shots, const std::vector<int32_t>& rankOf)
      : graph_(graph), shots_(shots), at_(static_cast<size_t>(graph.StationCount())) {
    for (size_t s = 0; s < at_.size(); ++s) at_[s].Rank = rankOf[s];
  }

  // Appends to runs the loops of at most maxLength shots from root: a shot
  // between two stations the search reached, not a tree shot, whose ends lie
  // at most one layer apart and whose tree paths meet only at root. The
  // search reaches no station ranked before root and goes maxLength / 2
  // layers deep; stations are scanned in the order reached, each one's shots
  // in edge order, and a shot is offered from its end reached later.
  void FromRoot(int32_t root, int32_t maxLength, TShotRuns& runs) {
    const uint32_t stamp = ++current_;
    const int32_t maxDepth = maxLength / 2;
    const int32_t rootRank = at_[static_cast<size_t>(root)].Rank;
    queue_.clear();
    Reach(root, 0, -1, -1, stamp);
    for (size_t head = 0; head < queue_.size(); ++head) {
      const int32_t x = queue_[head];
      const TStation here = at_[static_cast<size_t>(x)];
      const bool deeper = here.Depth < maxDepth;
      for (const TShotAdjacency::TLink link : shots_.At(x)) {
        const int32_t y = link.Far;
        if (y == x) continue;
        const TStation& there = at_[static_cast<size_t>(y)];
        if (there.Stamp != stamp) {
          if (deeper && there.Rank > rootRank) Reach(y, here.Depth + 1, link.Shot, x == root ? y : here.Branch, stamp);
          continue;
        }
        if (there.Seen >= here.Seen || link.Shot == here.ViaShot || link.Shot == there.ViaShot) continue;
        if (here.Depth - there.Depth > 1 || here.Depth + there.Depth + 1 > maxLength) continue;
        if (here.Branch == there.Branch) continue;
        Offer(link.Shot, root, runs);
      }
    }
  }

 private:
  struct TStation {
    uint32_t Stamp = 0;
    int32_t Depth = 0;
    int32_t ViaShot = -1;
    int32_t Branch = -1;  // the root's neighbour the tree path leaves through; -1 at the root
    int32_t Seen = 0;     // position in the search's order
    int32_t Rank = 0;     // rank among the feedback stations, kNotInSet outside them
  };

  void Reach(int32_t station, int32_t depth, int32_t viaShot, int32_t branch, uint32_t stamp) {
    TStation& s = at_[static_cast<size_t>(station)];
    s.Stamp = stamp;
    s.Depth = depth;
    s.ViaShot = viaShot;
    s.Branch = branch;
    s.Seen = static_cast<int32_t>(queue_.size());
    queue_.push_back(station);
  }

  // The station one step nearer the root.
  int32_t Up(int32_t station) const {
    const int32_t shot = at_[static_cast<size_t>(station)].ViaShot;
    const int32_t from = graph_.Edges.Froms.Get(shot);
    return from == station ? graph_.Edges.Tos.Get(shot) : from;
  }

  // The loop of shot and the tree paths to its ends: the shot as the graph
  // holds it, up from its To to the root, then down to its From.
  void Offer(int32_t shot, int32_t root, TShotRuns& runs) {
    const TEdgeRec edge = graph_.Edges.GetEdge(shot);
    runs.Append(shot);
    for (int32_t s = edge.To; s != root; s = Up(s)) runs.Append(at_[static_cast<size_t>(s)].ViaShot);
    down_.clear();
    for (int32_t s = edge.From; s != root; s = Up(s)) down_.push_back(at_[static_cast<size_t>(s)].ViaShot);
    for (auto it = down_.rbegin(); it != down_.rend(); ++it) runs.Append(*it);
    runs.Close();
  }

  const TSurveyGraph& graph_;
  const TShotAdjacency& shots_;
  std::vector<TStation> at_;
  std::vector<int32_t> queue_;
  std::vector<int32_t> down_;
  uint32_t current_ = 0;
};

// The length of the longest loop of basis that a shorter loop might replace,
// or 0. The longest loops are looked at from the longest down, 64 at a time:
// signatures made from the basis tell, for any loop, which of them take part
// in the sum of basis loops it is. A loop is replaced only by a shorter loop
// it takes part in, an odd loop in its bit, and every such loop runs through
// a shot with that bit set; when none is shorter, it stays. The odd-loop
// searches stop after a quarter as many as the searches they may save.
int32_t LongestReplaceable(const TSurveyGraph& graph, const TShotAdjacency& shots, const TSpanningForest& forest,
                           const std::vector<TShotRun>& basis, size_t searchesSaved) {
  std::vector<size_t> longestFirst(basis.size());
  for (size_t i = 0; i < basis.size(); ++i) longestFirst[i] = i;
  std::stable_sort(longestFirst.begin(), longestFirst.end(),
                   [&basis](size_t a, size_t b) { return basis[a].Length > basis[b].Length; });
  if (longestFirst.empty() || basis[longestFirst[0]].Length <= 2) return 0;
  const auto rank = static_cast<int32_t>(forest.ClosingOrder().size());
  size_t budget = searchesSaved / 4 + 16;
  std::vector<int32_t> row;
  for (size_t first = 0; first < longestFirst.size(); first += 64) {
    const size_t count = std::min<size_t>(64, longestFirst.size() - first);
    std::vector<uint64_t> tags(basis.size(), 0);
    for (size_t j = 0; j < count; ++j) tags[longestFirst[first + j]] = uint64_t{1} << j;
    TPackedGf2Basis rows(rank);
    for (size_t i = 0; i < basis.size(); ++i) {
      if ((i & 255) == 0) CheckSearchStop();
      row.clear();
      for (int32_t k = 0; k < basis[i].Length; ++k)
        if (forest.ClosingRank(basis[i].Shots[k]) >= 0) row.push_back(forest.ClosingRank(basis[i].Shots[k]));
      rows.Insert(row, tags[i]);
    }
    if (rows.Rank() != rank) return basis[longestFirst[0]].Length;
    const std::vector<uint64_t> columnTags = rows.ColumnTags();
    std::vector<uint64_t> signatures(static_cast<size_t>(graph.Edges.Count()), 0);
    for (int32_t e = 0; e < graph.Edges.Count(); ++e)
      if (forest.ClosingRank(e) >= 0)
        signatures[static_cast<size_t>(e)] = columnTags[static_cast<size_t>(forest.ClosingRank(e))];
    TOddLoopSearch odd(graph, shots, signatures);
    for (size_t j = 0; j < count; ++j) {
      const int32_t length = basis[longestFirst[first + j]].Length;
      if (length <= 2) return length;
      for (int32_t e = 0; e < graph.Edges.Count(); ++e) {
        if ((signatures[static_cast<size_t>(e)] >> j & 1U) == 0) continue;
        if (budget == 0) return length;
        --budget;
        if (odd.Shorter(graph.Edges.Froms.Get(e), static_cast<int>(j), length)) return length;
      }
    }
  }
  return 0;
}

}  // namespace

void MakeMinimumBasis(const TSurveyGraph& graph, const TShotAdjacency& shots, const TSpanningForest& forest,
                      std::vector<TShotRun>& basis, TShotRuns& added) {
  const std::vector<int32_t> feedback = FeedbackStations(graph, shots);
  // Loops of one or two shots cannot be shortened.
  const int32_t maxLength = LongestReplaceable(graph, shots, forest, basis, feedback.size()) - 1;
  if (maxLength < 2) return;

  // Stations on no loop are never reached: ranked before every root.
  const std::vector<uint8_t> onLoop = LoopStations(graph, shots);
  std::vector<int32_t> rankOf(static_cast<size_t>(graph.StationCount()), kNotInSet);
  for (size_t v = 0; v < rankOf.size(); ++v)
    if (onLoop[v] == 0) rankOf[v] = -1;
  for (size_t i = 0; i < feedback.size(); ++i) rankOf[static_cast<size_t>(feedback[i])] = static_cast<int32_t>(i);
  TShotRuns offered;
  {
    TLoopOffers offers(graph, shots, rankOf);
    for (const int32_t root : feedback) {
      CheckSearchStop();
      offers.FromRoot(root, maxLength, offered);
    }
  }
  if (offered.Count() == 0) return;

  struct TEntry {
    int32_t Length;
    int32_t Offered;  // 0 for a loop of basis, 1 for an offered loop
    size_t Index;
  };
  std::vector<TEntry> entries;
  entries.reserve(basis.size() + offered.Count());
  for (size_t i = 0; i < basis.size(); ++i) entries.push_back({basis[i].Length, 0, i});
  for (size_t i = 0; i < offered.Count(); ++i) entries.push_back({offered.Length(i), 1, i});
  std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) {
    return std::tie(a.Length, a.Offered, a.Index) < std::tie(b.Length, b.Offered, b.Index);
  });

  const auto rank = static_cast<int64_t>(forest.ClosingOrder().size());
  TPackedGf2Basis independent(static_cast<int32_t>(rank));
  std::vector<uint8_t> keptBasis(basis.size(), 0);
  std::vector<size_t> keptOffered;
  std::vector<int32_t> row;
  uint32_t steps = 0;
  for (const TEntry& entry : entries) {
    if (independent.Rank() == rank) break;
    if ((++steps & 255) == 0) CheckSearchStop();
    const int32_t* run = entry.Offered == 0 ? basis[entry.Index].Shots : offered.Run(entry.Index);
    row.clear();
    for (int32_t k = 0; k < entry.Length; ++k)
      if (forest.ClosingRank(run[k]) >= 0) row.push_back(forest.ClosingRank(run[k]));
    if (!independent.Insert(row)) continue;
    if (entry.Offered == 0)
      keptBasis[entry.Index] = 1;
    else
      keptOffered.push_back(entry.Index);
  }
  // The given loops span every loop, so the rank is always reached; were it
  // not, the given basis is the better answer.
  if (keptOffered.empty() || independent.Rank() != rank) return;

  added = std::move(offered);
  std::vector<TShotRun> minimum;
  minimum.reserve(basis.size());
  for (size_t i = 0; i < basis.size(); ++i)
    if (keptBasis[i] != 0) minimum.push_back(basis[i]);
  for (const size_t i : keptOffered) minimum.push_back({added.Run(i), added.Length(i)});
  basis.swap(minimum);
}
