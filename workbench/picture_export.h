#pragma once
// Exporting the drawing as a picture file: enhanced (.emf) and placeable
// Windows (.wmf) metafiles are recorded and written here; SVG and PNG are
// drawn by a TPictureMaker that a front end with a drawing toolkit lends.

#include <string>

#include "core/survey_graph.h"
#include "metafile/metafile_canvas.h"
#include "metafile/metafile_export.h"
#include "render/canvas.h"
#include "render/display_settings.h"
#include "render/picture_maker.h"

// The picture format a file name asks for by its extension, in any case:
// ".emf", ".wmf", ".svg" or ".png". False for any other name.
bool PictureFormatOf(const std::string& fileName, TPictureFormat& format);

// The drawing area for a network: its far corner plus 25 in each direction,
// truncated, and never below 1024 x 768. Raises ECyclornError when the
// network reaches beyond what a picture can hold.
TSize DrawingAreaSize(const TSurveyGraph& graph);

// Label sizes without a toolkit: the label font's usual size, about 6 pixels
// a character and 13 high, so label boxes still fit round their texts.
TSize EstimateTextSize(const TFontSpec& font, std::string_view text);

// Draws the graph view of `graph` into fileName, in the format its extension
// names, at DrawingAreaSize. Without a maker, metafile labels are measured by
// EstimateTextSize and SVG or PNG are refused. The file is written through
// TSafeFile; failures raise EFileError naming the file.
void ExportGraphView(const std::string& fileName, const TSurveyGraph& graph, const TDisplaySettings& settings,
                     TPictureMaker* maker);

// Records the graph view of `graph` at `area` and saves it as a placeable
// Windows metafile for a ".wmf" name and an enhanced metafile for any other.
void SaveGraphViewMetafile(const std::string& fileName, const TSurveyGraph& graph, const TDisplaySettings& settings,
                           TSize area, const TTextMeasure& measure, const TMetafileOptions& options);
