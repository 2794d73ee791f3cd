#include "render_qt/qt_canvas.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QSvgGenerator>

#include "render/renderer.h"
#include "render_qt/qt_conversions.h"

namespace {

QImage BlankImage(int width, int height, QColor fill) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

TEST(QtCanvas, DrawsBackgroundLinesArrowsAndLabelBoxesOntoAnImage) {
  TSurveyGraph g;
  g.AddStation("A", {50, 100, 0});
  g.AddStation("B", {250, 100, 0});
  g.AddEdgeByIndex(0, 1);
  TDisplaySettings s;
  s.BackColor = TColor::Rgb(0, 0, 160);
  s.LineColor = TColor::Rgb(200, 0, 0);
  s.ArrowColor = TColor::Rgb(0, 220, 0);
  s.LabelColor = TColor::Rgb(255, 255, 0);
  QImage image = BlankImage(300, 200, Qt::white);
  TSize extent;
  {
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    EXPECT_EQ(canvas.ClipRect(), (TRect{0, 0, 300, 200}));
    DrawGraph(canvas, g, s);
    canvas.SetFont(s.LabelFont);
    extent = canvas.TextExtent("A");
  }
  ASSERT_GT(extent.Width, 0);
  ASSERT_GT(extent.Height, 0);
  EXPECT_EQ(image.pixelColor(5, 5), QColor(0, 0, 160));
  EXPECT_EQ(image.pixelColor(299, 199), QColor(0, 0, 160));
  // The line runs from (60, 100) to (240, 100); the arrow's base is at x 230.
  EXPECT_EQ(image.pixelColor(150, 100), QColor(200, 0, 0));
  EXPECT_EQ(image.pixelColor(150, 103), QColor(0, 0, 160));
  EXPECT_EQ(image.pixelColor(233, 98), QColor(0, 220, 0));
  EXPECT_EQ(image.pixelColor(233, 102), QColor(0, 220, 0));
  // Label A: box 3 pixels around the text, a black frame 1 pixel further out.
  const int left = 50 - extent.Width / 2 - 3;
  const int top = 100 - extent.Height / 2 - 3;
  EXPECT_EQ(image.pixelColor(left + 1, top + 1), QColor(255, 255, 0));
  EXPECT_EQ(image.pixelColor(left - 1, top + 5), QColor(0, 0, 0));
  EXPECT_EQ(image.pixelColor(left - 2, top + 5), QColor(0, 0, 160));
  EXPECT_EQ(image.pixelColor(left + 1, top - 1), QColor(0, 0, 0));
  EXPECT_EQ(image.pixelColor(left + 1, top - 2), QColor(0, 0, 160));
}

TEST(QtCanvas, DrawsTheSamePictureIntoAnSvgGenerator) {
  TSurveyGraph g;
  g.AddStation("Alpha", {50, 100, 0});
  g.AddStation("Beta", {250, 100, 0});
  g.AddEdgeByIndex(0, 1);
  QBuffer buffer;
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(QSize(300, 200));
  generator.setViewBox(QRect(0, 0, 300, 200));
  {
    QPainter painter(&generator);
    TQtCanvas canvas(painter);
    EXPECT_EQ(canvas.ClipRect(), (TRect{0, 0, 300, 200}));
    DrawGraph(canvas, g, TDisplaySettings{});
  }
  const QString svg = QString::fromUtf8(buffer.data());
  EXPECT_TRUE(svg.contains(QStringLiteral("#808080"))) << svg.toStdString();
  EXPECT_TRUE(svg.contains(QStringLiteral(">Alpha<")));
  EXPECT_TRUE(svg.contains(QStringLiteral(">Beta<")));
  EXPECT_TRUE(svg.contains(QStringLiteral("polyline")) || svg.contains(QStringLiteral("<path")));
}

TEST(QtCanvas, FillsTheTextBoxAndClipsTheTextToIt) {
  QImage image = BlankImage(200, 50, Qt::white);
  {
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    TFontSpec font;
    font.Height = -30;
    font.Color = TColor::Rgb(0, 0, 0);
    canvas.SetFont(font);
    canvas.SetBrushColor(TColor::Rgb(0, 0, 255));
    canvas.SetBrushStyle(TBrushStyle::bsSolid);
    canvas.TextRect({10, 10, 40, 40}, 12, 5, "WWWWWWWW");
  }
  EXPECT_EQ(image.pixelColor(10, 10), QColor(0, 0, 255));
  EXPECT_EQ(image.pixelColor(39, 39), QColor(0, 0, 255));
  // The text reaches far to the right of the box but nothing shows there.
  for (int x = 40; x < 200; ++x)
    for (int y = 0; y < 50; ++y) ASSERT_EQ(image.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;
  int dark = 0;
  for (int x = 10; x < 40; ++x)
    for (int y = 10; y < 40; ++y) dark += image.pixelColor(x, y).blue() < 128 ? 1 : 0;
  EXPECT_GT(dark, 0);
}

TEST(QtCanvas, ClearBrushOutlinesWithoutFilling) {
  QImage image = BlankImage(50, 50, Qt::white);
  {
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    canvas.SetPenColor(TColor::Rgb(255, 0, 0));
    canvas.SetBrushColor(TColor::Rgb(0, 0, 255));
    canvas.SetBrushStyle(TBrushStyle::bsClear);
    canvas.Rectangle({10, 10, 20, 20});
    canvas.FillRect({30, 30, 40, 40});
  }
  EXPECT_EQ(image.pixelColor(10, 10), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(19, 19), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(20, 20), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(15, 15), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(35, 35), QColor(Qt::white));
}

TEST(QtCanvas, ReportsThePainterClipOrTheGivenRepaintRectangle) {
  QImage image = BlankImage(100, 80, Qt::white);
  QPainter painter(&image);
  EXPECT_EQ(TQtCanvas(painter, QRect(10, 20, 30, 40)).ClipRect(), (TRect{10, 20, 40, 60}));
  painter.setClipRect(QRect(5, 6, 200, 10));
  EXPECT_EQ(TQtCanvas(painter).ClipRect(), (TRect{5, 6, 100, 16}));
}

TEST(QtCanvas, DrawsWhatReachesIntoTheRepaintedPartFromOutside) {
  QImage image = BlankImage(100, 100, Qt::white);
  {
    QPainter painter(&image);
    TQtCanvas canvas(painter, QRect(0, 0, 60, 60));
    canvas.SetPenColor(TColor::Rgb(255, 0, 0));
    canvas.SetBrushColor(TColor::Rgb(0, 0, 255));
    canvas.SetBrushStyle(TBrushStyle::bsSolid);
    canvas.MoveTo({-500, 30});
    canvas.LineTo({500, 30});
    canvas.Rectangle({55, 55, 90, 90});
    const TPoint triangle[] = {{-40, 0}, {10, 10}, {-40, 20}};
    canvas.Polygon(triangle);
    canvas.SetPenWidth(5);
    canvas.MoveTo({62, 0});
    canvas.LineTo({62, 20});
  }
  EXPECT_EQ(image.pixelColor(30, 30), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(55, 57), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(57, 57), QColor(0, 0, 255));
  EXPECT_EQ(image.pixelColor(2, 10), QColor(0, 0, 255));
  EXPECT_EQ(image.pixelColor(60, 10), QColor(255, 0, 0));
}

TEST(QtConversions, MapNegativeHeightsToPixelSizesAndPointsBackAtNinetySixPerInch) {
  const QFont font = ToQFont(TFontSpec{});
  EXPECT_EQ(font.pixelSize(), 11);
  EXPECT_FALSE(font.family().isEmpty());
  QFont chosen(QStringLiteral("Serif"));
  chosen.setPointSize(8);
  chosen.setBold(true);
  chosen.setStrikeOut(true);
  const TFontSpec fontSpec = ToFontSpec(chosen, TColor::Rgb(1, 2, 3));
  EXPECT_EQ(fontSpec.Face, "Serif");
  EXPECT_EQ(fontSpec.Height, -11);
  EXPECT_TRUE(fontSpec.Bold);
  EXPECT_FALSE(fontSpec.Italic);
  EXPECT_TRUE(fontSpec.StrikeOut);
  EXPECT_EQ(fontSpec.Color, TColor::Rgb(1, 2, 3));
  EXPECT_EQ(ToQFont(fontSpec).pixelSize(), 11);
  EXPECT_TRUE(ToQFont(fontSpec).bold());
}

TEST(QtConversions, TakeTheWindowTextColourFromThePalette) {
  QPalette palette = QApplication::palette();
  palette.setColor(QPalette::WindowText, QColor(12, 34, 56));
  QApplication::setPalette(palette);
  EXPECT_EQ(ToQColor(TColor::WindowText()), QColor(12, 34, 56));
  EXPECT_EQ(ToQColor(TColor::Rgb(7, 8, 9)), QColor(7, 8, 9));
  EXPECT_EQ(ToTColor(QColor(7, 8, 9)), TColor::Rgb(7, 8, 9));
}

}  // namespace
