#pragma once
// The size of the drawing area for a network: large enough for its far
// corner with a margin, never smaller than the screen.

#include <QSize>

#include "core/vector3.h"

inline constexpr int kDefaultDrawingWidth = 1024;
inline constexpr int kDefaultDrawingHeight = 768;
inline constexpr double kDrawingMargin = 25;

// Width and height are the integer parts of the far corner's X and Y plus 25,
// raised to the screen's width and height; an empty graph (far corner at
// -9.9e99) gives the screen size, and sizes beyond a widget's limit are held there.
QSize FittedDrawingSize(Vec3 maxCorner, QSize screen);
