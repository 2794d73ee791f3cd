#include "render_qt/qt_conversions.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPalette>
#include <cmath>

namespace {
constexpr double kPixelsPerPoint = 96.0 / 72.0;
}

QColor ToQColor(TColor color) {
  if (color.IsWindowText()) return QGuiApplication::palette().color(QPalette::WindowText);
  return QColor(color.R(), color.G(), color.B());
}

TColor ToTColor(const QColor& color) {
  const QColor rgb = color.toRgb();
  return TColor::Rgb(static_cast<uint8_t>(rgb.red()), static_cast<uint8_t>(rgb.green()),
                     static_cast<uint8_t>(rgb.blue()));
}

QFont ToQFont(const TFontSpec& fontSpec) {
  QFont font;
  const QString face = QString::fromStdString(fontSpec.Face);
  if (face == QStringLiteral("MS Sans Serif") && !QFontDatabase::hasFamily(face)) {
    font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  } else {
    font.setFamily(face);
    font.setStyleHint(QFont::SansSerif);
  }
  if (fontSpec.Height != 0) font.setPixelSize(std::abs(fontSpec.Height));
  font.setBold(fontSpec.Bold);
  font.setItalic(fontSpec.Italic);
  font.setUnderline(fontSpec.Underline);
  font.setStrikeOut(fontSpec.StrikeOut);
  return font;
}

TFontSpec ToFontSpec(const QFont& font, TColor color) {
  TFontSpec fontSpec;
  fontSpec.Face = font.family().toStdString();
  if (font.pixelSize() > 0) {
    fontSpec.Height = -font.pixelSize();
  } else if (font.pointSizeF() > 0) {
    fontSpec.Height = -static_cast<int32_t>(std::lround(font.pointSizeF() * kPixelsPerPoint));
  }
  fontSpec.Bold = font.bold();
  fontSpec.Italic = font.italic();
  fontSpec.Underline = font.underline();
  fontSpec.StrikeOut = font.strikeOut();
  fontSpec.Color = color;
  return fontSpec;
}
