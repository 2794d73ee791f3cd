#pragma once
// The file dialogs of the main window, described as plain requests so that
// the window can ask a real dialog or, in tests, a stand-in.

#include <QString>
#include <functional>

struct TFileDialogRequest {
  enum TKind { fkOpen, fkSave };
  TKind Kind = fkOpen;
  QString Title;          // empty: the dialog's own title
  QString FileName;       // proposed name, e.g. "*.grf"
  QString Filter;         // Qt filter list, e.g. "Graph Files (*.grf);;All Files (*)"
  QString DefaultSuffix;  // appended to a name typed without extension; empty: none
};

// Returns the chosen file name, or an empty string when the user cancels.
using TFileChooser = std::function<QString(const TFileDialogRequest& request)>;

// The platform's file dialog: starts in the current directory and, when
// saving, asks before overwriting an existing file.
QString RunFileDialog(const TFileDialogRequest& request);

// The requests of the File menu commands.
TFileDialogRequest LoadGraphRequest();
TFileDialogRequest OpenSurveyRequest();
TFileDialogRequest SaveGraphRequest();
TFileDialogRequest SaveMetafileRequest();
