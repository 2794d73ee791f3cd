#include "app/drawing_size.h"

#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {

int FittedExtent(double farCoordinate, int screenExtent) {
  const double wanted = std::trunc(farCoordinate + kDrawingMargin);
  // Compare as reals first: a far corner of an empty graph or of a huge
  // network does not fit an int.
  if (!(wanted > screenExtent)) return screenExtent;
  return static_cast<int>(std::min<double>(wanted, QWIDGETSIZE_MAX));
}

}  // namespace

QSize FittedDrawingSize(Vec3 maxCorner, QSize screen) {
  return {FittedExtent(maxCorner.X, screen.width()), FittedExtent(maxCorner.Y, screen.height())};
}
