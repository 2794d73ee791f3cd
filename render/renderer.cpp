#include "render/renderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace {

// Coordinates are held within +-2^30 before they become integers, so a
// station placed absurdly far away cannot overflow the integer arithmetic of
// a label box; every point a surface can show lies well inside that range.
constexpr double kCoordinateLimit = 1073741824.0;

double ClampCoordinate(double v) { return std::isnan(v) ? 0.0 : std::clamp(v, -kCoordinateLimit, kCoordinateLimit); }

int32_t TruncCoordinate(double v) { return static_cast<int32_t>(std::trunc(ClampCoordinate(v))); }

TPoint RoundPoint(double x, double y) { return RoundVec2(MakeVec2(ClampCoordinate(x), ClampCoordinate(y))); }

TRect Grown(const TRect& r, int32_t by) { return {r.Left - by, r.Top - by, r.Right + by, r.Bottom + by}; }

std::string LabelText(const TSurveyGraph& graph, int32_t station, const TDisplaySettings& settings) {
  if (settings.LabelMode == lmStation) return graph.Names.GetName(station);
  return std::to_string(station);
}

bool IsStation(const TSurveyGraph& graph, int32_t station) {
  return station >= 0 && station < graph.StationCount() && station < graph.Names.NameList.Count();
}

// Whether the settings label this station at all.
bool ShowsLabel(const TSurveyGraph& graph, int32_t station, const TDisplaySettings& settings) {
  switch (settings.LabelShow) {
    case lsNone:
      return false;
    case lsJunctions:
      return station >= graph.Neighbors.Count() || graph.Neighbors.ListOf(station).Count() != 2;
    default:
      return true;
  }
}

// Half the width and height of a station's label box with its frame.
Vec2 LabelHalfSize(TCanvas& canvas, const std::string& text, const TDisplaySettings& settings) {
  canvas.SetFont(settings.LabelFont);
  const TSize extent = canvas.TextExtent(text);
  const double frame = kLabelMargin + 1 + settings.LineWidth / 2.0;
  return MakeVec2(extent.Width / 2.0 + frame, extent.Height / 2.0 + frame);
}

// Moves `end` back towards `start` so that it leaves the box of half size
// `half` around `centre`, when the end lies inside it.
TPoint OutOfBox(TPoint start, TPoint end, Vec3 centre, Vec2 half) {
  const double dx = start.X - centre.X;
  const double dy = start.Y - centre.Y;
  if (std::abs(end.X - centre.X) >= half.X || std::abs(end.Y - centre.Y) >= half.Y) return end;
  if (dx == 0 && dy == 0) return end;
  // Along the line from the centre towards the start, the box ends where the
  // first of its sides is met.
  const double along = std::min(dx != 0 ? half.X / std::abs(dx) : HUGE_VAL, dy != 0 ? half.Y / std::abs(dy) : HUGE_VAL);
  if (along >= 1) return end;  // the start itself lies within the box: leave the line as it is
  return RoundPoint(centre.X + dx * along, centre.Y + dy * along);
}

}  // namespace

bool DrawsEdge(const TSurveyGraph& graph, const TEdgeRec& edge) {
  return IsStation(graph, edge.From) && IsStation(graph, edge.To);
}

void DrawLabelledEdge(TCanvas& canvas, const TSurveyGraph& graph, const TEdgeRec& edge, TColor color,
                      const TDisplaySettings& settings, TEdgeLabels labels) {
  if (!DrawsEdge(graph, edge)) return;
  const Vec3 fromPos = graph.Positions.Get(edge.From);
  const Vec3 toPos = graph.Positions.Get(edge.To);
  canvas.SetPenColor(clBlack);
  const bool fromLabel = (labels & elFrom) != 0 && ShowsLabel(graph, edge.From, settings);
  const bool toLabel = (labels & elTo) != 0 && ShowsLabel(graph, edge.To, settings);
  if (fromLabel)
    DrawStationLabel(canvas, TruncCoordinate(fromPos.X), TruncCoordinate(fromPos.Y),
                     LabelText(graph, edge.From, settings), settings);
  if (toLabel)
    DrawStationLabel(canvas, TruncCoordinate(toPos.X), TruncCoordinate(toPos.Y), LabelText(graph, edge.To, settings),
                     settings);
  if (settings.LabelShow != lsJunctions || !ShowsLabel(graph, edge.To, settings)) {
    DrawEdge(canvas, fromPos, toPos, color, settings);
    return;
  }
  // Only a few stations are labelled: the arrow stops at the To label's box,
  // drawn or not (another edge draws it), instead of crossing its text.
  DrawEdge(canvas, fromPos, toPos, color, settings,
           LabelHalfSize(canvas, LabelText(graph, edge.To, settings), settings));
}

