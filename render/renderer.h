#pragma once
// The renderer: turns a survey graph, or the loops found in it, into drawing
// operations on a TCanvas. It keeps no state; every call draws from its
// arguments as they are. Positions are drawing coordinates (one unit is one
// pixel, Y downwards); Z only takes part in shortening edge lines.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "core/edge_array.h"
#include "core/owned_lists.h"
#include "core/survey_graph.h"
#include "core/vector3.h"
#include "render/canvas.h"
#include "render/display_settings.h"

// Fixed sizes of the picture.
inline constexpr double kEdgeShortening = 10;  // each end of an edge line, along the 3-D edge
inline constexpr int32_t kArrowLength = 10;    // tip to base
inline constexpr int32_t kArrowHalfWidth = 5;  // base centre to each base corner
inline constexpr int32_t kLabelMargin = 3;     // label box around its text

// The graph view: fills the clip rectangle with BackColor, then draws every
// edge in index order with its two labels (From first) and its line in LineColor.
void DrawGraph(TCanvas& canvas, const TSurveyGraph& graph, const TDisplaySettings& settings);

// The graph view drawn only in part: the BackColor fill, then the listed
// edges (ascending indices) exactly as DrawGraph draws them.
void DrawGraphEdges(TCanvas& canvas, const TSurveyGraph& graph, std::span<const int32_t> edges,
                    const TDisplaySettings& settings);

// Which of an edge's two labels DrawLabelledEdge draws.
enum TEdgeLabels : uint8_t { elNone = 0, elFrom = 1, elTo = 2, elBoth = 3 };

// Whether the renderer draws `edge` over `graph`: both ends are stations of it.
bool DrawsEdge(const TSurveyGraph& graph, const TEdgeRec& edge);

// One edge as both views draw it: the From label, the To label (those of
// `labels` that LabelShow keeps), then the line in `color`. Nothing when
// DrawsEdge is false.
void DrawLabelledEdge(TCanvas& canvas, const TSurveyGraph& graph, const TEdgeRec& edge, TColor color,
                      const TDisplaySettings& settings, TEdgeLabels labels = elBoth);

// One loop over the stations of `graph`, each edge in its stored From-to-To
// direction; with fillBackground the clip rectangle is first filled grey.
// An edge with an end that is not a station of `graph` is skipped.
void DrawLoop(TCanvas& canvas, const TSurveyGraph& graph, const TEdgeArray& loop, bool fillBackground, TColor edgeColor,
              const TDisplaySettings& settings);

// Every loop of `loops` over `graph` in black (loop i in colors[i] where
// colors has it), the first one filling the background grey. Draws nothing
// when there are no loops.
void DrawAllLoops(TCanvas& canvas, const TSurveyGraph& graph, const TLoopList& loops, const TDisplaySettings& settings,
                  std::span<const TColor> colors = {});

// A boxed label centred on (x, y): the text on a LabelColor box 3 pixels
// larger on each side, framed in the current pen 1 pixel further out.
// Leaves the brush clear.
void DrawStationLabel(TCanvas& canvas, int32_t x, int32_t y, std::string_view text, const TDisplaySettings& settings);

// One edge line, shortened by 10 at each end along the 3-D direction (start
// first, then the end towards the moved start), in `color` with an arrow
// head at the To end when ShowArrow is on. With toLabel (half the width and
// height of the To station's label box) the line also ends where it leaves
// that box, when the shortened end lies inside it.
void DrawEdge(TCanvas& canvas, Vec3 fromPos, Vec3 toPos, TColor color, const TDisplaySettings& settings,
              std::optional<Vec2> toLabel = std::nullopt);

// A line from start to end with optional arrow heads, in the current pen and brush.
void DrawArrowLine(TCanvas& canvas, TPoint start, TPoint end, bool arrowAtStart, bool arrowAtEnd, int32_t arrowLength,
                   int32_t arrowHalfWidth);

// A filled triangle with its tip at `tip`, pointing away from `tail`; a
// zero direction collapses it to the tip.
void DrawArrowHead(TCanvas& canvas, Vec2 tail, Vec2 tip, double length, double halfWidth);
