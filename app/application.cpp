#include "app/application.h"

#include <QMessageBox>

#include "sources/graph_file.h"
#include "support/file_errors.h"

namespace {

TErrorPresenter& Presenter() {
  static TErrorPresenter presenter;
  return presenter;
}

QString& HelpFile() {
  static QString name;
  return name;
}

}  // namespace

TCyclornApplication::TCyclornApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Cyclorn"));
}

bool TCyclornApplication::notify(QObject* receiver, QEvent* event) {
  // The commands catch their own failures (RunCommand); this is the backstop
  // for anything else an event handler lets out, such as a paint.
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowErrorMessage(ErrorMessageOf(error));
    return false;
  }
}

void SetApplicationHelpFile(const QString& name) { HelpFile() = name; }

QString ApplicationHelpFile() { return HelpFile(); }

void SetErrorPresenter(TErrorPresenter presenter) { Presenter() = std::move(presenter); }

void ShowErrorMessage(const QString& message) {
  if (Presenter()) {
    Presenter()(message);
    return;
  }
  QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), message);
}

QString ErrorMessageOf(const std::exception& error) {
  QString message = QString::fromUtf8(error.what());
  if (const auto* writeError = dynamic_cast<const EFileError*>(&error); writeError && !writeError->FileName().empty()) {
    message = QString::fromStdString(writeError->FileName()) + QStringLiteral(": ") + message;
  }
  if (const auto* fileError = dynamic_cast<const EInOutError*>(&error); fileError && fileError->Line() > 0) {
    message += QStringLiteral(" (line %1)").arg(fileError->Line());
  }
  return message;
}
