// The File menu: loading and saving graph files and exporting the drawing.

#include "app/file_commands.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

#include "app/main_window.h"
#include "app/paint_box.h"
#include "sources/graph_file.h"

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
  // LoadGraph keeps the graph it is given as it was when the file is bad;
  // loading aside keeps the loop browser too.
  TSurveyGraph loaded;
  LoadGraph(QFile::encodeName(name).toStdString(), loaded);
  FitDrawingArea(loaded);
  ReplaceWorkGraph(loaded);
}

void TForm1::SaveFile1Click() {
  const QString name = ChooseFile(SaveGraphRequest());
  if (name.isEmpty()) return;
  SaveGraph(QFile::encodeName(name).toStdString(), *WorkGraph);
}
