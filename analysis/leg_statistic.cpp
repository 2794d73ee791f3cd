#include "analysis/leg_statistic.h"

#include <cmath>
#include <numbers>

namespace {

// log P(chi-square with 3 degrees of freedom > t): erfc(x) + sqrt(2t/pi) exp(-t/2), x = sqrt(t/2).
double LogChi3Tail(double t) {
  if (t <= 0) return 0;
  const double x = std::sqrt(t / 2);
  if (t < 600) return std::log(std::erfc(x) + std::sqrt(2 * t / std::numbers::pi) * std::exp(-t / 2));
  // erfc(x) = exp(-x^2)/(x sqrt(pi)) (1 - 1/(2x^2) + 3/(4x^4) - ...) before exp(-t/2) underflows.
  const double x2 = x * x;
  const double series = (1 - 1 / (2 * x2) + 3 / (4 * x2 * x2)) / (x * std::sqrt(std::numbers::pi));
  return -t / 2 + std::log(std::sqrt(2 * t / std::numbers::pi) + series);
}

// log P(|standard normal| > z) = log erfc(z / sqrt 2).
double LogNormalTwoSidedTail(double z) {
  if (z <= 0) return 0;
  const double x = z / std::numbers::sqrt2;
  if (x < 26) return std::log(std::erfc(x));
  const double x2 = x * x;
  return -x2 + std::log((1 - 1 / (2 * x2) + 3 / (4 * x2 * x2)) / (x * std::sqrt(std::numbers::pi)));
}

}  // namespace

double NormalEquivalentOfChiSquare3(double t) {
  if (!(t > 0)) return 0;
  if (std::isinf(t)) return t;
  const double target = LogChi3Tail(t);
  // Both tails fall monotonically; w lies below sqrt(t) + 1 (the chi tail is the heavier).
  double lo = 0, hi = std::sqrt(t) + 2;
  for (int i = 0; i < 200 && hi - lo > 1e-12 * hi; ++i) {
    const double mid = (lo + hi) / 2;
    (LogNormalTwoSidedTail(mid) > target ? lo : hi) = mid;
  }
  return (lo + hi) / 2;
}

double ChiSquare3OfNormalEquivalent(double w) {
  if (!(w > 0)) return 0;
  const double target = LogNormalTwoSidedTail(w);
  double lo = 0, hi = (w + 4) * (w + 4);
  for (int i = 0; i < 200 && hi - lo > 1e-12 * hi; ++i) {
    const double mid = (lo + hi) / 2;
    (LogChi3Tail(mid) > target ? lo : hi) = mid;
  }
  return (lo + hi) / 2;
}

double SurveyWideCritical(double alpha, int64_t legs) {
  if (!(alpha > 0 && alpha < 1) || legs < 1) return 0;
  // log of the per-leg level, without cancelling in 1 - (1 - alpha)^(1/legs).
  const double target = std::log(-std::expm1(std::log1p(-alpha) / static_cast<double>(legs)));
  double lo = 0, hi = 40;
  for (int i = 0; i < 200 && hi - lo > 1e-12 * hi; ++i) {
    const double mid = (lo + hi) / 2;
    (LogNormalTwoSidedTail(mid) > target ? lo : hi) = mid;
  }
  return (lo + hi) / 2;
}
