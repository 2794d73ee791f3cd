#pragma once
// The single-line edit with a text alignment, the units panel, and the base of
// the spin edits that puts an edit, a units panel and an up/down pair together.

#include <QLabel>
#include <QLineEdit>

class TUpDownButton;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A single-line edit whose text is left-justified, right-justified or centred.
class TCustomEditEx : public QLineEdit {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TCustomEditEx)

 public:
  explicit TCustomEditEx(QWidget* parent = nullptr);

  TAlignment Alignment() const { return textAlignment; }
  void SetAlignment(TAlignment value);

 private:
  TAlignment textAlignment = taLeftJustify;
};

// The small raised panel that shows a spin's units text.
class TDisPanel final : public QLabel {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TDisPanel)

 public:
  explicit TDisPanel(QWidget* parent = nullptr);
};

// The spin-edit base: the edit's text with a units panel and an up/down pair at
// its right edge, inside the edit's frame. The text shows "0" after creation.
class TCustomSpin : public TCustomEditEx {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TCustomSpin)

 public:
  explicit TCustomSpin(QWidget* parent = nullptr);
  ~TCustomSpin() override;

  TUpDownButton* UpDownButton() const { return upDown; }
  TDisPanel* UnitsPanel() const { return unitsPanel; }

  // Whether the user may type, cut and paste (the key filter of a descendant asks it too).
  bool EditorEnabled() const { return editorEnabled; }
  void SetEditorEnabled(bool on);
  bool UseLimit() const { return useLimit; }
  void SetUseLimit(bool on) { useLimit = on; }
  bool Wrap() const { return wrap; }
  void SetWrap(bool on) { wrap = on; }
  // While true, text changes do not raise Change.
  bool BlockChangeEvent() const { return blockChangeEvent; }
  void SetBlockChangeEvent(bool on) { blockChangeEvent = on; }
  // Whether entering the spin by keyboard or an arrow selects the whole text (on after creation).
  bool AutoSelect() const { return autoSelect; }
  void SetAutoSelect(bool on) { autoSelect = on; }

  // The units text shown right of the number; the panel shows exactly when it is not empty.
  QString UnitsString() const;
  void SetUnitsString(const QString& units);
  // Fixed width of the units panel; 0 fits the panel to its text (text width + 6).
  int PanelWidth() const { return panelWidth; }
  void SetPanelWidth(int width);

  QString Text() const { return text(); }
  void SetText(const QString& value) { setText(value); }
  void SetReadOnly(bool on) { setReadOnly(on); }

  // Least height that shows the font: its character height + 2 x border + 2.
  int MinHeight() const;

  // Cut and paste, carried out only while EditorEnabled and not read-only.
  void Cut();
  void Paste();

 Q_SIGNALS:
  // The text changed (not raised while BlockChangeEvent is on).
  void Change();
  // A value wrapped: 0 past the upper limit, 1 past the lower limit.
  void Wrapped(int mode);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  void LayoutChildren();
  void UpdatePanel();
  void UpdateEnabledLook();
  bool MayEdit() const { return editorEnabled && !isReadOnly(); }

  TUpDownButton* upDown;
  TDisPanel* unitsPanel;
  bool editorEnabled = true;
  bool useLimit = false;
  bool wrap = false;
  bool blockChangeEvent = false;
  bool autoSelect = true;
  int panelWidth = 0;
};
