#include "controls/custom_spin.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>

#include "controls/auto_button.h"
#include "controls/up_down_button.h"

namespace {

// The edit's frame, inside which the up/down pair sits, and the system border height.
constexpr int kFrameWidth = 2;
constexpr int kBorderHeight = 1;
// Room between the text and the up/down pair.
constexpr int kTextGap = 2;
// Margin of the units text inside its panel.
constexpr int kPanelTextMargin = 6;

Qt::Alignment QtAlignment(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify:
      return Qt::AlignRight | Qt::AlignVCenter;
    case taCenter:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    case taLeftJustify:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

TCustomEditEx::TCustomEditEx(QWidget* parent) : QLineEdit(parent) { setAlignment(QtAlignment(textAlignment)); }

void TCustomEditEx::SetAlignment(TAlignment value) {
  if (value == textAlignment) return;
  textAlignment = value;
  setAlignment(QtAlignment(textAlignment));
}

TDisPanel::TDisPanel(QWidget* parent) : QLabel(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(1);
  setAlignment(Qt::AlignCenter);
  setTextFormat(Qt::PlainText);
  setAutoFillBackground(true);
  // Black text while enabled, grey (128, 128, 128) while disabled.
  QPalette colours = palette();
  colours.setColor(QPalette::Active, QPalette::WindowText, Qt::black);
  colours.setColor(QPalette::Inactive, QPalette::WindowText, Qt::black);
  colours.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
  setPalette(colours);
}

TCustomSpin::TCustomSpin(QWidget* parent)
    : TCustomEditEx(parent), upDown(new TUpDownButton(this)), unitsPanel(new TDisPanel(this)) {
  setText(QStringLiteral("0"));
  upDown->SetFocusControl(this);
  upDown->setCursor(Qt::ArrowCursor);
  upDown->setGeometry(0, 0, 15, 17);
  unitsPanel->setCursor(Qt::ArrowCursor);
  unitsPanel->setGeometry(0, 0, 0, 17);
  unitsPanel->hide();
  connect(this, &QLineEdit::textChanged, this, [this] {
    if (!blockChangeEvent) Q_EMIT Change();
  });
  // Scripts press the arrows by name: "<spin>Up" and "<spin>Down".
  connect(this, &QObject::objectNameChanged, this, [this](const QString& name) {
    upDown->setObjectName(name + QStringLiteral("UpDown"));
    upDown->UpButton()->setObjectName(name + QStringLiteral("Up"));
    upDown->DownButton()->setObjectName(name + QStringLiteral("Down"));
  });
  LayoutChildren();
}

TCustomSpin::~TCustomSpin() = default;

void TCustomSpin::SetEditorEnabled(bool on) {
  editorEnabled = on;
  // Dropping text is editing too.
  setAcceptDrops(on);
}

QString TCustomSpin::UnitsString() const { return unitsPanel->text(); }

void TCustomSpin::SetUnitsString(const QString& units) {
  unitsPanel->setText(units);
  unitsPanel->setVisible(!units.isEmpty());
  UpdatePanel();
}

void TCustomSpin::SetPanelWidth(int width) {
  if (width == panelWidth) return;
  panelWidth = width;
  UpdatePanel();
}

int TCustomSpin::MinHeight() const { return QFontMetrics(font()).height() + 2 * kBorderHeight + 2; }

void TCustomSpin::Cut() {
  if (MayEdit()) cut();
}

void TCustomSpin::Paste() {
  if (MayEdit()) paste();
}

void TCustomSpin::UpdatePanel() {
  const QString caption = unitsPanel->text();
  int width = 0;
  if (!caption.isEmpty()) {
    width =
        panelWidth != 0 ? panelWidth : QFontMetrics(unitsPanel->font()).horizontalAdvance(caption) + kPanelTextMargin;
  }
  unitsPanel->resize(width, unitsPanel->height());
  LayoutChildren();
}

void TCustomSpin::resizeEvent(QResizeEvent* event) {
  TCustomEditEx::resizeEvent(event);
  if (height() < MinHeight()) {
    // The resize lays the spin out again.
    resize(width(), MinHeight());
    return;
  }
  LayoutChildren();
}

void TCustomSpin::LayoutChildren() {
  const int bw = upDown->width();
  if (hasFrame()) {
    upDown->setGeometry(width() - bw - kFrameWidth, kFrameWidth, bw, height() - 2 * kFrameWidth);
  } else {
    upDown->setGeometry(width() - bw - 1, 1, bw, height() - 2);
  }
  const int pw = unitsPanel->width();
  unitsPanel->setGeometry(upDown->x() - pw, upDown->y(), pw, upDown->height());
  // The text ends left of the units panel and the arrows.
  setTextMargins(0, 0, bw + kTextGap + (unitsPanel->isVisibleTo(this) ? pw : 0), 0);
}

void TCustomSpin::changeEvent(QEvent* event) {
  TCustomEditEx::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    UpdatePanel();
    if (height() < MinHeight()) resize(width(), MinHeight());
  }
}

void TCustomSpin::keyPressEvent(QKeyEvent* event) {
  if ((event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste)) && !MayEdit()) {
    event->accept();
    return;
  }
  TCustomEditEx::keyPressEvent(event);
}

void TCustomSpin::mouseReleaseEvent(QMouseEvent* event) {
  // The middle button pastes the selection on some platforms.
  if (event->button() == Qt::MiddleButton && !MayEdit()) {
    event->accept();
    return;
  }
  TCustomEditEx::mouseReleaseEvent(event);
}

void TCustomSpin::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createStandardContextMenu();
  if (!MayEdit()) {
    for (QAction* action : menu->actions()) {
      if (action->objectName() == QStringLiteral("edit-cut") || action->objectName() == QStringLiteral("edit-paste")) {
        action->setEnabled(false);
      }
    }
  }
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
}

void TCustomSpin::focusInEvent(QFocusEvent* event) {
  TCustomEditEx::focusInEvent(event);
  // A press on the arrows selects the text as keyboard entry does; a press on the text places the cursor.
  const bool pressOnText = event->reason() == Qt::MouseFocusReason && !upDown->underMouse();
  if (autoSelect && !pressOnText) selectAll();
}
