#include "loops/depth_first_tree.h"

#include <unordered_set>
#include <vector>

#include "loops/station_pairs.h"

namespace {

// One station under visit: where it came from and how far its neighbour list
// has been scanned, as a recursive visit would hold them in its frame.
struct TVisitFrame {
  int32_t Parent;
  int32_t Station;
  int32_t NextNeighbor;
};

}  // namespace

void DepthFirstTree(TSurveyGraph& source, TSurveyGraph& tree, TLoopList& loops) {
  loops.Clear();
  CopyStations(source, tree);
  source.SetAllMarks(0);
  // The station pairs of the closing edges so far: one loop per pair.
  std::unordered_set<uint64_t> closingPairs;
  std::vector<TVisitFrame> stack;
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
      TVisitFrame& frame = stack.back();
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
