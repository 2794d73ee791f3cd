#pragma once
// TDrawingIndex: the spatial indexes a repaint of part of the drawing area
// looks things up in, built on first use and kept until something drawn may
// have changed. It holds the indexes of the last two graphs drawn (the graph
// view and the loop view may draw different graphs) and the reach of the
// loops of the last loop list drawn.

#include <cstdint>
#include <memory>
#include <vector>

#include "core/owned_lists.h"
#include "core/survey_graph.h"
#include "render/canvas.h"
#include "render/display_settings.h"
#include "render/spatial_index.h"

class TDrawingIndex {
 public:
  // Drops everything built. Whoever changes a graph, a loop list or what the
  // index was built from calls it; the next repaint builds anew.
  void Invalidate();

  // The index of `graph`'s edges for these settings, built with `canvas`
  // (which measures the labels) when there is none yet. A graph whose station
  // or edge count changed since is indexed anew as well.
  const TEdgeSpatialIndex& ForGraph(const TSurveyGraph& graph, const TDisplaySettings& settings, TCanvas& canvas);
  // The reach of every loop of `loops` drawn over `graph`.
  const std::vector<TRect>& LoopReachOf(const TSurveyGraph& graph, const TLoopList& loops,
                                        const TDisplaySettings& settings, TCanvas& canvas);

  // How many graph indexes and loop reach lists were built so far.
  int64_t Builds() const { return builds_; }

 private:
  struct TGraphKey {
    const TSurveyGraph* Graph = nullptr;
    int32_t Stations = -1, Names = -1, Edges = -1;
    TFontSpec Font;
    int32_t LabelMode = 0, LineWidth = 0;
    friend bool operator==(const TGraphKey&, const TGraphKey&) = default;
  };
  struct TGraphEntry {
    TGraphKey Key;
    std::unique_ptr<TEdgeSpatialIndex> Index;
  };
  struct TLoopKey {
    const TLoopList* Loops = nullptr;
    int32_t Count = -1;
    const TEdgeSpatialIndex* Stations = nullptr;
    friend bool operator==(const TLoopKey&, const TLoopKey&) = default;
  };

  static TGraphKey KeyOf(const TSurveyGraph& graph, const TDisplaySettings& settings);

  TGraphEntry graphs_[2];  // graphs_[0] is the one used last
  TLoopKey loopKey_;
  std::vector<TRect> loopReach_;
  int64_t builds_ = 0;
};
