#include "render/paint_area.h"

#include <algorithm>
#include <vector>

#include "render/drawing_index.h"
#include "render/renderer.h"
#include "render/spatial_index.h"

namespace {

const TEdgeArray* ChosenLoopOf(const TDrawingState& state) {
  // A tree command may leave a shorter list behind the chooser's value.
  if (state.ChosenLoop < 0 || state.ChosenLoop >= state.Loops->Count()) return nullptr;
  return &state.Loops->LoopAt(static_cast<int32_t>(state.ChosenLoop));
}

TColor LoopColorOf(const TDrawingState& state, int32_t i) {
  const auto at = static_cast<size_t>(i);
  return at < state.LoopColors.size() ? state.LoopColors[at] : clBlack;
}

// The marked loops that are in the list, in the order given.
template <class Visit>
void ForEachMarkedLoop(const TDrawingState& state, Visit&& visit) {
  for (const int32_t i : state.MarkedLoops) {
    if (i >= 0 && i < state.Loops->Count()) visit(state.Loops->LoopAt(i));
  }
}

// The marked edge of the work graph, when there is one.
const TEdgeRec* MarkedEdgeOf(const TDrawingState& state, TEdgeRec& edge) {
  if (state.MarkedEdge < 0 || state.MarkedEdge >= state.WorkGraph->Edges.Count()) return nullptr;
  edge = state.WorkGraph->Edges.GetEdge(state.MarkedEdge);
  return &edge;
}

// The marked edge is drawn wider, so that it shows through the loops over it.
TDisplaySettings MarkedEdgeSettings(const TDisplaySettings& settings) {
  TDisplaySettings wide = settings;
  wide.LineWidth = settings.LineWidth + kMarkedEdgeExtraWidth;
  return wide;
}

// The edges of one loop that can reach `visible`, in the loop's order.
void DrawLoopPart(TCanvas& canvas, const TSurveyGraph& graph, const TEdgeArray& loop, TColor color,
                  const TDisplaySettings& settings, const std::vector<TRect>& stationReach, const TRect& visible) {
  const auto stations = static_cast<int64_t>(stationReach.size());
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  for (int32_t k = 0; k < loop.Count(); ++k) {
    const TEdgeRec edge = loop.GetEdge(k);
    if (edge.From < 0 || edge.To < 0 || edge.From >= stations || edge.To >= stations) continue;
    const TRect reach =
        UnitedRects(stationReach[static_cast<size_t>(edge.From)], stationReach[static_cast<size_t>(edge.To)]);
    if (RectsMeet(reach, visible)) DrawLabelledEdge(canvas, graph, edge, color, settings);
  }
}

// Calls draw(edge, colour, settings) for every edge a repaint draws, in drawing order.
template <class Draw>
void ForEachDrawnEdge(const TDrawingState& state, const TDisplaySettings& settings, Draw&& draw) {
  if (!state.ShowLoops) {
    const TEdgeArray& edges = state.ShownGraph->Edges;
    for (int32_t i = 0; i < edges.Count(); ++i) draw(edges.GetEdge(i), settings.LineColor, settings);
    return;
  }
  for (int32_t i = 0; i < state.Loops->Count(); ++i) {
    const TEdgeArray& loop = state.Loops->LoopAt(i);
    const TColor color = LoopColorOf(state, i);
    for (int32_t k = 0; k < loop.Count(); ++k) draw(loop.GetEdge(k), color, settings);
  }
  ForEachMarkedLoop(state, [&](const TEdgeArray& loop) {
    for (int32_t k = 0; k < loop.Count(); ++k) draw(loop.GetEdge(k), settings.LoopColor, settings);
  });
  if (const TEdgeArray* chosen = ChosenLoopOf(state)) {
    for (int32_t k = 0; k < chosen->Count(); ++k) draw(chosen->GetEdge(k), settings.LoopColor, settings);
  }
  TEdgeRec marked;
  if (MarkedEdgeOf(state, marked) != nullptr) draw(marked, kMarkedEdgeColor, MarkedEdgeSettings(settings));
}

}  // namespace

