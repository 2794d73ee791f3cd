#include "surveys/leg_vector.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kRadian = std::numbers::pi / 180;

}  // namespace

TLegVector LegFromReadings(double tape, double compass, double clino, double tapeSd, double compassSd, double clinoSd) {
  const double a = compass * kRadian;
  const double c = clino * kRadian;
  const double sa = std::sin(a), ca = std::cos(a), sc = std::sin(c), cc = std::cos(c);
  TLegVector leg;
  const bool plumb = std::abs(clino) >= 90;
  if (plumb) {
    const double up = clino > 0 ? tape : -tape;
    leg.Vector = MakeVec3(0, 0, up);
    const double h = tape * clinoSd * kRadian;
    leg.Covariance = {h * h, 0, 0, h * h, 0, tapeSd * tapeSd};
    return leg;
  }
  leg.Vector = MakeVec3(tape * cc * sa, tape * cc * ca, tape * sc);
  // Columns of J: d/dtape, d/dcompass and d/dclino, each scaled by its SD.
  const double t[3] = {cc * sa * tapeSd, cc * ca * tapeSd, sc * tapeSd};
  const double s = compassSd * kRadian;
  const double b[3] = {tape * cc * ca * s, -tape * cc * sa * s, 0};
  const double g = clinoSd * kRadian;
  const double k[3] = {-tape * sc * sa * g, -tape * sc * ca * g, tape * cc * g};
  const auto entry = [&](int i, int j) { return t[i] * t[j] + b[i] * b[j] + k[i] * k[j]; };
  leg.Covariance = {entry(0, 0), entry(0, 1), entry(0, 2), entry(1, 1), entry(1, 2), entry(2, 2)};
  return leg;
}
