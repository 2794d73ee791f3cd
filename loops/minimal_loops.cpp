#include "loops/minimal_loops.h"

#include <vector>

#include "loops/loop_order.h"
#include "loops/spanning_forest.h"

namespace {

// The breadth-first path searches over the edges taken so far, reusing their
// bookkeeping: a station belongs to the current search when its stamp is the
// search's, so nothing is cleared between searches.
class TTakenEdgePaths {
 public:
  TTakenEdgePaths(const TSurveyGraph& graph, const TSpanningForest& forest)
      : graph_(graph),
        taken_(static_cast<size_t>(graph.Edges.Count()), 0),
        stamp_(static_cast<size_t>(graph.StationCount()), 0),
        predecessor_(static_cast<size_t>(graph.StationCount()), -1) {
    for (int32_t e = 0; e < graph.Edges.Count(); ++e)
      if (forest.ClosingRank(e) < 0) taken_[static_cast<size_t>(e)] = 1;
  }

  void Take(int32_t edge) { taken_[static_cast<size_t>(edge)] = 1; }

  // Appends to loop the path from t back to s over taken edges, each edge
  // From = the station nearer t. s and t must lie in one tree of the forest,
  // so the path exists.
  void AppendPath(int32_t s, int32_t t, TEdgeArray& loop) {
    const uint32_t stamp = ++current_;
    stamp_[static_cast<size_t>(s)] = stamp;
    predecessor_[static_cast<size_t>(s)] = -1;
    queue_.clear();
    queue_.push_back(s);
    bool found = false;
    for (size_t head = 0; head < queue_.size() && !found; ++head) {
      const int32_t v = queue_[head];
      const THugeInteger& neighbors = graph_.Neighbors.ListOf(v);
      const int32_t* far = neighbors.begin();
      const int32_t* incident = graph_.IncidentEdges.ListOf(v).begin();
      for (int32_t k = 0; k < neighbors.Count(); ++k) {
        const int32_t w = far[k];
        if (taken_[static_cast<size_t>(incident[k])] == 0 || stamp_[static_cast<size_t>(w)] == stamp) continue;
        stamp_[static_cast<size_t>(w)] = stamp;
        predecessor_[static_cast<size_t>(w)] = v;
        queue_.push_back(w);
        if (w == t) {
          found = true;
          break;
        }
      }
    }
    for (int32_t x = t; predecessor_[static_cast<size_t>(x)] != -1; x = predecessor_[static_cast<size_t>(x)])
      loop.AddEdge({x, predecessor_[static_cast<size_t>(x)], 0});
  }

 private:
  const TSurveyGraph& graph_;
  std::vector<uint8_t> taken_;
  std::vector<uint32_t> stamp_;
  std::vector<int32_t> predecessor_;
  std::vector<int32_t> queue_;
  uint32_t current_ = 0;
};

}  // namespace

void FindLoopsMinimal(const TSurveyGraph& graph, TLoopList& loops) {
  const TSpanningForest forest(graph);
  TTakenEdgePaths paths(graph, forest);
  // Built aside and swapped in, so a failure leaves the caller's loops whole.
  TLoopList minimal;
  minimal.SetCapacity(static_cast<int32_t>(forest.ClosingOrder().size()) + 1);
  for (const int32_t e : forest.ClosingOrder()) {
    const TEdgeRec closing = graph.Edges.GetEdge(e);
    TEdgeArray& loop = minimal.AddLoop();
    loop.AddEdge(closing);
    loop.CommonStation = closing.From;
    loop.FirstPathCount = 1;
    if (closing.From != closing.To) paths.AppendPath(closing.From, closing.To, loop);
    paths.Take(e);
  }
  SortLoops(minimal, graph);
  loops.Swap(minimal);
}