void PaintPicture(TCanvas& canvas, const TDrawingState& state, const TDisplaySettings& settings) {
  const TSurveyGraph* graph = state.ShowLoops ? state.WorkGraph : state.ShownGraph;
  if (graph == nullptr || (state.ShowLoops && state.Loops == nullptr)) return;
  // Each label drawn gets the next number; a station keeps the number of its last label.
  std::vector<int64_t> lastLabel(static_cast<size_t>(std::max(graph->StationCount(), 0)), -1);
  int64_t next = 0;
  ForEachDrawnEdge(state, settings, [&](const TEdgeRec& edge, TColor, const TDisplaySettings&) {
    if (!DrawsEdge(*graph, edge)) return;
    lastLabel[static_cast<size_t>(edge.From)] = next++;
    lastLabel[static_cast<size_t>(edge.To)] = next++;
  });
  // The background as DrawGraph and the first loop fill it.
  if (state.ShowLoops && state.Loops->Count() == 0) return;
  canvas.SetBrushColor(state.ShowLoops ? clGray : settings.BackColor);
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  canvas.FillRect(canvas.ClipRect());
  next = 0;
  ForEachDrawnEdge(state, settings, [&](const TEdgeRec& edge, TColor color, const TDisplaySettings& drawn) {
    if (!DrawsEdge(*graph, edge)) return;
    const bool fromLast = lastLabel[static_cast<size_t>(edge.From)] == next++;
    const bool toLast = lastLabel[static_cast<size_t>(edge.To)] == next++;
    DrawLabelledEdge(canvas, *graph, edge, color, drawn,
                     static_cast<TEdgeLabels>((fromLast ? elFrom : elNone) | (toLast ? elTo : elNone)));
  });
}

void PaintDrawingArea(TCanvas& canvas, const TDrawingState& state, const TDisplaySettings& settings) {
  if (!state.ShowLoops) {
    if (state.ShownGraph != nullptr) DrawGraph(canvas, *state.ShownGraph, settings);
    return;
  }
  if (state.WorkGraph == nullptr || state.Loops == nullptr) return;
  DrawAllLoops(canvas, *state.WorkGraph, *state.Loops, settings, state.LoopColors);
  if (state.Loops->Count() == 0) return;
  ForEachMarkedLoop(state, [&](const TEdgeArray& loop) {
    DrawLoop(canvas, *state.WorkGraph, loop, false, settings.LoopColor, settings);
  });
  if (const TEdgeArray* chosen = ChosenLoopOf(state))
    DrawLoop(canvas, *state.WorkGraph, *chosen, false, settings.LoopColor, settings);
  TEdgeRec marked;
  if (MarkedEdgeOf(state, marked) != nullptr)
    DrawLabelledEdge(canvas, *state.WorkGraph, marked, kMarkedEdgeColor, MarkedEdgeSettings(settings));
}

void PaintDrawingArea(TCanvas& canvas, const TDrawingState& state, const TDisplaySettings& settings,
                      TDrawingIndex& index, const TRect& visible) {
  if (!state.ShowLoops) {
    if (state.ShownGraph == nullptr) return;
    const std::vector<int32_t> edges = index.ForGraph(*state.ShownGraph, settings, canvas).EdgesMeeting(visible);
    DrawGraphEdges(canvas, *state.ShownGraph, edges, settings);
    return;
  }
  if (state.WorkGraph == nullptr || state.Loops == nullptr || state.Loops->Count() == 0) return;
  const TSurveyGraph& graph = *state.WorkGraph;
  const std::vector<TRect>& loopReach = index.LoopReachOf(graph, *state.Loops, settings, canvas);
  const std::vector<TRect>& stationReach = index.ForGraph(graph, settings, canvas).StationReachBoxes();
  // The first loop fills the background wherever it lies.
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  canvas.SetBrushColor(clGray);
  canvas.FillRect(canvas.ClipRect());
  for (int32_t i = 0; i < state.Loops->Count(); ++i) {
    if (RectsMeet(loopReach[static_cast<size_t>(i)], visible))
      DrawLoopPart(canvas, graph, state.Loops->LoopAt(i), LoopColorOf(state, i), settings, stationReach, visible);
  }
  ForEachMarkedLoop(state, [&](const TEdgeArray& loop) {
    DrawLoopPart(canvas, graph, loop, settings.LoopColor, settings, stationReach, visible);
  });
  if (const TEdgeArray* chosen = ChosenLoopOf(state))
    DrawLoopPart(canvas, graph, *chosen, settings.LoopColor, settings, stationReach, visible);
  // One edge: drawn whole, as its wider pen reaches a little beyond the index's boxes.
  TEdgeRec marked;
  if (MarkedEdgeOf(state, marked) != nullptr)
    DrawLabelledEdge(canvas, graph, marked, kMarkedEdgeColor, MarkedEdgeSettings(settings));
}
