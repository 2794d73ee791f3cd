#include "render/drawing_index.h"

#include <utility>

void TDrawingIndex::Invalidate() {
  for (TGraphEntry& entry : graphs_) entry = {};
  loopKey_ = {};
  loopReach_ = {};
}

TDrawingIndex::TGraphKey TDrawingIndex::KeyOf(const TSurveyGraph& graph, const TDisplaySettings& settings) {
  // Colours and arrows do not move anything; the font, the label texts and
  // the pen width change how far a station's drawing reaches.
  return {&graph,
          graph.StationCount(),
          graph.Names.NameList.Count(),
          graph.Edges.Count(),
          settings.LabelFont,
          settings.LabelMode,
          settings.LineWidth};
}

const TEdgeSpatialIndex& TDrawingIndex::ForGraph(const TSurveyGraph& graph, const TDisplaySettings& settings,
                                                 TCanvas& canvas) {
  const TGraphKey key = KeyOf(graph, settings);
  if (graphs_[0].Index && graphs_[0].Key == key) return *graphs_[0].Index;
  std::swap(graphs_[0], graphs_[1]);
  if (graphs_[0].Index && graphs_[0].Key == key) return *graphs_[0].Index;
  // The entry replaced may be the one a loop reach list was built over.
  if (loopKey_.Stations == graphs_[0].Index.get()) {
    loopKey_ = {};
    loopReach_ = {};
  }
  graphs_[0] = {};
  graphs_[0].Index = std::make_unique<TEdgeSpatialIndex>(graph, StationReach(graph, settings, canvas));
  graphs_[0].Key = key;
  ++builds_;
  return *graphs_[0].Index;
}

const std::vector<TRect>& TDrawingIndex::LoopReachOf(const TSurveyGraph& graph, const TLoopList& loops,
                                                     const TDisplaySettings& settings, TCanvas& canvas) {
  const TEdgeSpatialIndex& stations = ForGraph(graph, settings, canvas);
  const TLoopKey key{&loops, loops.Count(), &stations};
  if (loopKey_ == key) return loopReach_;
  loopReach_ = LoopReach(loops, stations.StationReachBoxes());
  loopKey_ = key;
  ++builds_;
  return loopReach_;
}
