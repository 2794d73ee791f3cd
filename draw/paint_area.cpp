#include "draw/paint_area.h"

#include "draw/renderer.h"

void PaintDrawingArea(TCanvas& canvas, const TDrawingState& state, const TDisplaySettings& settings) {
  if (!state.ShowLoops) {
    if (state.ShownGraph != nullptr) DrawGraph(canvas, *state.ShownGraph, settings);
    return;
  }
  if (state.WorkGraph == nullptr || state.Loops == nullptr) return;
  DrawAllLoops(canvas, *state.WorkGraph, *state.Loops, settings);
  // A tree command may leave a shorter list behind the chooser's value.
  if (state.ChosenLoop < 0 || state.ChosenLoop >= state.Loops->Count()) return;
  const TEdgeArray& chosen = state.Loops->LoopAt(static_cast<int32_t>(state.ChosenLoop));
  DrawLoop(canvas, *state.WorkGraph, chosen, false, settings.LoopColor, settings);
}
