#include "analysis/leg_covariance.h"

#include <algorithm>
#include <cmath>

TMatrix3 UnpackSymmetric(const std::array<double, 6>& p) {
  TMatrix3 m;
  m << p[0], p[1], p[2], p[1], p[3], p[4], p[2], p[4], p[5];
  return m;
}

std::array<double, 6> PackSymmetric(const TMatrix3& m) {
  return {m(0, 0), m(0, 1), m(0, 2), m(1, 1), m(1, 2), m(2, 2)};
}

bool IsMeasuredLeg(const TSurvey& survey, int32_t leg) {
  if (!survey.HasMeasurements() || leg < 0 || leg >= survey.LegCount()) return false;
  if (survey.Legs[static_cast<size_t>(leg)].Style == TLegStyle::NoSurvey) return false;
  const TLegMeasurement& m = survey.Measurements[static_cast<size_t>(leg)];
  if (!std::isfinite(m.Vector.X) || !std::isfinite(m.Vector.Y) || !std::isfinite(m.Vector.Z)) return false;
  return std::all_of(m.Covariance.begin(), m.Covariance.end(), [](double x) { return std::isfinite(x); });
}

TMatrix3 UsableCovariance(const std::array<double, 6>& packed) {
  constexpr double kRelativeFloor = 1e-6;
  constexpr double kAbsoluteFloor = 1e-12;
  const TMatrix3 c = UnpackSymmetric(packed);
  Eigen::SelfAdjointEigenSolver<TMatrix3> eigen;
  eigen.computeDirect(c);
  TVector3 values = eigen.eigenvalues();
  const double floor = std::max(kAbsoluteFloor, kRelativeFloor * values.maxCoeff());
  if (values.minCoeff() >= floor) return c;
  for (int i = 0; i < 3; ++i) values(i) = std::max(values(i), floor);
  const TMatrix3& u = eigen.eigenvectors();
  return u * values.asDiagonal() * u.transpose();
}
