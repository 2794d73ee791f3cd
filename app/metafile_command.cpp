// "Save Metafile": the graph view of the shown graph, recorded at the drawing
// area's size and written as an enhanced or placeable Windows metafile.

#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>

#include "app/main_window.h"
#include "app/paint_box.h"
#include "draw/metafile_export.h"
#include "draw/qt_conversions.h"
#include "draw/renderer.h"

namespace {

// Shows the busy cursor for as long as it lives, however the block ends.
class TBusyCursor {
 public:
  TBusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TBusyCursor() { QGuiApplication::restoreOverrideCursor(); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};

// Texts are measured as the screen draws them, so the file's label boxes
// match the window's.
TSize MeasureOnScreen(const TFontSpec& font, std::string_view text) {
  const QFontMetrics metrics(ToQFont(font));
  const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  return {metrics.horizontalAdvance(qtext), metrics.height()};
}

}  // namespace

void TForm1::SaveMetafile1Click() {
  const QString name = ChooseFile(SaveMetafileRequest());
  if (name.isEmpty()) return;
  ExportMetafile(name);
}

void TForm1::ExportMetafile(const QString& name) {
  const TBusyCursor busy;
  TMetafileCanvas recording(PaintBox1->width(), PaintBox1->height(), MeasureOnScreen);
  DrawGraph(recording, *ShownGraph, DisplaySettings);
  TMetafileOptions options;
  options.WindowTextColor = ToTColor(palette().color(QPalette::WindowText));
  const QSize screen = ScreenSize();
  options.ReferenceScreen = {screen.width(), screen.height()};
  SaveMetafile(QFile::encodeName(name).toStdString(), recording, options);
}
