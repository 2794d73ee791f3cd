#include "surveys/svx_shots.h"

#include <cmath>
#include <numbers>

#include "surveys/leg_vector.h"

namespace {

constexpr double kRadians = std::numbers::pi / 180;

struct TReading {
  double Value = TSvxShot::kNone;
  double Sd = 0;
  bool Taken() const { return !std::isnan(Value); }
};

// The inverse-variance weighted mean of two readings of one quantity; with
// one missing, the other; with both exact, their plain mean.
TReading Combine(TReading a, TReading b) {
  if (!a.Taken()) return b;
  if (!b.Taken()) return a;
  const double va = a.Sd * a.Sd, vb = b.Sd * b.Sd;
  if (va + vb == 0) return {(a.Value + b.Value) / 2, 0};
  const double wb = va / (va + vb);
  return {a.Value + wb * (b.Value - a.Value), std::sqrt(va * vb / (va + vb))};
}

double NormalBearing(double degrees) {
  double b = std::fmod(degrees, 360.0);
  if (b < 0) b += 360;
  return b == 360 ? 0 : b;
}

// The back bearing turned round, taken the short way from the fore bearing,
// so that 359 and 181 average to 0.
TReading CombineBearings(TReading fore, TReading back) {
  if (back.Taken()) back.Value += 180;
  if (fore.Taken() && back.Taken()) back.Value = fore.Value + std::remainder(back.Value - fore.Value, 360.0);
  TReading mean = Combine(fore, back);
  if (mean.Taken()) mean.Value = NormalBearing(mean.Value);
  return mean;
}

TClinoKind Reversed(TClinoKind kind) {
  if (kind == TClinoKind::Up) return TClinoKind::Down;
  if (kind == TClinoKind::Down) return TClinoKind::Up;
  return kind;
}

// C = J diag(v) J^T for a 3x3 Jacobian J, stored as XX, XY, XZ, YY, YZ, ZZ.
std::array<double, 6> Propagate(const double (&j)[3][3], const double (&v)[3]) {
  std::array<double, 6> c{};
  const int rows[6][2] = {{0, 0}, {0, 1}, {0, 2}, {1, 1}, {1, 2}, {2, 2}};
  for (int k = 0; k < 6; ++k) {
    const int r = rows[k][0], s = rows[k][1];
    c[static_cast<size_t>(k)] = j[r][0] * j[s][0] * v[0] + j[r][1] * j[s][1] * v[1] + j[r][2] * j[s][2] * v[2];
  }
  return c;
}

std::string NormalLeg(const TSvxShot& shot, const TSvxShotSd& sd, TLegMeasurement& m) {
  const TReading tape = Combine({shot.Tape, sd.Tape}, {shot.BackTape, sd.BackTape});
  if (!tape.Taken()) return "the tape reading is omitted (and there is no back tape)";
  const double length = tape.Value;

  TClinoKind fore = shot.ClinoKind;
  TClinoKind back = Reversed(shot.BackClinoKind);
  TReading clino;
  if (fore == TClinoKind::Omitted || back == TClinoKind::Omitted || fore == back) {
    const TClinoKind kind = fore == TClinoKind::Omitted ? back : fore;
    m.Clinometer = kind;
    if (kind == TClinoKind::Angle) {
      clino = Combine({shot.Clino, sd.Clino}, {-shot.BackClino, sd.BackClino});
    } else if (kind == TClinoKind::Level) {
      clino = {0, sd.Level};
    } else if (kind == TClinoKind::Up || kind == TClinoKind::Down) {
      clino = {kind == TClinoKind::Up ? 90.0 : -90.0, sd.Plumb};
    }
  } else {
    return "the clino and back clino readings are of different kinds (a plumb, level or an angle)";
  }

  const bool plumbed = m.Clinometer == TClinoKind::Up || m.Clinometer == TClinoKind::Down;
  TReading bearing = CombineBearings({shot.Compass, sd.Compass}, {shot.BackCompass, sd.BackCompass});
  if (!plumbed && !bearing.Taken()) {
    if (length != 0) return "the compass reading is omitted on a leg that is not plumbed";
    bearing = {0, sd.Compass};
  }
  m.TapeSd = tape.Sd;
  m.CompassSd = plumbed ? 0 : std::hypot(bearing.Sd, sd.Declination);
  m.ClinoSd = m.Clinometer == TClinoKind::Omitted ? 0 : clino.Sd;

  // A plumb is a clino of +-90; without a clino the leg is taken as level.
  const double clinoAngle = plumbed                               ? (m.Clinometer == TClinoKind::Up ? 90.0 : -90.0)
                            : m.Clinometer == TClinoKind::Omitted ? 0.0
                                                                  : clino.Value;
  const TLegVector leg =
      LegFromReadings(length, plumbed ? 0.0 : bearing.Value, clinoAngle, tape.Sd, m.CompassSd, m.ClinoSd);
  m.Vector = leg.Vector;
  m.Covariance = leg.Covariance;
  // Without a clino the vertical is unknown: its error is taken as large as the leg.
  if (m.Clinometer == TClinoKind::Omitted) m.Covariance[5] = length * length;
  return "";
}

// Diving and cylindrical polar legs: the vertical from depths, the tape
// along the leg (diving) or horizontal (cylpolar).
std::string DepthLeg(const TSvxShot& shot, const TSvxShotSd& sd, TLegMeasurement& m) {
  const TReading tape = Combine({shot.Tape, sd.Tape}, {shot.BackTape, sd.BackTape});
  if (!tape.Taken()) return "the tape reading is omitted (and there is no back tape)";
  double dz = shot.DepthChange;
  double vdz = sd.Depth * sd.Depth;
  if (std::isnan(dz)) {
    if (std::isnan(shot.FromDepth) || std::isnan(shot.ToDepth)) return "a depth reading is omitted";
    dz = shot.ToDepth - shot.FromDepth;
    vdz *= 2;
  }
  const double length = tape.Value;
  double h = length, dhdl = 1, dhdz = 0;
  if (shot.Style == TLegStyle::Diving) {
    const double h2 = length * length - dz * dz;
    h = h2 > 0 ? std::sqrt(h2) : 0;
    if (h > 0) {
      dhdl = length / h;
      dhdz = -dz / h;
    }
  }
  TReading bearing = CombineBearings({shot.Compass, sd.Compass}, {shot.BackCompass, sd.BackCompass});
  if (!bearing.Taken()) {
    if (h != 0) return "the compass reading is omitted on a leg that is not vertical";
    bearing = {0, sd.Compass};
  }
  m.FromDepth = shot.FromDepth;
  m.ToDepth = shot.ToDepth;
  m.TapeSd = tape.Sd;
  m.CompassSd = std::hypot(bearing.Sd, sd.Declination);
  const double b = bearing.Value * kRadians, sb = std::sin(b), cb = std::cos(b);
  m.Vector = MakeVec3(h * sb, h * cb, dz);
  const double vt = tape.Sd * tape.Sd;
  if (h == 0 && shot.Style == TLegStyle::Diving) {
    m.Covariance = {vt, 0, 0, vt, 0, vdz};
    return "";
  }
  const double j[3][3] = {{dhdl * sb, h * cb, dhdz * sb}, {dhdl * cb, -h * sb, dhdz * cb}, {0, 0, 1}};
  const double v[3] = {vt, std::pow(m.CompassSd * kRadians, 2), vdz};
  m.Covariance = Propagate(j, v);
  return "";
}

}  // namespace

