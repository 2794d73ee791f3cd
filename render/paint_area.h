#pragma once
// What a repaint of the main window's drawing area draws: the graph view of
// the shown graph, or every loop over the work graph with the chosen one on top.

#include <cstdint>
#include <span>

#include "core/owned_lists.h"
#include "core/survey_graph.h"
#include "render/canvas.h"
#include "render/display_settings.h"

class TDrawingIndex;

// The application state a repaint reads. The pointers are not owned; a null
// graph or loop list draws nothing.
struct TDrawingState {
  bool ShowLoops = false;
  const TSurveyGraph* ShownGraph = nullptr;
  const TSurveyGraph* WorkGraph = nullptr;
  const TLoopList* Loops = nullptr;
  int64_t ChosenLoop = 0;  // the loop chooser's value
  // The loop view's colour of each loop (by its misclosure); black for every
  // loop when empty or shorter than the list.
  std::span<const TColor> LoopColors = {};
  // Loops drawn again in LoopColor after all the others, before the chosen
  // one: the loops through a marked leg. Indices outside the list are skipped.
  std::span<const int32_t> MarkedLoops = {};
  // An edge of the work graph drawn last in the loop view, in kMarkedEdgeColor
  // and wider: a suspect leg. -1 for none.
  int32_t MarkedEdge = -1;
};

// The marked edge's colour, and how much wider than LineWidth it is drawn.
inline constexpr TColor kMarkedEdgeColor = TColor::Rgb(255, 255, 0);
inline constexpr int32_t kMarkedEdgeExtraWidth = 2;

// Without ShowLoops: the graph view of ShownGraph. With it: every loop in
// black (or its LoopColors colour) on grey, the marked loops again in
// LoopColor, then the chosen loop again on top in LoopColor and the marked
// edge last; nothing at all for an empty loop list, and no chosen loop when
// its index is not in the list.
void PaintDrawingArea(TCanvas& canvas, const TDrawingState& state, const TDisplaySettings& settings);

// The picture PaintDrawingArea draws, with each station's label drawn only
// where it is drawn last. A label paints the same pixels every time it is
// drawn and covers whatever lies under it, so each earlier label of a station
// ends up wholly under its last one: the picture is the same, with one label
// per station instead of one per edge end. Pictures saved to files use it.
void PaintPicture(TCanvas& canvas, const TDrawingState& state, const TDisplaySettings& settings);

// The same picture repainted only where it shows in `visible`, the canvas's
// clip rectangle: only the edges and loops that `index` finds reaching it are
// drawn, in the order of the whole picture, so the pixels inside `visible`
// are the same. The index builds what it lacks with `canvas`.
void PaintDrawingArea(TCanvas& canvas, const TDrawingState& state, const TDisplaySettings& settings,
                      TDrawingIndex& index, const TRect& visible);
