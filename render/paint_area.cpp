#include "render/paint_area.h"

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

}  // namespace

void PaintDrawingArea(TCanvas& canvas, const TDrawingState& state, const TDisplaySettings& settings) {
  if (!state.ShowLoops) {
    if (state.ShownGraph != nullptr) DrawGraph(canvas, *state.ShownGraph, settings);
    return;
  }
  if (state.WorkGraph == nullptr || state.Loops == nullptr) return;
  DrawAllLoops(canvas, *state.WorkGraph, *state.Loops, settings);
  if (const TEdgeArray* chosen = ChosenLoopOf(state))
    DrawLoop(canvas, *state.WorkGraph, *chosen, false, settings.LoopColor, settings);
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
      DrawLoopPart(canvas, graph, state.Loops->LoopAt(i), clBlack, settings, stationReach, visible);
  }
  if (const TEdgeArray* chosen = ChosenLoopOf(state))
    DrawLoopPart(canvas, graph, *chosen, settings.LoopColor, settings, stationReach, visible);
}
