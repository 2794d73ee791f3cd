#include "workbench/picture_export.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <limits>
#include <sstream>

#include "core/errors.h"
#include "support/file_errors.h"
#include "support/safe_write.h"
#include "workbench/workbench.h"

namespace {

constexpr int32_t kAreaMargin = 25;

int32_t AreaSide(double farCorner, int32_t smallest) {
  const double side = std::trunc(farCorner + kAreaMargin);
  if (side > std::numeric_limits<int32_t>::max())
    throw ECyclornError("The network reaches too far to be drawn: a station lies at " +
                        (std::ostringstream() << farCorner).str());
  return std::max(smallest, static_cast<int32_t>(std::max(side, 0.0)));
}

std::string SizeText(TSize area) { return std::to_string(area.Width) + " x " + std::to_string(area.Height); }

void CheckSides(TSize area, int32_t limit, const char* target) {
  if (area.Width > limit || area.Height > limit)
    throw ECyclornError("A picture of " + SizeText(area) + " pixels does not fit " + target + ": at most " +
                        std::to_string(limit) + " pixels a side");
}

bool IsMetafile(TPictureFormat format) { return format == TPictureFormat::pfEmf || format == TPictureFormat::pfWmf; }

}  // namespace

bool PictureFormatOf(const std::string& fileName, TPictureFormat& format) {
  std::string extension = std::filesystem::path(fileName).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".emf") {
    format = TPictureFormat::pfEmf;
  } else if (extension == ".wmf") {
    format = TPictureFormat::pfWmf;
  } else if (extension == ".svg") {
    format = TPictureFormat::pfSvg;
  } else if (extension == ".png") {
    format = TPictureFormat::pfPng;
  } else {
    return false;
  }
  return true;
}

void CheckPictureSize(TPictureFormat format, TSize area) {
  switch (format) {
    case TPictureFormat::pfPng:
      if (int64_t{area.Width} * area.Height > kMaxPngPixels)
        throw ECyclornError("A picture of " + SizeText(area) + " pixels does not fit a PNG file: at most " +
                            std::to_string(kMaxPngPixels) + " pixels (2 GB)");
      break;
    case TPictureFormat::pfWmf:
      CheckSides(area, kMaxWmfSide, "a Windows metafile");
      break;
    case TPictureFormat::pfEmf:
      CheckSides(area, kMaxVectorSide, "an enhanced metafile");
      break;
    case TPictureFormat::pfSvg:
      CheckSides(area, kMaxVectorSide, "an SVG file");
      break;
  }
}

TSize DrawingAreaSize(const TSurveyGraph& graph, TSize smallest) {
  // An empty graph has its corners at -9.9e99: the smallest area.
  if (graph.StationCount() == 0) return smallest;
  return TSize{AreaSide(graph.MaxCorner.X, smallest.Width), AreaSide(graph.MaxCorner.Y, smallest.Height)};
}

const TSurveyGraph* DrawnGraph(const TDrawingState& state) {
  return state.ShowLoops ? state.WorkGraph : state.ShownGraph;
}

TPictureRequest WorkbenchPicture(const TWorkbench& bench, int64_t chosenLoop) {
  TPictureRequest request;
  request.State = {bench.ShowLoops, bench.ShownGraph, bench.WorkGraph.get(), bench.Loops.get(), chosenLoop};
  request.Area = DrawingAreaSize(TSurveyGraph{});
  // A network too far for any picture keeps the smallest area here: the
  // export refuses it, naming the file.
  if (const TSurveyGraph* drawn = DrawnGraph(request.State)) {
    try {
      request.Area = DrawingAreaSize(*drawn);
    } catch (const ECyclornError&) {
    }
  }
  return request;
}

TSize EstimateTextSize(const TFontSpec& font, std::string_view text) {
  const int32_t height = font.Height < 0 ? -font.Height + 2 : std::max(font.Height, 1);
  return TSize{static_cast<int32_t>(text.size()) * (height * 6 / 13), height};
}

TMetafileCanvas RecordPicture(const TPictureRequest& request, const TTextMeasure& measure) {
  TMetafileCanvas recording(request.Area.Width, request.Area.Height, measure);
  PaintPicture(recording, request.State, request.Settings);
  return recording;
}

void ExportPicture(const std::string& fileName, const TPictureRequest& request, TPictureMaker* maker) {
  TPictureFormat format{};
  if (!PictureFormatOf(fileName, format))
    throw ECyclornError("Cannot tell the picture format of \"" + fileName + "\": name it .emf, .wmf, .svg or .png");
  if (!IsMetafile(format) && maker == nullptr)
    throw ECyclornError("This cyclorn-cli is built without Qt and cannot write \"" + fileName + "\"");
  std::string bytes;
  try {
    // The network decides first, so both front ends refuse the same
    // networks; then the picture itself, before anything large is made.
    if (const TSurveyGraph* graph = DrawnGraph(request.State)) CheckPictureSize(format, DrawingAreaSize(*graph));
    CheckPictureSize(format, request.Area);
    if (IsMetafile(format)) {
      const TTextMeasure measure = maker ? TTextMeasure([maker](const TFontSpec& font, std::string_view text) {
        return maker->MeasureText(font, text);
      })
                                         : TTextMeasure(EstimateTextSize);
      const TMetafileCanvas recording = RecordPicture(request, measure);
      bytes = format == TPictureFormat::pfWmf ? PlaceableMetafileBytes(recording, request.Metafile)
                                              : EnhancedMetafileBytes(recording, request.Metafile);
    } else {
      bytes = maker->MakePicture(format, request.Area,
                                 [&](TCanvas& canvas) { PaintPicture(canvas, request.State, request.Settings); });
    }
  } catch (const EFileError&) {
    throw;
  } catch (const ECyclornError& error) {
    throw EFileError(error.what(), 0, fileName);
  }
  WriteFileSafely(fileName, bytes);
}
