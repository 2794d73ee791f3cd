#pragma once
// Finding what can show in a part of the drawing without visiting the whole
// network: the reach of each station (its label box and everything its edge
// lines and arrow heads can cover near it), and a uniform grid of buckets
// over the edges bounded by the reach of their two stations. A repaint draws
// only the edges the index names, in index order, and gets the same pixels.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/owned_lists.h"
#include "core/survey_graph.h"
#include "render/canvas.h"
#include "render/display_settings.h"

// True when the two rectangles share a pixel (Right and Bottom are outside).
inline bool RectsMeet(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

// A rectangle that meets nothing, the start of a union.
inline constexpr TRect kNoRect{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
// A rectangle that meets every rectangle.
inline constexpr TRect kEveryRect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};

TRect UnitedRects(const TRect& a, const TRect& b);

// For every station of `graph`, a rectangle holding all that drawing its
// label, or the line and arrow head of any edge at it, can paint with these
// settings; labels are measured with `canvas` in the label font (left set
// on it). A station placed too far out for exact bounds reaches everywhere;
// one without a name (never drawn) reaches nothing.
std::vector<TRect> StationReach(const TSurveyGraph& graph, const TDisplaySettings& settings, TCanvas& canvas);

// The buckets over the edges of one graph, built once and asked per repaint.
// The graph must not change while the index is used.
class TEdgeSpatialIndex {
 public:
  TEdgeSpatialIndex(const TSurveyGraph& graph, std::vector<TRect> stationReach);

  // The edges of the graph whose two stations' reach meets `rect`, ascending:
  // every edge whose drawing can touch `rect` is among them.
  std::vector<int32_t> EdgesMeeting(const TRect& rect) const;
  // The rectangle that edge `edge` can paint in; kNoRect for an edge with an
  // end outside the graph (the renderer skips it).
  TRect EdgeReach(int32_t edge) const;
  const std::vector<TRect>& StationReachBoxes() const { return reach_; }
  // Side of a bucket in drawing units, and the bytes the index holds.
  int32_t BucketSide() const { return side_; }
  size_t MemoryBytes() const;

 private:
  int32_t BucketColumn(int64_t x) const;
  int32_t BucketRow(int64_t y) const;

  const TSurveyGraph& graph_;
  std::vector<TRect> reach_;
  int64_t originX_ = 0, originY_ = 0;
  int32_t side_ = 1, columns_ = 0, rows_ = 0;
  std::vector<uint32_t> bucketStart_;  // columns_ * rows_ + 1 offsets into bucketEdges_
  std::vector<int32_t> bucketEdges_;
  std::vector<int32_t> wideEdges_;  // edges over too many buckets: tested one by one
};

// For every loop of `loops`, the rectangle that drawing it over the stations
// of the index's graph can paint in (kNoRect for a loop that draws nothing).
std::vector<TRect> LoopReach(const TLoopList& loops, const std::vector<TRect>& stationReach);
