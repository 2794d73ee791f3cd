#pragma once
// TDisplaySettings: the settings every drawing reads at the moment it
// runs. The main window owns one set; the display options dialog edits it.

#include <cstdint>

#include "render/canvas.h"

// What a station label shows.
enum TLabelMode : int32_t { lmStation = 0, lmIndex = 1 };

// Which stations get a label: every station an edge touches (the specified
// picture), only junctions and ends (stations with other than two
// neighbours; there edge arrows stop at the label box), or none.
enum TLabelShow : int32_t { lsAll = 0, lsJunctions = 1, lsNone = 2 };

struct TDisplaySettings {
  static constexpr int32_t kMinLineWidth = 1;
  static constexpr int32_t kMaxLineWidth = 5;

  TColor BackColor = clGray;    // background fill of the graph view
  TColor LineColor = clBlack;   // pen of edges in the graph view
  TColor LoopColor = clRed;     // pen of the chosen loop in the loop view
  TColor LabelColor = clWhite;  // fill of station label boxes
  TColor ArrowColor = clWhite;  // fill of arrow heads
  int32_t LineWidth = 1;        // pen width of edges, arrow outlines and label frames, 1 to 5
  bool ShowArrow = true;
  int32_t LabelMode = lmStation;
  int32_t LabelShow = lsAll;
  TFontSpec LabelFont;  // "MS Sans Serif", height -11, window-text colour
  friend bool operator==(const TDisplaySettings&, const TDisplaySettings&) = default;
};