void DrawGraph(TCanvas& canvas, const TSurveyGraph& graph, const TDisplaySettings& settings) {
  canvas.SetBrushColor(settings.BackColor);
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  canvas.FillRect(canvas.ClipRect());
  for (int32_t i = 0; i < graph.Edges.Count(); ++i)
    DrawLabelledEdge(canvas, graph, graph.Edges.GetEdge(i), settings.LineColor, settings);
}

void DrawGraphEdges(TCanvas& canvas, const TSurveyGraph& graph, std::span<const int32_t> edges,
                    const TDisplaySettings& settings) {
  canvas.SetBrushColor(settings.BackColor);
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  canvas.FillRect(canvas.ClipRect());
  for (const int32_t i : edges) {
    if (i >= 0 && i < graph.Edges.Count())
      DrawLabelledEdge(canvas, graph, graph.Edges.GetEdge(i), settings.LineColor, settings);
  }
}

void DrawLoop(TCanvas& canvas, const TSurveyGraph& graph, const TEdgeArray& loop, bool fillBackground, TColor edgeColor,
              const TDisplaySettings& settings) {
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  // The loop view is always grey, whatever the graph view's background is.
  if (fillBackground) {
    canvas.SetBrushColor(clGray);
    canvas.FillRect(canvas.ClipRect());
  }
  for (int32_t k = 0; k < loop.Count(); ++k) DrawLabelledEdge(canvas, graph, loop.GetEdge(k), edgeColor, settings);
}

void DrawAllLoops(TCanvas& canvas, const TSurveyGraph& graph, const TLoopList& loops, const TDisplaySettings& settings,
                  std::span<const TColor> colors) {
  for (int32_t i = 0; i < loops.Count(); ++i) {
    const TColor color = static_cast<size_t>(i) < colors.size() ? colors[static_cast<size_t>(i)] : clBlack;
    DrawLoop(canvas, graph, loops.LoopAt(i), i == 0, color, settings);
  }
}

void DrawStationLabel(TCanvas& canvas, int32_t x, int32_t y, std::string_view text, const TDisplaySettings& settings) {
  canvas.SetFont(settings.LabelFont);
  canvas.SetPenWidth(settings.LineWidth);
  const TSize extent = canvas.TextExtent(text);
  const int32_t left = x - extent.Width / 2;
  const int32_t top = y - extent.Height / 2;
  TRect box = Grown({left, top, left + extent.Width, top + extent.Height}, kLabelMargin);
  canvas.SetBrushColor(settings.LabelColor);
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  canvas.Rectangle(box);
  canvas.TextRect(box, left, top, text);
  box = Grown(box, 1);
  canvas.SetBrushStyle(TBrushStyle::bsClear);
  canvas.Rectangle(box);
}

void DrawEdge(TCanvas& canvas, Vec3 fromPos, Vec3 toPos, TColor color, const TDisplaySettings& settings,
              std::optional<Vec2> toLabel) {
  // The end moves towards the already moved start, so an edge shorter than
  // 20 comes out reversed or as a point; the picture has always looked so.
  Segment3 segment{fromPos, toPos};
  TrimSegmentStart(segment, kEdgeShortening);
  TrimSegmentEnd(segment, kEdgeShortening);
  const TPoint start = RoundPoint(segment.Start.X, segment.Start.Y);
  TPoint end = RoundPoint(segment.End.X, segment.End.Y);
  if (toLabel) end = OutOfBox(start, end, toPos, *toLabel);
  canvas.SetBrushColor(settings.ArrowColor);
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  canvas.SetPenColor(color);
  canvas.SetPenWidth(settings.LineWidth);
  DrawArrowLine(canvas, start, end, false, settings.ShowArrow, kArrowLength, kArrowHalfWidth);
}

void DrawArrowLine(TCanvas& canvas, TPoint start, TPoint end, bool arrowAtStart, bool arrowAtEnd, int32_t arrowLength,
                   int32_t arrowHalfWidth) {
  canvas.MoveTo(start);
  canvas.LineTo(end);
  const Vec2 startPoint = MakeVec2(start.X, start.Y);
  const Vec2 endPoint = MakeVec2(end.X, end.Y);
  if (arrowAtEnd) DrawArrowHead(canvas, startPoint, endPoint, arrowLength, arrowHalfWidth);
  if (arrowAtStart) DrawArrowHead(canvas, endPoint, startPoint, arrowLength, arrowHalfWidth);
}

void DrawArrowHead(TCanvas& canvas, Vec2 tail, Vec2 tip, double length, double halfWidth) {
  const Vec2 direction = Normalize2(Sub2(tip, tail));
  const Vec2 along = Scale2(direction, length);
  const Vec2 across = Scale2(direction, halfWidth);
  const Vec2 base = Sub2(tip, along);
  const std::array<TPoint, 3> corners{
      RoundPoint(tip.X, tip.Y),
      TPoint{TruncCoordinate(base.X + across.Y), TruncCoordinate(base.Y - across.X)},
      TPoint{TruncCoordinate(base.X - across.Y), TruncCoordinate(base.Y + across.X)},
  };
  canvas.Polygon(corners);
}
