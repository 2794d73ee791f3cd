#include "analysis/reading_fit.h"

#include <cmath>
#include <numbers>

#include "analysis/leg_covariance.h"
#include "analysis/leg_readings.h"

namespace {

constexpr double kRadian = std::numbers::pi / 180;
// The 0.1 % point of a chi-square with one degree of freedom.
constexpr double kOneMoreParameter = 10.83;

Vec3 FromPolar(double tape, double compass, double clino) {
  const double a = compass * kRadian, c = clino * kRadian;
  return MakeVec3(tape * std::cos(c) * std::sin(a), tape * std::cos(c) * std::cos(a), tape * std::sin(c));
}

// Reduction of the weighted squared residuals when the recorded vector
// loses the error e: -2 v^T P e - e^T P Q P e.
class TReduction {
 public:
  TReduction(Vec3 vector, const TMatrix3& weight, const TVector3& residual, const TMatrix3& residualCovariance)
      : vector_(ToEigen(vector)), pv_(weight * residual), m_(weight * residualCovariance * weight) {}

  double Of(const TVector3& error) const { return -2 * pv_.dot(error) - error.dot(m_ * error); }
  double OfChange(Vec3 changed) const { return Of(vector_ - ToEigen(changed)); }
  const TVector3& Pv() const { return pv_; }
  const TMatrix3& M() const { return m_; }

 private:
  TVector3 vector_, pv_;
  TMatrix3 m_;
};

// The best change of one angle in [lo, hi]: the reduction is a
// trigonometric polynomial of low degree in the angle, so a 5-degree scan
// brackets its maximum and a golden-section search finds it.
template <class F>
double BestAngle(double lo, double hi, F&& reduction, double& best) {
  constexpr double kStep = 5;
  double at = lo;
  best = reduction(lo);
  for (double x = lo + kStep; x <= hi + 1e-9; x += kStep) {
    const double r = reduction(std::min(x, hi));
    if (r > best) {
      best = r;
      at = std::min(x, hi);
    }
  }
  double a = std::max(lo, at - kStep), b = std::min(hi, at + kStep);
  const double g = (std::sqrt(5.0) - 1) / 2;
  double c = b - g * (b - a), d = a + g * (b - a);
  double fc = reduction(c), fd = reduction(d);
  for (int i = 0; i < 80 && b - a > 1e-9; ++i) {
    if (fc > fd) {
      b = d;
      d = c;
      fd = fc;
      c = b - g * (b - a);
      fc = reduction(c);
    } else {
      a = c;
      c = d;
      fc = fd;
      d = a + g * (b - a);
      fd = reduction(d);
    }
  }
  const double x = (a + b) / 2, fx = reduction(x);
  if (fx > best) {
    best = fx;
    at = x;
  }
  return at;
}

}  // namespace

std::string_view BlunderKindName(TBlunderKind kind) {
  switch (kind) {
    case TBlunderKind::Tape:
      return "tape";
    case TBlunderKind::Compass:
      return "compass";
    case TBlunderKind::Clino:
      return "clino";
    case TBlunderKind::Reversed:
      return "reversed";
  }
  return "tape";
}

std::optional<TBlunderKind> BlunderKindByName(std::string_view name) {
  for (const TBlunderKind kind :
       {TBlunderKind::Tape, TBlunderKind::Compass, TBlunderKind::Clino, TBlunderKind::Reversed})
    if (BlunderKindName(kind) == name) return kind;
  return std::nullopt;
}

Vec3 ChangedVector(Vec3 vector, TBlunderKind kind, double change) {
  const TLegPolar p = PolarOf(vector);
  switch (kind) {
    case TBlunderKind::Tape:
      return FromPolar(p.Tape + change, p.Compass, p.Clino);
    case TBlunderKind::Compass:
      return FromPolar(p.Tape, p.Compass + change, p.Clino);
    case TBlunderKind::Clino:
      return FromPolar(p.Tape, p.Compass, p.Clino + change);
    case TBlunderKind::Reversed:
      return Scale3(vector, -1);
  }
  return vector;
}

TReadingFit BestReadingFit(Vec3 vector, const std::array<double, 6>& covariance, Vec3 residual,
                           const std::array<double, 6>& residualCovariance) {
  const TMatrix3 c = UnpackSymmetric(covariance);
  const TMatrix3 weight = c.llt().solve(TMatrix3::Identity());
  const TReduction reduction(vector, weight, ToEigen(residual), UnpackSymmetric(residualCovariance));
  const TLegPolar polar = PolarOf(vector);

  // The tape enters linearly: the error is delta along the leg.
  TReadingFit fit;
  const TVector3 along = ToEigen(FromPolar(1, polar.Compass, polar.Clino));
  const double curvature = along.dot(reduction.M() * along);
  if (curvature > 0) {
    const double delta = -along.dot(reduction.Pv()) / curvature;
    fit.Change = -delta;
    fit.Reduction = delta * delta * curvature;
    if (polar.Tape + fit.Change < 0) {
      fit.Kind = TBlunderKind::Reversed;
      fit.Change = 180;
      fit.Reduction = reduction.OfChange(Scale3(vector, -1));
    }
  }
  if (polar.Tape <= 0) return fit;

  // A reversed leg has no size to fit; an angle change, which has one, is
  // named instead only when it explains significantly more (by the 0.1 %
  // point of a chi-square with one degree of freedom). A level leg reversed
  // is also its compass turned round, and the reversed leg is the likelier slip.
  const double margin = fit.Kind == TBlunderKind::Reversed ? kOneMoreParameter : 0;
  double best = 0;
  const double compass = BestAngle(
      -180, 180, [&](double x) { return reduction.OfChange(FromPolar(polar.Tape, polar.Compass + x, polar.Clino)); },
      best);
  if (best > fit.Reduction + margin) {
    fit.Kind = TBlunderKind::Compass;
    fit.Change = compass <= -180 ? compass + 360 : compass;
    fit.Reduction = best;
  }
  const double clino = BestAngle(
      -90 - polar.Clino, 90 - polar.Clino,
      [&](double x) { return reduction.OfChange(FromPolar(polar.Tape, polar.Compass, polar.Clino + x)); }, best);
  if (best > fit.Reduction + (fit.Kind == TBlunderKind::Reversed ? margin : 0)) {
    fit.Kind = TBlunderKind::Clino;
    fit.Change = clino;
    fit.Reduction = best;
  }
  return fit;
}
