#pragma once
// The export command of cyclorn-cli: the graph view of a network, drawn with
// the default display settings, as a metafile or (with Qt) an SVG or PNG.

#include <string>

#include "core/survey_graph.h"
#include "draw/canvas.h"

// The drawing area for a network: its far corner plus 25 in each direction,
// truncated, and never below 1024 x 768. Raises ECyclornError when the
// network reaches beyond what a picture can hold.
TSize DrawingAreaSize(const TSurveyGraph& graph);

// Draws the graph view of `graph` into fileName, in the format its extension
// names: ".emf", ".wmf", ".svg" or ".png", in any case. The file is replaced
// only when complete. Raises ECyclornError naming the file.
void ExportGraphView(const std::string& fileName, const TSurveyGraph& graph);
