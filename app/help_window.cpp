#include "app/help_window.h"

#include <QFile>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "core/errors.h"

// The help text lives in the app library; a static library's resources are
// registered explicitly so the linker keeps them.
void RegisterHelpResource() { Q_INIT_RESOURCE(help); }

QString HelpResourcePath(const QString& helpFile) { return QStringLiteral(":/help/") + helpFile; }

THelpWindow::THelpWindow(const QString& helpFile, QWidget* parent) : QWidget(parent, Qt::Window) {
  RegisterHelpResource();
  const QString path = HelpResourcePath(helpFile);
  if (helpFile.isEmpty() || !QFile::exists(path)) {
    throw ECyclornError("Cannot open the help file \"" + helpFile.toStdString() + "\"");
  }
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Cyclorn Help"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  Browser = new QTextBrowser(this);
  Browser->setOpenExternalLinks(false);
  // The help file's name carries no type of its own; its contents are HTML.
  Browser->setSource(QUrl(QStringLiteral("qrc") + path), QTextDocument::HtmlResource);
  layout->addWidget(Browser);
  resize(640, 560);
}