std::string ComputeSvxLeg(const TSvxShot& shot, const TSvxShotSd& sd, TLegMeasurement& m) {
  m.Tape = shot.Tape;
  m.BackTape = shot.BackTape;
  m.Compass = shot.Compass;
  m.BackCompass = shot.BackCompass;
  m.Clino = shot.Clino;
  m.BackClino = shot.BackClino;
  m.FromDepth = m.ToDepth = TSvxShot::kNone;
  m.Clinometer = TClinoKind::Omitted;
  m.Shots = 1;
  switch (shot.Style) {
    case TLegStyle::Normal:
      return NormalLeg(shot, sd, m);
    case TLegStyle::Diving:
    case TLegStyle::CylPolar:
      return DepthLeg(shot, sd, m);
    case TLegStyle::Cartesian:
      m.Vector = MakeVec3(shot.Dx, shot.Dy, shot.Dz);
      m.Covariance = {sd.Dx * sd.Dx, 0, 0, sd.Dy * sd.Dy, 0, sd.Dz * sd.Dz};
      m.TapeSd = m.CompassSd = m.ClinoSd = 0;
      return "";
    case TLegStyle::NoSurvey:
      m.Vector = Vec3{};
      m.Covariance = {};
      m.TapeSd = m.CompassSd = m.ClinoSd = 0;
      return "";
  }
  return "";
}

namespace {

// The running mean of a reading over n + 1 measurements; a reading missing
// in one of them is taken from the other.
double Mean(double mean, double value, int32_t n) {
  if (std::isnan(mean)) return value;
  if (std::isnan(value)) return mean;
  return mean + (value - mean) / (n + 1);
}

double MeanBearing(double mean, double value, int32_t n) {
  if (std::isnan(mean) || std::isnan(value)) return Mean(mean, value, n);
  return NormalBearing(Mean(mean, mean + std::remainder(value - mean, 360.0), n));
}

// The SD of a mean of n + 1 readings, from the SD of the mean of n and of one more.
double MeanSd(double sd, double more, int32_t n) {
  const double k = n;
  return std::sqrt(sd * sd * k * k + more * more) / (k + 1);
}

}  // namespace

void AverageRepeatedLeg(TLegMeasurement& m, const TLegMeasurement& repeat) {
  const int32_t n = m.Shots;
  const double k = n;
  m.Vector = Add3(m.Vector, Scale3(Sub3(repeat.Vector, m.Vector), 1.0 / (k + 1)));
  for (size_t i = 0; i < m.Covariance.size(); ++i)
    m.Covariance[i] = (m.Covariance[i] * k * k + repeat.Covariance[i]) / ((k + 1) * (k + 1));
  m.Tape = Mean(m.Tape, repeat.Tape, n);
  m.BackTape = Mean(m.BackTape, repeat.BackTape, n);
  m.Compass = MeanBearing(m.Compass, repeat.Compass, n);
  m.BackCompass = MeanBearing(m.BackCompass, repeat.BackCompass, n);
  m.Clino = Mean(m.Clino, repeat.Clino, n);
  m.BackClino = Mean(m.BackClino, repeat.BackClino, n);
  m.FromDepth = Mean(m.FromDepth, repeat.FromDepth, n);
  m.ToDepth = Mean(m.ToDepth, repeat.ToDepth, n);
  m.TapeSd = MeanSd(m.TapeSd, repeat.TapeSd, n);
  m.CompassSd = MeanSd(m.CompassSd, repeat.CompassSd, n);
  m.ClinoSd = MeanSd(m.ClinoSd, repeat.ClinoSd, n);
  m.Shots = n + 1;
}
