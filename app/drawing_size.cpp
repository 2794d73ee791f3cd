#include "app/drawing_size.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace {

double WantedExtent(double farCoordinate) { return std::trunc(farCoordinate + kDrawingMargin); }

int FittedExtent(double farCoordinate, int screenExtent) {
  const double wanted = WantedExtent(farCoordinate);
  // Compare as reals first: a far corner of an empty graph or of a huge
  // network does not fit an int.
  if (!(wanted > screenExtent)) return screenExtent;
  return static_cast<int>(std::min<double>(wanted, kMaxDrawingSide));
}

}  // namespace

QSize FittedDrawingSize(Vec3 maxCorner, QSize screen) {
  return {FittedExtent(maxCorner.X, screen.width()), FittedExtent(maxCorner.Y, screen.height())};
}

QString DrawingSizeNote(Vec3 maxCorner) {
  const bool wide = WantedExtent(maxCorner.X) > kMaxDrawingSide;
  const bool high = WantedExtent(maxCorner.Y) > kMaxDrawingSide;
  if (!wide && !high) return {};
  std::ostringstream corner;
  corner.precision(6);
  corner << "(" << maxCorner.X << ", " << maxCorner.Y << ")";
  return QStringLiteral("The drawing area reaches only %1 pixels a side; stations out to %2 lie beyond it")
      .arg(kMaxDrawingSide)
      .arg(QString::fromStdString(corner.str()));
}
