#include "analysis/loop_walk.h"

#include <algorithm>

#include "loops/station_pairs.h"

TLoopWalker::TLoopWalker(const TSurveyGraph& graph) : graph_(graph), shotsAt_(graph) {}

bool TLoopWalker::Walk(const TEdgeArray& loop, TLoopWalk& walk) {
  walk.Shots.clear();
  walk.Signs.clear();
  walk.Nodes.clear();
  if (loop.Count() == 0) return false;
  if (!ShotsFromFlags(loop) && !ShotsFromPairs(loop)) return false;
  return Circuit(walk);
}

bool TLoopWalker::ShotsFromFlags(const TEdgeArray& loop) {
  const int32_t shots = graph_.Edges.Count();
  shot_.clear();
  from_.clear();
  to_.clear();
  for (int32_t i = 0; i < loop.Count(); ++i) {
    const int32_t flag = loop.Flags.Get(i);
    if (flag <= 0 || flag > shots) return false;
    if (!SameEdge(graph_.Edges.GetEdge(flag - 1), loop.GetEdge(i))) return false;
    shot_.push_back(flag - 1);
    from_.push_back(loop.Froms.Get(i));
    to_.push_back(loop.Tos.Get(i));
  }
  order_.assign(shot_.begin(), shot_.end());
  std::sort(order_.begin(), order_.end());
  return std::adjacent_find(order_.begin(), order_.end()) == order_.end();
}

bool TLoopWalker::ShotsFromPairs(const TEdgeArray& loop) {
  const int32_t stations = graph_.StationCount();
  shot_.assign(static_cast<size_t>(loop.Count()), -1);
  from_.clear();
  to_.clear();
  keys_.clear();
  for (int32_t i = 0; i < loop.Count(); ++i) {
    const int32_t a = loop.Froms.Get(i);
    const int32_t b = loop.Tos.Get(i);
    if (a < 0 || b < 0 || a >= stations || b >= stations) return false;
    from_.push_back(a);
    to_.push_back(b);
    keys_.push_back(StationPairKey(a, b));
  }
  // Edges sorted by pair, then by position: the k-th edge of a pair takes
  // the pair's k-th shot.
  order_.resize(keys_.size());
  for (size_t i = 0; i < order_.size(); ++i) order_[i] = static_cast<int32_t>(i);
  std::sort(order_.begin(), order_.end(), [this](int32_t x, int32_t y) {
    const uint64_t kx = keys_[static_cast<size_t>(x)], ky = keys_[static_cast<size_t>(y)];
    return kx != ky ? kx < ky : x < y;
  });
  for (size_t i = 0; i < order_.size();) {
    size_t j = i;
    const uint64_t key = keys_[static_cast<size_t>(order_[i])];
    while (j < order_.size() && keys_[static_cast<size_t>(order_[j])] == key) ++j;
    const auto a = static_cast<int32_t>(key >> 32);
    const auto b = static_cast<int32_t>(key & 0xffffffffU);
    const bool fromA = shotsAt_.At(a).size() <= shotsAt_.At(b).size();
    const int32_t far = fromA ? b : a;
    size_t taken = i;
    for (const TShotAdjacency::TLink link : shotsAt_.At(fromA ? a : b)) {
      if (taken == j) break;
      if (link.Far == far) shot_[static_cast<size_t>(order_[taken++])] = link.Shot;
    }
    if (taken != j) return false;
    i = j;
  }
  return true;
}

int32_t TLoopWalker::Local(int32_t node) const {
  return static_cast<int32_t>(std::lower_bound(stations_.begin(), stations_.end(), node) - stations_.begin());
}

bool TLoopWalker::Circuit(TLoopWalk& walk) {
  const size_t edges = shot_.size();
  stations_.assign(from_.begin(), from_.end());
  stations_.insert(stations_.end(), to_.begin(), to_.end());
  std::sort(stations_.begin(), stations_.end());
  stations_.erase(std::unique(stations_.begin(), stations_.end()), stations_.end());
  const size_t n = stations_.size();

  // Walked as written when every station is left as often as it is entered.
  degree_.assign(n, 0);
  for (size_t i = 0; i < edges; ++i) {
    ++degree_[static_cast<size_t>(Local(from_[i]))];
    --degree_[static_cast<size_t>(Local(to_[i]))];
  }
  const bool directed = std::all_of(degree_.begin(), degree_.end(), [](int32_t d) { return d == 0; });
  if (!directed) {
    degree_.assign(n, 0);
    for (size_t i = 0; i < edges; ++i) {
      ++degree_[static_cast<size_t>(Local(from_[i]))];
      ++degree_[static_cast<size_t>(Local(to_[i]))];
    }
    if (std::any_of(degree_.begin(), degree_.end(), [](int32_t d) { return d % 2 != 0; })) return false;
  }

  // Links by station, in edge order: link 2i leaves edge i's From, 2i+1 its To.
  start_.assign(n + 1, 0);
  for (size_t i = 0; i < edges; ++i) {
    ++start_[static_cast<size_t>(Local(from_[i])) + 1];
    if (!directed) ++start_[static_cast<size_t>(Local(to_[i])) + 1];
  }
  for (size_t s = 0; s < n; ++s) start_[s + 1] += start_[s];
  links_.resize(static_cast<size_t>(start_[n]));
  next_.assign(start_.begin(), start_.end() - 1);
  for (size_t i = 0; i < edges; ++i) {
    links_[static_cast<size_t>(next_[static_cast<size_t>(Local(from_[i]))]++)] = static_cast<int32_t>(2 * i);
    if (!directed)
      links_[static_cast<size_t>(next_[static_cast<size_t>(Local(to_[i]))]++)] = static_cast<int32_t>(2 * i + 1);
  }
  next_.assign(start_.begin(), start_.end() - 1);
  used_.assign(edges, 0);

  // Hierholzer's walk; a stack entry is a station and the link that reached it.
  order_.clear();
  stack_.clear();
  stack_.push_back(static_cast<int64_t>(Local(from_[0])) << 32 | 0xffffffffU);
  while (!stack_.empty()) {
    const auto station = static_cast<size_t>(stack_.back() >> 32);
    int32_t& cursor = next_[station];
    while (cursor < start_[station + 1] && used_[static_cast<size_t>(links_[static_cast<size_t>(cursor)] / 2)])
      ++cursor;
    if (cursor == start_[station + 1]) {
      const auto link = static_cast<uint32_t>(stack_.back() & 0xffffffffU);
      if (link != 0xffffffffU) order_.push_back(static_cast<int32_t>(link));
      stack_.pop_back();
      continue;
    }
    const int32_t link = links_[static_cast<size_t>(cursor)];
    const auto edge = static_cast<size_t>(link / 2);
    used_[edge] = 1;
    const int32_t far = (link % 2 == 0) ? to_[edge] : from_[edge];
    stack_.push_back(static_cast<int64_t>(Local(far)) << 32 | static_cast<uint32_t>(link));
  }
  if (order_.size() != edges) return false;  // the shots do not hang together

  for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
    const auto edge = static_cast<size_t>(*it / 2);
    const int32_t start = (*it % 2 == 0) ? from_[edge] : to_[edge];
    const int32_t shot = shot_[edge];
    walk.Shots.push_back(shot);
    walk.Signs.push_back(graph_.Edges.Froms.Get(shot) == start ? 1 : -1);
    walk.Nodes.push_back(start);
  }
  return true;
}
