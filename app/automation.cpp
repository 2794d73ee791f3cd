#include "app/automation.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QWidget>

#include "app/main_window.h"
#include "render_qt/paint_box.h"

namespace {

QString Click(TForm1& form, const QString& name) {
  if (auto* button = form.findChild<QAbstractButton*>(name)) {
    button->click();
    return {};
  }
  if (auto* action = form.findChild<QAction*>(name)) {
    action->trigger();
    return {};
  }
  return QStringLiteral("unknown control: ") + name;
}

QString Load(TForm1& form, const QString& file) {
  TFileChooser chooser = form.ChooseFile;
  form.ChooseFile = [file](const TFileDialogRequest&) { return file; };
  form.LoadFile1->trigger();
  form.ChooseFile = std::move(chooser);
  return {};
}

QString Scroll(TForm1& form, const QString& argument) {
  const QStringList numbers = argument.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  bool xOk = false, yOk = false;
  const int x = numbers.size() == 2 ? numbers[0].toInt(&xOk) : 0;
  const int y = numbers.size() == 2 ? numbers[1].toInt(&yOk) : 0;
  if (!xOk || !yOk) return QStringLiteral("scroll needs two whole numbers: ") + argument;
  form.ScrollBox1->horizontalScrollBar()->setValue(x);
  form.ScrollBox1->verticalScrollBar()->setValue(y);
  return {};
}

// A picture of a whole million-station drawing would need gigabytes; the
// painter cannot even address one wider or higher than this.
constexpr int kMaxGrabSide = 32767;
constexpr qint64 kMaxGrabPixels = qint64{1} << 27;

QString Grab(QWidget& widget, const QString& file) {
  // Let pending repaints and layout settle so the picture is the one shown.
  QApplication::processEvents();
  const QSize size = widget.size();
  if (size.width() > kMaxGrabSide || size.height() > kMaxGrabSide ||
      qint64{size.width()} * size.height() > kMaxGrabPixels) {
    return QStringLiteral("too large to grab (%1 x %2): ").arg(size.width()).arg(size.height()) + file;
  }
  if (!widget.grab().save(file)) return QStringLiteral("cannot save picture: ") + file;
  return {};
}

}  // namespace

QString RunScript(TForm1& form, const QString& script) {
  for (const QString& rawStep : script.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const QString step = rawStep.trimmed();
    const qsizetype blank = step.indexOf(QLatin1Char(' '));
    const QString verb = blank < 0 ? step : step.left(blank);
    const QString argument = blank < 0 ? QString() : step.mid(blank + 1).trimmed();
    QString failure;
    if (verb == QStringLiteral("click") && !argument.isEmpty()) {
      failure = Click(form, argument);
    } else if (verb == QStringLiteral("grab") && !argument.isEmpty()) {
      failure = Grab(*form.PaintBox1, argument);
    } else if (verb == QStringLiteral("grab-view") && !argument.isEmpty()) {
      failure = Grab(*form.ScrollBox1->viewport(), argument);
    } else if (verb == QStringLiteral("grab-window") && !argument.isEmpty()) {
      failure = Grab(form, argument);
    } else if (verb == QStringLiteral("page") && !argument.isEmpty()) {
      bool ok = false;
      const int page = argument.toInt(&ok);
      if (!ok || page < 0 || page >= form.PageControl1->count()) failure = QStringLiteral("no such page: ") + argument;
      if (failure.isEmpty()) form.PageControl1->setCurrentIndex(page);
    } else if (verb == QStringLiteral("load") && !argument.isEmpty()) {
      failure = Load(form, argument);
    } else if (verb == QStringLiteral("scroll") && !argument.isEmpty()) {
      failure = Scroll(form, argument);
    } else if (verb == QStringLiteral("labels") && !argument.isEmpty()) {
      const QStringList modes = {QStringLiteral("all"), QStringLiteral("junctions"), QStringLiteral("none")};
      const auto mode = static_cast<int32_t>(modes.indexOf(argument));
      if (mode < 0) failure = QStringLiteral("labels takes all, junctions or none: ") + argument;
      if (failure.isEmpty()) {
        form.DisplaySettings.LabelShow = mode;
        form.PaintBox1->update();
      }
    } else if (verb == QStringLiteral("quit") && argument.isEmpty()) {
      form.close();
    } else {
      failure = QStringLiteral("unknown step: ") + step;
    }
    if (!failure.isEmpty()) return failure;
    QApplication::processEvents();
  }
  return {};
}
