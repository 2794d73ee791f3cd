// The File menu: loading and saving graph files and exporting the drawing.

#include "app/file_commands.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStatusBar>

#include "app/main_window.h"

namespace {

const QString kGraphFilter = QStringLiteral("Graph Files (*.grf);;All Files (*)");

}  // namespace

QString RunFileDialog(const TFileDialogRequest& request) {
  QFileDialog dialog(QApplication::activeWindow(), request.Title, QDir::currentPath(), request.Filter);
  dialog.setAcceptMode(request.Kind == TFileDialogRequest::fkSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.Kind == TFileDialogRequest::fkSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  dialog.setDefaultSuffix(request.DefaultSuffix);
  if (!request.FileName.contains(QLatin1Char('*'))) dialog.selectFile(request.FileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

TFileDialogRequest LoadGraphRequest() {
  return {TFileDialogRequest::fkOpen, QStringLiteral("Load Graph"), QStringLiteral("*.grf"), kGraphFilter, {}};
}

TFileDialogRequest SaveGraphRequest() {
  return {TFileDialogRequest::fkSave, QStringLiteral("Save Graph"), QStringLiteral("*.grf"), kGraphFilter, {}};
}

TFileDialogRequest SaveMetafileRequest() {
  return {TFileDialogRequest::fkSave, QStringLiteral("Save Metafile"), QStringLiteral("*.emf"),
          QStringLiteral("Metafiles (*.emf);;All Files (*)"), QStringLiteral("emf")};
}

void TForm1::LoadFile1Click() {
  const QString name = ChooseFile(LoadGraphRequest());
  if (name.isEmpty()) return;
  // The workbench loads aside: a bad file keeps the network and the loop browser.
  const std::string warning = Workbench.Load(QFile::encodeName(name).toStdString());
  FitDrawingArea(*WorkGraph);
  WorkGraphReplaced();
  // A file that ended early loads as declared, and the status line says what it lacked.
  if (warning.empty())
    statusBar()->clearMessage();
  else
    statusBar()->showMessage(name + QStringLiteral(": warning: ") + QString::fromStdString(warning));
}

void TForm1::SaveFile1Click() {
  const QString name = ChooseFile(SaveGraphRequest());
  if (name.isEmpty()) return;
  Workbench.Save(QFile::encodeName(name).toStdString());
}
