#include "render_qt/display_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <algorithm>
#include <utility>

#include "controls/integer_spin.h"
#include "render_qt/qt_conversions.h"

namespace {

constexpr int kClientWidth = 313;
constexpr int kClientHeight = 234;

std::optional<QColor> RunColorDialog(const QColor& initial, QWidget* parent) {
  const QColor chosen = QColorDialog::getColor(initial, parent);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

std::optional<QFont> RunFontDialog(const QFont& initial, QWidget* parent) {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, initial, parent);
  if (!ok) return std::nullopt;
  return chosen;
}

// The small picture on the right of the "Font" button.
QIcon FontIcon(const QFont& font) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  QFont bold = font;
  bold.setBold(true);
  bold.setPixelSize(13);
  painter.setFont(bold);
  painter.setPen(QColor(128, 0, 0));
  painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("A"));
  return QIcon(pixmap);
}

QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromUtf8(name));
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TDisplayDlg::TDisplayDlg(TDisplaySettings& settings, std::function<void()> repaint, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      repaint_(std::move(repaint)),
      colorChooser_(RunColorDialog),
      fontChooser_(RunFontDialog) {
  setObjectName(QStringLiteral("DisplayDlg"));
  setWindowTitle(QStringLiteral("Display Options"));
  setFixedSize(kClientWidth, kClientHeight);
  setFont(ToQFont(TFontSpec{}));
  setBackgroundRole(QPalette::Button);
  setAutoFillBackground(true);

  QPushButton* fontButton = AddButton(this, "EditFontsBtn", QStringLiteral("Font"), {8, 8, 137, 28});
  fontButton->setIcon(FontIcon(font()));
  fontButton->setLayoutDirection(Qt::RightToLeft);  // the picture sits right of the caption
  connect(fontButton, &QPushButton::clicked, this, [this] { ChooseFont(); });

  const struct {
    const char* name;
    QString caption;
    int top;
    TColor TDisplaySettings::*setting;
  } colorButtons[] = {
      {"LineColorBtn", QStringLiteral("Line Color "), 40, &TDisplaySettings::LineColor},
      {"BackColorBtn", QStringLiteral("Background Color"), 72, &TDisplaySettings::BackColor},
      {"LoopColorBtn", QStringLiteral("Loop Color"), 104, &TDisplaySettings::LoopColor},
      {"LabelColorBtn", QStringLiteral("Label Color"), 136, &TDisplaySettings::LabelColor},
      {"ArrowColorBtn", QStringLiteral("Arrow Color"), 168, &TDisplaySettings::ArrowColor},
  };
  for (const auto& b : colorButtons) {
    QPushButton* button = AddButton(this, b.name, b.caption, {8, b.top, 137, 28});
    connect(button, &QPushButton::clicked, this, [this, setting = b.setting] { ChooseColor(setting); });
  }

  auto* showArrow = showArrowChk_ = new QCheckBox(QStringLiteral("Show Arrow"), this);
  showArrow->setObjectName(QStringLiteral("ShowArrowChk"));
  showArrow->setGeometry(168, 16, 97, 17);
  showArrow->setChecked(settings_.ShowArrow);
  connect(showArrow, &QCheckBox::toggled, this, [this](bool on) {
    settings_.ShowArrow = on;
    Changed();
  });

  auto* labelRadio = new QGroupBox(QStringLiteral("Labels"), this);
  labelRadio->setObjectName(QStringLiteral("LabelRadio"));
  labelRadio->setGeometry(160, 40, 129, 49);
  auto* labelItems = labelItems_ = new QButtonGroup(labelRadio);
  const QString labelCaptions[] = {QStringLiteral("Station"), QStringLiteral("Index")};
  const char* const labelNames[] = {"StationLabelRadio", "IndexLabelRadio"};
  for (int item = 0; item < 2; ++item) {
    auto* radio = new QRadioButton(labelCaptions[item], labelRadio);
    radio->setObjectName(QString::fromLatin1(labelNames[item]));
    radio->setGeometry(8, 15 + 15 * item, 113, 16);
    labelItems->addButton(radio, item);
  }
  labelItems->button(settings_.LabelMode == lmIndex ? lmIndex : lmStation)->setChecked(true);
  // A click on the item already chosen still repaints.
  connect(labelItems, &QButtonGroup::idClicked, this, [this](int item) {
    settings_.LabelMode = item;
    Changed();
  });

  auto* widthLabel = new QLabel(QStringLiteral("Line Width"), this);
  widthLabel->setObjectName(QStringLiteral("Label1"));
  widthLabel->setGeometry(168, 96, 51, 13);
  // The caption sizes itself to its text, which the stand-in font may make wider.
  widthLabel->resize(std::max(widthLabel->width(), widthLabel->sizeHint().width()), widthLabel->height());

  lineWidthSpin_ = new TIntegerSpin(this);
  lineWidthSpin_->setObjectName(QStringLiteral("LineWidthSpin"));
  lineWidthSpin_->setGeometry(168, 112, 73, 22);
  lineWidthSpin_->SetUseLimit(true);
  lineWidthSpin_->SetMinValue(TDisplaySettings::kMinLineWidth);
  lineWidthSpin_->SetMaxValue(TDisplaySettings::kMaxLineWidth);
  lineWidthSpin_->SetIncrement(1);
  lineWidthSpin_->SetValue(settings_.LineWidth);
  widthLabel->setBuddy(lineWidthSpin_);
  // The spin holds its value within the limits and falls back to the last
  // good one for text that is no number, so the width is always 1 to 5.
  connect(lineWidthSpin_, &TIntegerSpin::Change, this, [this] {
    settings_.LineWidth = static_cast<int32_t>(lineWidthSpin_->Value());
    Changed();
  });

  auto* showLabel = new QLabel(QStringLiteral("Show Labels"), this);
  showLabel->setObjectName(QStringLiteral("Label2"));
  showLabel->setGeometry(168, 140, 121, 13);
  labelShowCombo_ = new QComboBox(this);
  labelShowCombo_->setObjectName(QStringLiteral("LabelShowCombo"));
  labelShowCombo_->setGeometry(168, 156, 137, 22);
  labelShowCombo_->addItems(
      {QStringLiteral("At Every Station"), QStringLiteral("At Junctions and Ends"), QStringLiteral("None")});
  labelShowCombo_->setCurrentIndex(settings_.LabelShow);
  showLabel->setBuddy(labelShowCombo_);
  connect(labelShowCombo_, &QComboBox::activated, this, [this](int item) {
    settings_.LabelShow = item;
    Changed();
  });

  QPushButton* okButton = AddButton(this, "OKBtn", QStringLiteral("OK"), {7, 204, 75, 25});
  okButton->setDefault(true);
  connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
  QPushButton* cancelButton = AddButton(this, "CancelBtn", QStringLiteral("Cancel"), {231, 196, 75, 25});
  connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TDisplayDlg::showEvent(QShowEvent* event) {
  opened_ = settings_;
  ShowSettingsInControls();
  QDialog::showEvent(event);
}

void TDisplayDlg::reject() {
  const bool changed = !(settings_ == opened_);
  settings_ = opened_;
  ShowSettingsInControls();
  if (changed) Changed();
  QDialog::reject();
}

void TDisplayDlg::ShowSettingsInControls() {
  // The controls follow the settings here; they report no change of their own.
  const QSignalBlocker arrow(showArrowChk_);
  showArrowChk_->setChecked(settings_.ShowArrow);
  const QSignalBlocker labels(labelItems_);
  labelItems_->button(settings_.LabelMode == lmIndex ? lmIndex : lmStation)->setChecked(true);
  lineWidthSpin_->SetValueSilently(settings_.LineWidth);
  const QSignalBlocker show(labelShowCombo_);
  labelShowCombo_->setCurrentIndex(std::clamp(settings_.LabelShow, 0, labelShowCombo_->count() - 1));
}

void TDisplayDlg::SetColorChooser(TColorChooser chooser) { colorChooser_ = std::move(chooser); }
void TDisplayDlg::SetFontChooser(TFontChooser chooser) { fontChooser_ = std::move(chooser); }

void TDisplayDlg::ChooseColor(TColor TDisplaySettings::*setting) {
  if (const std::optional<QColor> chosen = colorChooser_(ToQColor(settings_.*setting), this))
    settings_.*setting = ToTColor(*chosen);
  Changed();
}

void TDisplayDlg::ChooseFont() {
  // Preset to the label font and keep it on Cancel. Taking whatever font the
  // drawing surface last held would turn a cancelled dialog into a change of
  // the label font whenever the last picture had no labels.
  if (const std::optional<QFont> chosen = fontChooser_(ToQFont(settings_.LabelFont), this))
    settings_.LabelFont = ToFontSpec(*chosen, settings_.LabelFont.Color);
  Changed();
}

void TDisplayDlg::Changed() {
  if (repaint_) repaint_();
}
