#include "app/automation.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTabWidget>
#include <QWidget>

#include "app/main_window.h"
#include "app/paint_box.h"

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

QString Grab(QWidget& widget, const QString& file) {
  // Let pending repaints and layout settle so the picture is the one shown.
  QApplication::processEvents();
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
    } else if (verb == QStringLiteral("grab-window") && !argument.isEmpty()) {
      failure = Grab(form, argument);
    } else if (verb == QStringLiteral("page") && !argument.isEmpty()) {
      bool ok = false;
      const int page = argument.toInt(&ok);
      if (!ok || page < 0 || page >= form.PageControl1->count()) failure = QStringLiteral("no such page: ") + argument;
      if (failure.isEmpty()) form.PageControl1->setCurrentIndex(page);
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
