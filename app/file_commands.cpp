// The File menu: loading and saving graph files and exporting the drawing.

#include "app/file_commands.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStatusBar>

#include "app/application.h"
#include "app/main_window.h"
#include "surveys/survey_summary.h"

namespace {

const QString kGraphFilter = QStringLiteral("Graph Files (*.grf);;All Files (*)");
const QString kSurveyFilter = QStringLiteral("Survey Files (*.3d *.svx);;All Files (*)");

// "wmf" for a filter "Windows Metafiles (*.wmf)"; empty for one of any file.
QString FilterSuffix(const QString& filter) {
  const qsizetype star = filter.lastIndexOf(QStringLiteral("(*."));
  if (star < 0 || !filter.endsWith(QLatin1Char(')'))) return {};
  return filter.mid(star + 3, filter.size() - star - 4);
}

}  // namespace

QString RunFileDialog(const TFileDialogRequest& request) {
  QFileDialog dialog(QApplication::activeWindow(), request.Title, QDir::currentPath(), request.Filter);
  dialog.setAcceptMode(request.Kind == TFileDialogRequest::fkSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.Kind == TFileDialogRequest::fkSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  dialog.setDefaultSuffix(request.DefaultSuffix);
  // A name typed without an extension takes that of the chosen kind of file.
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &request](const QString& filter) {
    const QString suffix = FilterSuffix(filter);
    dialog.setDefaultSuffix(suffix.isEmpty() ? request.DefaultSuffix : suffix);
  });
  if (!request.FileName.contains(QLatin1Char('*'))) dialog.selectFile(request.FileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

TFileDialogRequest LoadGraphRequest() {
  // Surveys load here too; the graph files stay the first choice.
  return {TFileDialogRequest::fkOpen,
          QStringLiteral("Load Graph"),
          QStringLiteral("*.grf"),
          QStringLiteral("Graph Files (*.grf);;Survey Files (*.3d *.svx);;All Files (*)"),
          {}};
}

TFileDialogRequest OpenSurveyRequest() {
  return {TFileDialogRequest::fkOpen, QStringLiteral("Open Survey"), QStringLiteral("*.3d"), kSurveyFilter, {}};
}

TFileDialogRequest SaveGraphRequest() {
  return {TFileDialogRequest::fkSave, QStringLiteral("Save Graph"), QStringLiteral("*.grf"), kGraphFilter, {}};
}

TFileDialogRequest SaveMetafileRequest() {
  return {TFileDialogRequest::fkSave, QStringLiteral("Save Metafile"), QStringLiteral("*.emf"),
          QStringLiteral("Enhanced Metafiles (*.emf);;Windows Metafiles (*.wmf);;SVG Pictures (*.svg);;"
                         "PNG Pictures (*.png);;All Files (*)"),
          QStringLiteral("emf")};
}

void TForm1::LoadFile1Click() { LoadNetworkFile(ChooseFile(LoadGraphRequest())); }

void TForm1::OpenSurvey1Click() { LoadNetworkFile(ChooseFile(OpenSurveyRequest())); }

void TForm1::LoadNetworkFile(const QString& name) {
  if (name.isEmpty()) return;
  // The workbench loads aside: a bad file keeps the network and the loop
  // browser. The message names the file, unless it does already.
  std::string warning;
  try {
    warning = Workbench.Load(QFile::encodeName(name).toStdString());
  } catch (const std::exception& error) {
    const QString message = ErrorMessageOf(error);
    ShowErrorMessage(message.startsWith(name) ? message : name + QStringLiteral(": ") + message);
    return;
  }
  FitDrawingArea(*WorkGraph);
  WorkGraphReplaced();
  // A file that ended early loads as declared, and the status line says what
  // it lacked; a survey's line says what it holds.
  // A drawing area too small for the network says so too.
  QStringList notes;
  if (!warning.empty()) notes.append(name + QStringLiteral(": warning: ") + QString::fromStdString(warning));
  if (Workbench.Survey() != nullptr) notes.append(SurveyStatusText());
  if (!DrawingAreaNote.isEmpty()) notes.append(DrawingAreaNote);
  statusBar()->showMessage(notes.join(QStringLiteral("; ")));
}

void TForm1::SurveyLegsChanged() {
  TLegChoice choice;
  choice.Splays = SurveySplays1->isChecked();
  choice.Surface = SurveySurface1->isChecked();
  choice.Duplicates = SurveyDuplicates1->isChecked();
  Workbench.ChooseLegs(choice);
  if (Workbench.Survey() == nullptr) return;
  FitDrawingArea(*WorkGraph);
  WorkGraphReplaced();
  statusBar()->showMessage(DrawingAreaNote.isEmpty() ? SurveyStatusText()
                                                     : SurveyStatusText() + QStringLiteral("; ") + DrawingAreaNote);
}

QString TForm1::SurveyStatusText() const {
  const TSurvey& survey = *Workbench.Survey();
  const TSurveyNetwork& network = Workbench.Network();
  const TSurveyCounts counts = CountSurvey(survey, network, *WorkGraph);
  // "1 loop", "2 loops".
  const auto counted = [](int64_t count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromLatin1(count == 1 ? one : many));
  };
  QString text = survey.Title.empty() ? QStringLiteral("Survey") : QString::fromStdString(survey.Title);
  text += QStringLiteral(": ") + counted(counts.NetworkStations, "station", "stations") + QStringLiteral(", ") +
          counted(counts.Shots, "shot", "shots") + QStringLiteral(", ") + counted(counts.Pieces, "piece", "pieces") +
          QStringLiteral(", ") + counted(counts.Loops, "loop", "loops");
  QStringList leftOut;
  const auto add = [&](int64_t count, const char* one, const char* many) {
    if (count > 0) leftOut.append(counted(count, one, many));
  };
  add(network.SplaysLeftOut, "splay", "splays");
  add(network.SurfaceLeftOut, "surface leg", "surface legs");
  add(network.DuplicatesLeftOut, "duplicate leg", "duplicate legs");
  add(counts.ZeroLengthLegs, "zero-length leg", "zero-length legs");
  add(network.SelfLegsLeftOut, "leg joining a station to itself", "legs joining a station to itself");
  if (!leftOut.isEmpty()) text += QStringLiteral("; left out: ") + leftOut.join(QStringLiteral(", "));
  // Stations a processed file gives as one position are one station.
  if (counts.SharedPositions > 0)
    text += QStringLiteral("; ") + counted(counts.SharedPositions, "name shares", "names share") +
            QStringLiteral(" a position with another");
  text += QStringLiteral("; scale %1 units a metre").arg(QString::fromStdString(FormatDrawingScale(network.Scale)));
  return text;
}

void TForm1::SaveFile1Click() {
  const QString name = ChooseFile(SaveGraphRequest());
  if (name.isEmpty()) return;
  Workbench.Save(QFile::encodeName(name).toStdString());
}
