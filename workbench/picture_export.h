#pragma once
// Exporting the drawing as a picture file, the same for the window and
// cyclorn-cli: enhanced (.emf) and placeable Windows (.wmf) metafiles are
// recorded and written here; SVG and PNG are drawn by a TPictureMaker that a
// front end with a drawing toolkit lends. Every picture shows what the
// drawing area shows (the graph view, or the loop view with its chosen
// loop), with each station's label drawn once.

#include <cstdint>
#include <string>

#include "core/survey_graph.h"
#include "metafile/metafile_canvas.h"
#include "metafile/metafile_export.h"
#include "render/canvas.h"
#include "render/display_settings.h"
#include "render/paint_area.h"
#include "render/picture_maker.h"

class TWorkbench;

// What a picture shows and how: the graph view of State.ShownGraph, or with
// State.ShowLoops the loop view over State.WorkGraph with State.ChosenLoop
// on top, drawn with Settings on Area pixels.
struct TPictureRequest {
  TDrawingState State;
  TDisplaySettings Settings;
  TSize Area;
  // The window-text colour and the reference screen a metafile names.
  TMetafileOptions Metafile;
};

// The picture format a file name asks for by its extension, in any case:
// ".emf", ".wmf", ".svg" or ".png". False for any other name.
bool PictureFormatOf(const std::string& fileName, TPictureFormat& format);

// The largest pictures made: a PNG picture of at most kMaxPngPixels pixels
// (4 bytes each in memory: 2 GB, so the loop view of a 300 x 300 grid, 441
// million pixels, is still made), a Windows metafile of at most
// kMaxWmfSide pixels a side (its coordinates are 16 bits), and enhanced
// metafiles and SVG pictures of at most kMaxVectorSide pixels a side (every
// pixel exact in a reader's single-precision coordinates).
inline constexpr int64_t kMaxPngPixels = int64_t{2} * 1024 * 1024 * 1024 / 4;
inline constexpr int32_t kMaxWmfSide = 32767;
inline constexpr int32_t kMaxVectorSide = 16777216;

// Raises ECyclornError, naming the picture's size and the format's limit,
// when a picture of `area` pixels is larger than `format` is made for.
void CheckPictureSize(TPictureFormat format, TSize area);

// The drawing area for a network: its far corner plus 25 in each direction,
// truncated, and never below `smallest`. Raises ECyclornError when the
// network reaches beyond what any picture can hold.
TSize DrawingAreaSize(const TSurveyGraph& graph, TSize smallest = TSize{1024, 768});

// The graph a picture of `state` draws: the shown graph, or in the loop view
// the work graph; null when there is none.
const TSurveyGraph* DrawnGraph(const TDrawingState& state);

// What the workbench shows, as cyclorn-cli exports it: its view with loop
// `chosenLoop` chosen, the default display settings, and the drawing area of
// the drawn graph (the smallest for a network too far for any picture,
// which ExportPicture then refuses).
TPictureRequest WorkbenchPicture(const TWorkbench& bench, int64_t chosenLoop);

// Label sizes without a toolkit: the label font's usual size, about 6 pixels
// a character and 13 high, so label boxes still fit round their texts.
TSize EstimateTextSize(const TFontSpec& font, std::string_view text);

// Draws the request into fileName, in the format its extension names.
// Before anything is drawn, a name of no known format, a network that
// reaches too far (DrawingAreaSize) and a picture too large for its format
// (CheckPictureSize) are refused, whichever front end asks. Without a maker,
// metafile labels are measured by EstimateTextSize and SVG or PNG are
// refused. The file is written through TSafeFile; every failure raises
// EFileError naming the file.
void ExportPicture(const std::string& fileName, const TPictureRequest& request, TPictureMaker* maker);

// Records the request's picture for a metafile, texts measured by `measure`.
TMetafileCanvas RecordPicture(const TPictureRequest& request, const TTextMeasure& measure);
