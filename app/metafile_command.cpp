// "Save Metafile": the graph view of the shown graph, recorded at the drawing
// area's size and written as an enhanced or placeable Windows metafile.

#include <QFile>
#include <QGuiApplication>

#include "app/main_window.h"
#include "render_qt/paint_box.h"
#include "render_qt/qt_conversions.h"
#include "render_qt/qt_pictures.h"
#include "workbench/picture_export.h"

namespace {

// Shows the busy cursor for as long as it lives, however the block ends.
class TBusyCursor {
 public:
  TBusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TBusyCursor() { QGuiApplication::restoreOverrideCursor(); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};

}  // namespace

void TForm1::SaveMetafile1Click() {
  const QString name = ChooseFile(SaveMetafileRequest());
  if (name.isEmpty()) return;
  ExportMetafile(name);
}

void TForm1::ExportMetafile(const QString& name) {
  const TBusyCursor busy;
  // Texts are measured as the screen draws them, so the file's label boxes
  // match the window's.
  TQtPictureMaker screen;
  const TTextMeasure measure = [&screen](const TFontSpec& font, std::string_view text) {
    return screen.MeasureText(font, text);
  };
  TMetafileOptions options;
  options.WindowTextColor = ToTColor(palette().color(QPalette::WindowText));
  const QSize screenSize = ScreenSize();
  options.ReferenceScreen = {screenSize.width(), screenSize.height()};
  SaveGraphViewMetafile(QFile::encodeName(name).toStdString(), *ShownGraph, DisplaySettings,
                        {PaintBox1->width(), PaintBox1->height()}, measure, options);
}
