#pragma once
// The size of the drawing area for a network: large enough for its far
// corner with a margin, never smaller than the screen, and no larger than a
// widget can be.

#include <QSize>
#include <QString>

#include "core/vector3.h"

inline constexpr int kDefaultDrawingWidth = 1024;
inline constexpr int kDefaultDrawingHeight = 768;
inline constexpr double kDrawingMargin = 25;
// The largest side a drawing area takes: one below a widget's own limit,
// QWIDGETSIZE_MAX, which as a fixed size on both sides does not take (the
// area stayed at its old size).
inline constexpr int kMaxDrawingSide = 16777214;

// Width and height are the integer parts of the far corner's X and Y plus 25,
// raised to the screen's width and height; an empty graph (far corner at
// -9.9e99) gives the screen size, and sizes beyond kMaxDrawingSide are held there.
QSize FittedDrawingSize(Vec3 maxCorner, QSize screen);

// What the user is told when the fitted drawing area cannot reach the far
// corner (it was held at kMaxDrawingSide); empty when it reaches it.
QString DrawingSizeNote(Vec3 maxCorner);
