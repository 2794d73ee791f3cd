// "Save Metafile": what the drawing area shows (the graph view, or the loop
// view with the chosen loop on top) saved as a picture in the format of the
// file's extension: an enhanced or placeable Windows metafile, SVG or PNG.

#include <QFile>

#include "app/busy_cursor.h"
#include "app/main_window.h"
#include "controls/integer_spin.h"
#include "core/errors.h"
#include "render_qt/qt_conversions.h"
#include "render_qt/qt_pictures.h"
#include "workbench/picture_export.h"

void TForm1::SaveMetafile1Click() {
  const QString name = ChooseFile(SaveMetafileRequest());
  if (name.isEmpty()) return;
  ExportMetafile(name);
}

TPictureRequest TForm1::PictureOfDrawingArea() const {
  TPictureRequest request;
  request.State = DrawingState();
  request.Settings = DisplaySettings;
  const QSize screen = ScreenSize();
  // The drawing area as it is fitted to the drawn graph, however it was
  // sized last; a network too far for any picture is refused on export.
  const TSurveyGraph* drawn = DrawnGraph(request.State);
  const TSize smallest{screen.width(), screen.height()};
  try {
    request.Area = drawn != nullptr ? DrawingAreaSize(*drawn, smallest) : smallest;
  } catch (const ECyclornError&) {
    request.Area = smallest;
  }
  request.Metafile.WindowTextColor = ToTColor(palette().color(QPalette::WindowText));
  request.Metafile.ReferenceScreen = smallest;
  return request;
}

void TForm1::ExportMetafile(const QString& name) {
  const TBusyCursor busy;
  // Texts are measured as the screen draws them, so the file's label boxes
  // match the window's.
  TQtPictureMaker screen;
  ExportPicture(QFile::encodeName(name).toStdString(), PictureOfDrawingArea(), &screen);
}
