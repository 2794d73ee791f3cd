#pragma once
// Conversions between the canvas's colours and fonts and Qt's.

#include <QColor>
#include <QFont>

#include "render/canvas.h"

// The window-text colour comes from the application's palette.
QColor ToQColor(TColor color);
TColor ToTColor(const QColor& color);

// A negative height is a character height in pixels (-11 gives pixel size
// 11), a positive one a cell height in pixels; "MS Sans Serif", where the
// system has no such face, becomes the system's sans font.
QFont ToQFont(const TFontSpec& fontSpec);
// The font's face, style and height in pixels (points are taken at 96 pixels
// per inch) with the given text colour, which Qt fonts do not carry.
TFontSpec ToFontSpec(const QFont& font, TColor color);
