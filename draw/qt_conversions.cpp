#include "draw/qt_conversions.h"

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

QFont ToQFont(const TFontSpec& spec) {
  QFont font;
  const QString face = QString::fromStdString(spec.Face);
  if (face == QStringLiteral("MS Sans Serif") && !QFontDatabase::hasFamily(face)) {
    font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  } else {
    font.setFamily(face);
    font.setStyleHint(QFont::SansSerif);
  }
  if (spec.Height != 0) font.setPixelSize(std::abs(spec.Height));
  font.setBold(spec.Bold);
  font.setItalic(spec.Italic);
  font.setUnderline(spec.Underline);
  font.setStrikeOut(spec.StrikeOut);
  return font;
}

TFontSpec ToFontSpec(const QFont& font, TColor color) {
  TFontSpec spec;
  spec.Face = font.family().toStdString();
  if (font.pixelSize() > 0) {
    spec.Height = -font.pixelSize();
  } else if (font.pointSizeF() > 0) {
    spec.Height = -static_cast<int32_t>(std::lround(font.pointSizeF() * kPixelsPerPoint));
  }
  spec.Bold = font.bold();
  spec.Italic = font.italic();
  spec.Underline = font.underline();
  spec.StrikeOut = font.strikeOut();
  spec.Color = color;
  return spec;
}
