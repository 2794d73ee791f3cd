#include "render_qt/display_dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <vector>

#include "controls/integer_spin.h"
#include "render/renderer.h"
#include "render_qt/qt_conversions.h"
#include "tests/render/recording_canvas.h"

using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

// A dialog over its own settings whose repaint draws a one-edge graph onto a
// recording canvas, and whose colour and font choosers answer as the test says.
class DisplayDialog : public ::testing::Test {
 protected:
  DisplayDialog() {
    graph.AddStation("A", {100, 50, 0});
    graph.AddStation("B", {200, 50, 0});
    graph.AddEdgeByIndex(0, 1);
    dialog = std::make_unique<TDisplayDlg>(settings, [this] {
      ++repaints;
      picture = TRecordingCanvas{};
      DrawGraph(picture, graph, settings);
    });
    dialog->SetColorChooser([this](const QColor& initial, QWidget*) {
      colorPresets.push_back(initial);
      return colorAnswer;
    });
    dialog->SetFontChooser([this](const QFont& initial, QWidget*) {
      fontPresets.push_back(initial);
      return fontAnswer;
    });
    dialog->open();
  }

  template <class T>
  T* Control(const char* name) {
    T* control = dialog->findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  void Click(const char* name) { QTest::mouseClick(Control<QAbstractButton>(name), Qt::LeftButton); }

  TSurveyGraph graph;
  TDisplaySettings settings;
  int repaints = 0;
  TRecordingCanvas picture;
  std::optional<QColor> colorAnswer;
  std::optional<QFont> fontAnswer;
  std::vector<QColor> colorPresets;
  std::vector<QFont> fontPresets;
  std::unique_ptr<TDisplayDlg> dialog;
};

TEST_F(DisplayDialog, ShowsItsControlsWithTheirCaptionsPositionsAndSizes) {
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Display Options"));
  EXPECT_EQ(dialog->size(), QSize(313, 234));
  EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
  const struct {
    const char* name;
    const char* caption;
    QRect geometry;
  } buttons[] = {
      {"EditFontsBtn", "Font", {8, 8, 137, 28}},
      {"LineColorBtn", "Line Color ", {8, 40, 137, 28}},
      {"BackColorBtn", "Background Color", {8, 72, 137, 28}},
      {"LoopColorBtn", "Loop Color", {8, 104, 137, 28}},
      {"LabelColorBtn", "Label Color", {8, 136, 137, 28}},
      {"ArrowColorBtn", "Arrow Color", {8, 168, 137, 28}},
      {"ShowArrowChk", "Show Arrow", {168, 16, 97, 17}},
      {"OKBtn", "OK", {7, 204, 75, 25}},
      {"CancelBtn", "Cancel", {231, 196, 75, 25}},
  };
  for (const auto& b : buttons) {
    QAbstractButton* button = Control<QAbstractButton>(b.name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QString::fromUtf8(b.caption)) << b.name;
    EXPECT_EQ(button->geometry(), b.geometry) << b.name;
  }
  EXPECT_FALSE(Control<QPushButton>("EditFontsBtn")->icon().isNull());
  EXPECT_TRUE(Control<QPushButton>("OKBtn")->isDefault());
  QGroupBox* labels = Control<QGroupBox>("LabelRadio");
  EXPECT_EQ(labels->title(), QStringLiteral("Labels"));
  EXPECT_EQ(labels->geometry(), QRect(160, 40, 129, 49));
  const QList<QRadioButton*> items = labels->findChildren<QRadioButton*>();
  ASSERT_EQ(items.size(), 2);
  EXPECT_EQ(items[0]->text(), QStringLiteral("Station"));
  EXPECT_EQ(items[1]->text(), QStringLiteral("Index"));
  EXPECT_EQ(Control<QLabel>("Label1")->text(), QStringLiteral("Line Width"));
  QLabel* widthLabel = Control<QLabel>("Label1");
  EXPECT_EQ(widthLabel->geometry().topLeft(), QPoint(168, 96));
  EXPECT_EQ(widthLabel->height(), 13);
  EXPECT_GE(widthLabel->width(), std::max(51, widthLabel->sizeHint().width()));
  TIntegerSpin* spin = Control<TIntegerSpin>("LineWidthSpin");
  EXPECT_EQ(spin->geometry(), QRect(168, 112, 73, 22));
  EXPECT_TRUE(spin->UseLimit());
  EXPECT_EQ(spin->MinValue(), 1);
  EXPECT_EQ(spin->MaxValue(), 5);
  EXPECT_EQ(spin->Increment(), 1);
  EXPECT_TRUE(spin->UnitsString().isEmpty());
}

TEST_F(DisplayDialog, StartsFromTheDefaultsWithoutChangingOrRepaintingAnything) {
  EXPECT_TRUE(Control<QCheckBox>("ShowArrowChk")->isChecked());
  EXPECT_TRUE(Control<QGroupBox>("LabelRadio")->findChildren<QRadioButton*>()[0]->isChecked());
  EXPECT_EQ(Control<TIntegerSpin>("LineWidthSpin")->Value(), 1);
  EXPECT_EQ(Control<TIntegerSpin>("LineWidthSpin")->Text(), QStringLiteral("1"));
  EXPECT_EQ(settings, TDisplaySettings{});
  EXPECT_EQ(repaints, 0);
}

TEST(DisplayDialogSettings, ControlsShowTheSettingsTheDialogIsGiven) {
  TDisplaySettings settings;
  settings.ShowArrow = false;
  settings.LabelMode = lmIndex;
  settings.LineWidth = 4;
  TDisplayDlg dialog(settings, [] {});
  EXPECT_FALSE(dialog.findChild<QCheckBox*>(QStringLiteral("ShowArrowChk"))->isChecked());
  EXPECT_TRUE(dialog.findChildren<QRadioButton*>()[1]->isChecked());
  EXPECT_EQ(dialog.findChild<TIntegerSpin*>(QStringLiteral("LineWidthSpin"))->Value(), 4);
}

TEST_F(DisplayDialog, EachColourButtonPresetsTheChooserAndTakesTheChosenColour) {
  const struct {
    const char* name;
    TColor TDisplaySettings::*setting;
  } buttons[] = {
      {"LineColorBtn", &TDisplaySettings::LineColor},   {"BackColorBtn", &TDisplaySettings::BackColor},
      {"LoopColorBtn", &TDisplaySettings::LoopColor},   {"LabelColorBtn", &TDisplaySettings::LabelColor},
      {"ArrowColorBtn", &TDisplaySettings::ArrowColor},
  };
  int shade = 10;
  for (const auto& b : buttons) {
    const TDisplaySettings before = settings;
    colorPresets.clear();
    colorAnswer = QColor(shade, 20, 30);
    Click(b.name);
    EXPECT_THAT(colorPresets, ElementsAre(ToQColor(before.*b.setting))) << b.name;
    TDisplaySettings expected = before;
    expected.*b.setting = TColor::Rgb(static_cast<uint8_t>(shade), 20, 30);
    EXPECT_EQ(settings, expected) << b.name;
    shade += 10;
  }
  EXPECT_EQ(repaints, 5);
  // The last repaint drew with the chosen colours.
  EXPECT_THAT(picture.Log, Contains("BrushColor 20,20,30"));  // background
  EXPECT_THAT(picture.Log, Contains("PenColor 10,20,30"));    // line
  EXPECT_THAT(picture.Log, Contains("BrushColor 40,20,30"));  // label box
  EXPECT_THAT(picture.Log, Contains("BrushColor 50,20,30"));  // arrow head
}

TEST_F(DisplayDialog, CancelledColourDialogKeepsTheOldColourButRepaints) {
  colorAnswer = std::nullopt;
  Click("BackColorBtn");
  EXPECT_EQ(settings.BackColor, clGray);
  EXPECT_EQ(repaints, 1);
  EXPECT_THAT(picture.Only("FillRect"), ElementsAre("FillRect 0 0 1024 768"));
  EXPECT_EQ(picture.Log.front(), "BrushColor 128,128,128");
}

TEST_F(DisplayDialog, CancelPutsBackTheSettingsItOpenedWithAndRepaints) {
  colorAnswer = QColor(0, 0, 255);
  Click("LoopColorBtn");
  Click("ShowArrowChk");
  Control<QGroupBox>("LabelRadio")->findChildren<QRadioButton*>()[1]->click();  // "Index"
  Control<TIntegerSpin>("LineWidthSpin")->SetValue(3);
  ASSERT_EQ(settings.LineWidth, 3);
  const int before = repaints;
  Click("CancelBtn");
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(settings, TDisplaySettings{});
  EXPECT_EQ(repaints, before + 1);
  // Reopened, the controls show the settings, and OK keeps what changed.
  dialog->open();
  EXPECT_TRUE(Control<QCheckBox>("ShowArrowChk")->isChecked());
  EXPECT_EQ(Control<TIntegerSpin>("LineWidthSpin")->Value(), 1);
  colorAnswer = QColor(1, 2, 3);
  Click("LoopColorBtn");
  EXPECT_THAT(colorPresets, ElementsAre(QColor(255, 0, 0), QColor(255, 0, 0)));
  Click("OKBtn");
  EXPECT_EQ(settings.LoopColor, TColor::Rgb(1, 2, 3));
  // Settings changed while it was closed are what it opens with, and Escape cancels.
  settings.ShowArrow = false;
  dialog->open();
  EXPECT_FALSE(Control<QCheckBox>("ShowArrowChk")->isChecked());
  Click("LoopColorBtn");
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(settings.LoopColor, TColor::Rgb(1, 2, 3));
  EXPECT_FALSE(settings.ShowArrow);
}

TEST_F(DisplayDialog, OkClosesWithoutChangingAnything) {
  Click("OKBtn");
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(settings, TDisplaySettings{});
  EXPECT_EQ(repaints, 0);
}

TEST_F(DisplayDialog, TypingNineIntoTheLineWidthDrawsWithWidthFive) {
  TIntegerSpin* spin = Control<TIntegerSpin>("LineWidthSpin");
  spin->setFocus();
  spin->selectAll();
  QTest::keyClicks(spin, QStringLiteral("9"));
  EXPECT_EQ(settings.LineWidth, 5);
  EXPECT_GE(repaints, 1);
  EXPECT_THAT(picture.Only("PenWidth"), Each(std::string("PenWidth 5")));
  EXPECT_THAT(picture.Only("PenWidth"), Not(IsEmpty()));
}

TEST_F(DisplayDialog, LineWidthTextThatIsNoNumberKeepsTheLastGoodWidth) {
  TIntegerSpin* spin = Control<TIntegerSpin>("LineWidthSpin");
  spin->setFocus();
  spin->selectAll();
  QTest::keyClicks(spin, QStringLiteral("3"));
  EXPECT_EQ(spin->Text(), QStringLiteral("3"));
  EXPECT_EQ(settings.LineWidth, 3);
  spin->selectAll();
  QTest::keyClick(spin, Qt::Key_Backspace);
  EXPECT_EQ(spin->Text(), QString());
  EXPECT_EQ(settings.LineWidth, 3);
  // Typed key by key: "4" is a width, "4." and "4.5" are no numbers.
  QTest::keyClicks(spin, QStringLiteral("4.5"));
  EXPECT_EQ(spin->Text(), QStringLiteral("4.5"));
  EXPECT_EQ(settings.LineWidth, 4);
  EXPECT_THAT(picture.Only("PenWidth"), Each(std::string("PenWidth 4")));
}

TEST_F(DisplayDialog, ArrowAndLabelControlsChangeTheDrawingAtOnce) {
  Click("ShowArrowChk");
  EXPECT_FALSE(settings.ShowArrow);
  EXPECT_EQ(repaints, 1);
  EXPECT_THAT(picture.Only("Polygon"), IsEmpty());
  const QList<QRadioButton*> items = Control<QGroupBox>("LabelRadio")->findChildren<QRadioButton*>();
  QTest::mouseClick(items[1], Qt::LeftButton, {}, QPoint(6, 8));
  EXPECT_EQ(settings.LabelMode, lmIndex);
  EXPECT_EQ(repaints, 2);
  EXPECT_THAT(picture.Only("TextExtent"), ElementsAre("TextExtent 0", "TextExtent 1"));
  QTest::mouseClick(items[1], Qt::LeftButton, {}, QPoint(6, 8));  // already chosen: still a repaint
  EXPECT_EQ(repaints, 3);
  QTest::mouseClick(items[0], Qt::LeftButton, {}, QPoint(6, 8));
  EXPECT_EQ(settings.LabelMode, lmStation);
  Click("ShowArrowChk");
  EXPECT_TRUE(settings.ShowArrow);
  EXPECT_EQ(repaints, 5);
  // Which stations are labelled: the picture has no labels at once, and
  // Cancel brings every label back.
  auto* show = Control<QComboBox>("LabelShowCombo");
  ASSERT_NE(show, nullptr);
  EXPECT_EQ(show->currentText(), QStringLiteral("At Every Station"));
  show->setCurrentIndex(lsNone);
  Q_EMIT show->activated(lsNone);
  EXPECT_EQ(settings.LabelShow, lsNone);
  EXPECT_EQ(repaints, 6);
  EXPECT_THAT(picture.Only("TextRect"), IsEmpty());
  Click("CancelBtn");
  EXPECT_EQ(settings.LabelShow, lsAll);
  EXPECT_EQ(show->currentIndex(), lsAll);
}

TEST_F(DisplayDialog, FontButtonTakesTheChosenFontAndKeepsItsColour) {
  settings.LabelFont.Color = TColor::Rgb(9, 8, 7);
  QFont chosen(QStringLiteral("Serif"));
  chosen.setPointSize(12);
  chosen.setItalic(true);
  fontAnswer = chosen;
  Click("EditFontsBtn");
  ASSERT_EQ(fontPresets.size(), 1u);
  EXPECT_EQ(fontPresets[0].pixelSize(), 11);
  EXPECT_EQ(settings.LabelFont.Face, "Serif");
  EXPECT_EQ(settings.LabelFont.Height, -16);
  EXPECT_TRUE(settings.LabelFont.Italic);
  EXPECT_EQ(settings.LabelFont.Color, TColor::Rgb(9, 8, 7));
  EXPECT_EQ(repaints, 1);
  EXPECT_THAT(picture.Only("Font"), Each(std::string("Font Serif -16 9,8,7")));
}

TEST_F(DisplayDialog, CancelledFontDialogKeepsTheLabelFontButRepaints) {
  settings.LabelFont.Face = "Serif";
  settings.LabelFont.Height = -20;
  const TFontSpec before = settings.LabelFont;
  fontAnswer = std::nullopt;
  Click("EditFontsBtn");
  ASSERT_EQ(fontPresets.size(), 1u);
  EXPECT_EQ(fontPresets[0].family(), QStringLiteral("Serif"));
  EXPECT_EQ(fontPresets[0].pixelSize(), 20);
  EXPECT_EQ(settings.LabelFont, before);
  EXPECT_EQ(repaints, 1);
}

}  // namespace
