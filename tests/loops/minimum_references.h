#pragma once
// Two ways to the total length of a minimum loop basis that share nothing
// with the minimal search: every simple cycle of a tiny network, and the
// loops of a shortest-path tree from every station on a small one.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/survey_graph.h"

// The basis a brute force finds: every simple cycle (by shot), shortest first,
// kept when independent of those kept before. By the matroid property the
// kept cycles are a minimum loop basis; returns their total length.
inline int64_t MinimumBasisLength(const TSurveyGraph& g) {
  const int32_t m = g.Edges.Count();
  std::vector<uint64_t> cycles;
  std::vector<uint8_t> onPath(static_cast<size_t>(g.StationCount()), 0);
  // Simple paths from v back to target over shots above lowest; each cycle is
  // found once, from its lowest shot.
  const auto extend = [&](auto&& self, int32_t v, int32_t target, int32_t lowest, uint64_t used) -> void {
    const THugeInteger& far = g.Neighbors.ListOf(v);
    const THugeInteger& incident = g.IncidentEdges.ListOf(v);
    for (int32_t k = 0; k < far.Count(); ++k) {
      const int32_t e = incident.Get(k);
      const int32_t w = far.Get(k);
      if (e <= lowest || (used >> e & 1U) != 0 || w == v) continue;
      if (w == target) {
        cycles.push_back(used | uint64_t{1} << e);
      } else if (onPath[static_cast<size_t>(w)] == 0) {
        onPath[static_cast<size_t>(w)] = 1;
        self(self, w, target, lowest, used | uint64_t{1} << e);
        onPath[static_cast<size_t>(w)] = 0;
      }
    }
  };
  for (int32_t e = 0; e < m; ++e) {
    const TEdgeRec shot = g.Edges.GetEdge(e);
    if (shot.From == shot.To) {
      cycles.push_back(uint64_t{1} << e);
      continue;
    }
    onPath[static_cast<size_t>(shot.To)] = 1;
    extend(extend, shot.To, shot.From, e, uint64_t{1} << e);
    onPath[static_cast<size_t>(shot.To)] = 0;
  }
  std::stable_sort(cycles.begin(), cycles.end(),
                   [](uint64_t a, uint64_t b) { return std::popcount(a) < std::popcount(b); });
  std::vector<uint64_t> rows;
  int64_t total = 0;
  for (uint64_t cycle : cycles) {
    uint64_t v = cycle;
    for (uint64_t row : rows)
      if ((v ^ row) < v) v ^= row;
    if (v == 0) continue;
    rows.push_back(v);
    std::sort(rows.begin(), rows.end(), std::greater<>());
    total += std::popcount(cycle);
  }
  return total;
}

// The minimum total by the classic construction, without any of the search's
// shortcuts: a breadth-first tree from every station, through every other
// shot the loop of that shot and the two tree paths to its ends (when they
// meet only at the root), all loops shortest first, kept while independent
// over the shots. A shot from a station to itself is a loop of its own.
inline int64_t ShortestPathMinimumLength(const TSurveyGraph& g) {
  const int32_t n = g.StationCount();
  const int32_t m = g.Edges.Count();
  std::vector<std::vector<std::pair<int32_t, int32_t>>> at(static_cast<size_t>(n));
  int64_t total = 0;
  int64_t rank = 0;
  for (int32_t e = 0; e < m; ++e) {
    const TEdgeRec shot = g.Edges.GetEdge(e);
    if (shot.From == shot.To) {
      ++total;
      ++rank;
      continue;
    }
    at[static_cast<size_t>(shot.From)].emplace_back(shot.To, e);
    at[static_cast<size_t>(shot.To)].emplace_back(shot.From, e);
  }
  // Trees: the shot each station is reached through from each root, and its depth.
  std::vector<std::vector<int32_t>> via(static_cast<size_t>(n), std::vector<int32_t>(static_cast<size_t>(n), -1));
  std::vector<std::vector<int32_t>> depth(static_cast<size_t>(n), std::vector<int32_t>(static_cast<size_t>(n), -1));
  int64_t pieces = 0;
  struct TCandidate {
    int32_t Length, Root, Shot;
  };
  std::vector<TCandidate> candidates;
  for (int32_t root = 0; root < n; ++root) {
    std::vector<int32_t>& d = depth[static_cast<size_t>(root)];
    std::vector<int32_t>& v = via[static_cast<size_t>(root)];
    std::vector<int32_t> queue = {root};
    d[static_cast<size_t>(root)] = 0;
    for (size_t head = 0; head < queue.size(); ++head)
      for (const auto& [far, e] : at[static_cast<size_t>(queue[head])])
        if (d[static_cast<size_t>(far)] < 0) {
          d[static_cast<size_t>(far)] = d[static_cast<size_t>(queue[head])] + 1;
          v[static_cast<size_t>(far)] = e;
          queue.push_back(far);
        }
    if (*std::min_element(queue.begin(), queue.end()) == root) ++pieces;
    for (int32_t e = 0; e < m; ++e) {
      const TEdgeRec shot = g.Edges.GetEdge(e);
      if (shot.From == shot.To || d[static_cast<size_t>(shot.From)] < 0) continue;
      if (v[static_cast<size_t>(shot.From)] == e || v[static_cast<size_t>(shot.To)] == e) continue;
      candidates.push_back({d[static_cast<size_t>(shot.From)] + d[static_cast<size_t>(shot.To)] + 1, root, e});
    }
  }
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const TCandidate& a, const TCandidate& b) { return a.Length < b.Length; });
  const int64_t cycleRank = static_cast<int64_t>(m) - n + pieces;
  const size_t words = (static_cast<size_t>(m) + 63) / 64;
  std::vector<std::vector<uint64_t>> rowAt(static_cast<size_t>(m));
  for (const TCandidate& c : candidates) {
    if (rank == cycleRank) break;
    std::vector<uint64_t> row(words, 0);
    const auto flip = [&row](int32_t e) { row[static_cast<size_t>(e) / 64] ^= uint64_t{1} << (e % 64); };
    flip(c.Shot);
    for (const int32_t end : {g.Edges.Froms.Get(c.Shot), g.Edges.Tos.Get(c.Shot)})
      for (int32_t s = end; s != c.Root;) {
        const int32_t e = via[static_cast<size_t>(c.Root)][static_cast<size_t>(s)];
        flip(e);
        s = g.Edges.Froms.Get(e) == s ? g.Edges.Tos.Get(e) : g.Edges.Froms.Get(e);
      }
    int32_t ones = 0;
    for (const uint64_t w : row) ones += std::popcount(w);
    // Tree paths that share their first shots make a shorter loop, offered elsewhere.
    if (ones != c.Length) continue;
    for (int32_t top = m - 1; top >= 0; --top) {
      if ((row[static_cast<size_t>(top) / 64] >> (top % 64) & 1U) == 0) continue;
      std::vector<uint64_t>& kept = rowAt[static_cast<size_t>(top)];
      if (kept.empty()) {
        kept = row;
        total += c.Length;
        ++rank;
        break;
      }
      for (size_t w = 0; w < words; ++w) row[w] ^= kept[w];
    }
  }
  return total;
}
