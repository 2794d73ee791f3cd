#pragma once
// TDisplayDlg, "Display Options": edits the display settings the main window
// owns. Every change is applied to the settings at once and followed by the
// repaint callback, so the picture behind the dialog shows it; OK keeps the
// changes, Cancel (or Escape, or closing the dialog) puts back the settings
// as they were when the dialog opened and repaints once more.

#include <QColor>
#include <QDialog>
#include <QFont>
#include <functional>
#include <optional>

#include "render/display_settings.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class TIntegerSpin;

class TDisplayDlg final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TDisplayDlg)

 public:
  // Runs a colour chooser preset to `initial`; nothing when the user cancels.
  using TColorChooser = std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)>;
  // Runs a font chooser preset to `initial`; nothing when the user cancels.
  using TFontChooser = std::function<std::optional<QFont>(const QFont& initial, QWidget* parent)>;

  // The controls start from `settings`, which must outlive the dialog;
  // `repaint` is called after every change a control makes.
  explicit TDisplayDlg(TDisplaySettings& settings, std::function<void()> repaint, QWidget* parent = nullptr);

  // Replace the platform's colour and font dialogs (tests use this).
  void SetColorChooser(TColorChooser chooser);
  void SetFontChooser(TFontChooser chooser);

  // Restores the settings the dialog opened with, then closes it.
  void reject() override;

 protected:
  // Takes the settings as they are now: the controls show them, and Cancel returns to them.
  void showEvent(QShowEvent* event) override;

 private:
  void ShowSettingsInControls();
  void ChooseColor(TColor TDisplaySettings::*setting);
  void ChooseFont();
  void Changed();

  TDisplaySettings& settings_;
  std::function<void()> repaint_;
  TColorChooser colorChooser_;
  TFontChooser fontChooser_;
  TIntegerSpin* lineWidthSpin_ = nullptr;
  QComboBox* labelShowCombo_ = nullptr;  // which stations get a label
  QCheckBox* showArrowChk_ = nullptr;
  QButtonGroup* labelItems_ = nullptr;
  TDisplaySettings opened_;  // the settings when the dialog opened
};
