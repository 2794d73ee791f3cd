#include "cli/cli_export.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <sstream>

#include "core/errors.h"
#include "draw/display_settings.h"
#include "draw/metafile_canvas.h"
#include "draw/metafile_export.h"
#include "draw/renderer.h"
#include "draw/whole_file.h"

#ifdef CYCLORN_CLI_QT
#include <QBuffer>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdlib>

#include "draw/qt_canvas.h"
#include "draw/qt_conversions.h"
#endif

namespace {

constexpr int32_t kAreaMargin = 25;
constexpr TSize kSmallestArea{1024, 768};

std::string LowerExtension(const std::string& fileName) {
  std::string extension = std::filesystem::path(fileName).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

int32_t AreaSide(double farCorner, int32_t smallest) {
  const double side = std::trunc(farCorner + kAreaMargin);
  if (side > std::numeric_limits<int32_t>::max())
    throw ECyclornError("The network reaches too far to be drawn: a station lies at " +
                        (std::ostringstream() << farCorner).str());
  return std::max(smallest, static_cast<int32_t>(std::max(side, 0.0)));
}

#ifdef CYCLORN_CLI_QT

// Qt draws and measures text only inside an application; without a display
// it runs on the offscreen platform.
std::unique_ptr<QGuiApplication> StartQt() {
  if (QGuiApplication::instance() != nullptr) return nullptr;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
      std::getenv("WAYLAND_DISPLAY") == nullptr)
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "cyclorn-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

// The label font's metrics as the screen has them, so the metafile's label
// boxes fit its texts as they do on the screen.
TSize MeasureLabel(const TFontSpec& font, std::string_view text) {
  const QFontMetrics metrics(ToQFont(font));
  return TSize{metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))),
               metrics.height()};
}

std::string DrawWithQt(const std::string& extension, TSize size, const TSurveyGraph& graph) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (extension == ".svg") {
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(size.Width, size.Height));
    generator.setViewBox(QRect(0, 0, size.Width, size.Height));
    generator.setTitle(QStringLiteral("Cyclorn"));
    QPainter painter(&generator);
    TQtCanvas canvas(painter);
    DrawGraph(canvas, graph, TDisplaySettings{});
  } else {
    QImage image(size.Width, size.Height, QImage::Format_RGB32);
    if (image.isNull())
      throw ECyclornError("A picture of " + std::to_string(size.Width) + " x " + std::to_string(size.Height) +
                          " pixels does not fit in memory");
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      TQtCanvas canvas(painter);
      DrawGraph(canvas, graph, TDisplaySettings{});
    }
    if (!image.save(&buffer, "PNG")) throw ECyclornError("The PNG picture could not be made");
  }
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

#else

// Without Qt there are no font metrics: the label font's usual size, about
// 6 pixels a character and 13 high, keeps the label boxes round their texts.
TSize MeasureLabel(const TFontSpec& font, std::string_view text) {
  const int32_t height = font.Height < 0 ? -font.Height + 2 : std::max(font.Height, 1);
  return TSize{static_cast<int32_t>(text.size()) * (height * 6 / 13), height};
}

#endif

}  // namespace

TSize DrawingAreaSize(const TSurveyGraph& graph) {
  // An empty graph has its corners at -9.9e99: the smallest area.
  if (graph.StationCount() == 0) return kSmallestArea;
  return TSize{AreaSide(graph.MaxCorner.X, kSmallestArea.Width), AreaSide(graph.MaxCorner.Y, kSmallestArea.Height)};
}

void ExportGraphView(const std::string& fileName, const TSurveyGraph& graph) {
  const std::string extension = LowerExtension(fileName);
  const bool metafile = extension == ".emf" || extension == ".wmf";
  const bool qtPicture = extension == ".svg" || extension == ".png";
  if (!metafile && !qtPicture)
    throw ECyclornError("Cannot tell the picture format of \"" + fileName + "\": name it .emf, .wmf, .svg or .png");
  const TSize size = DrawingAreaSize(graph);

#ifdef CYCLORN_CLI_QT
  const std::unique_ptr<QGuiApplication> application = StartQt();
#else
  if (qtPicture) throw ECyclornError("This cyclorn-cli is built without Qt and cannot write \"" + fileName + "\"");
#endif

  if (metafile) {
    TMetafileCanvas recording(size.Width, size.Height, MeasureLabel);
    DrawGraph(recording, graph, TDisplaySettings{});
    SaveMetafile(fileName, recording);
    return;
  }
#ifdef CYCLORN_CLI_QT
  std::string bytes;
  try {
    bytes = DrawWithQt(extension, size, graph);
  } catch (const ECyclornError& error) {
    throw ECyclornError("Cannot save the picture \"" + fileName + "\": " + error.what());
  }
  WriteWholeFile(fileName, bytes, "picture");
#endif
}
