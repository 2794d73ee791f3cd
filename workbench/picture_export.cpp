#include "workbench/picture_export.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <limits>
#include <sstream>

#include "core/errors.h"
#include "render/renderer.h"
#include "support/file_errors.h"
#include "support/safe_write.h"

namespace {

constexpr int32_t kAreaMargin = 25;
constexpr TSize kSmallestArea{1024, 768};

int32_t AreaSide(double farCorner, int32_t smallest) {
  const double side = std::trunc(farCorner + kAreaMargin);
  if (side > std::numeric_limits<int32_t>::max())
    throw ECyclornError("The network reaches too far to be drawn: a station lies at " +
                        (std::ostringstream() << farCorner).str());
  return std::max(smallest, static_cast<int32_t>(std::max(side, 0.0)));
}

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

TSize DrawingAreaSize(const TSurveyGraph& graph) {
  // An empty graph has its corners at -9.9e99: the smallest area.
  if (graph.StationCount() == 0) return kSmallestArea;
  return TSize{AreaSide(graph.MaxCorner.X, kSmallestArea.Width), AreaSide(graph.MaxCorner.Y, kSmallestArea.Height)};
}

TSize EstimateTextSize(const TFontSpec& font, std::string_view text) {
  const int32_t height = font.Height < 0 ? -font.Height + 2 : std::max(font.Height, 1);
  return TSize{static_cast<int32_t>(text.size()) * (height * 6 / 13), height};
}

void SaveGraphViewMetafile(const std::string& fileName, const TSurveyGraph& graph, const TDisplaySettings& settings,
                           TSize area, const TTextMeasure& measure, const TMetafileOptions& options) {
  TMetafileCanvas recording(area.Width, area.Height, measure);
  DrawGraph(recording, graph, settings);
  SaveMetafile(fileName, recording, options);
}

void ExportGraphView(const std::string& fileName, const TSurveyGraph& graph, const TDisplaySettings& settings,
                     TPictureMaker* maker) {
  TPictureFormat format{};
  if (!PictureFormatOf(fileName, format))
    throw ECyclornError("Cannot tell the picture format of \"" + fileName + "\": name it .emf, .wmf, .svg or .png");
  const bool metafile = format == TPictureFormat::pfEmf || format == TPictureFormat::pfWmf;
  if (!metafile && maker == nullptr)
    throw ECyclornError("This cyclorn-cli is built without Qt and cannot write \"" + fileName + "\"");
  const TSize size = DrawingAreaSize(graph);
  if (metafile) {
    const TTextMeasure measure = maker ? TTextMeasure([maker](const TFontSpec& font, std::string_view text) {
      return maker->MeasureText(font, text);
    })
                                       : TTextMeasure(EstimateTextSize);
    SaveGraphViewMetafile(fileName, graph, settings, size, measure, TMetafileOptions{});
    return;
  }
  std::string bytes;
  try {
    bytes = maker->MakePicture(format, size, [&](TCanvas& canvas) { DrawGraph(canvas, graph, settings); });
  } catch (const EFileError&) {
    throw;
  } catch (const ECyclornError& error) {
    throw EFileError(error.what(), 0, fileName);
  }
  WriteFileSafely(fileName, bytes);
}
