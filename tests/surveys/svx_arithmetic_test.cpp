// The arithmetic of legs: fore and back readings combined, the readings
// kept, and each covariance against a Jacobian taken by finite differences.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "surveys/svx_shots.h"
#include "tests/surveys/svx_test_support.h"

namespace {

constexpr double kRad = std::numbers::pi / 180;

// J diag(variances) J^T with J by central differences of the vector function.
std::array<double, 6> NumericCovariance(const std::function<Vec3(const double*)>& vector, const double* at,
                                        const double* variances, int n) {
  double j[3][4] = {};
  for (int k = 0; k < n; ++k) {
    double plus[4], minus[4];
    for (int i = 0; i < n; ++i) plus[i] = minus[i] = at[i];
    const double h = 1e-6 * std::max(1.0, std::fabs(at[k]));
    plus[k] += h;
    minus[k] -= h;
    const Vec3 d = Scale3(Sub3(vector(plus), vector(minus)), 1 / (2 * h));
    j[0][k] = d.X;
    j[1][k] = d.Y;
    j[2][k] = d.Z;
  }
  const int pairs[6][2] = {{0, 0}, {0, 1}, {0, 2}, {1, 1}, {1, 2}, {2, 2}};
  std::array<double, 6> c{};
  for (int p = 0; p < 6; ++p)
    for (int k = 0; k < n; ++k) c[static_cast<size_t>(p)] += j[pairs[p][0]][k] * j[pairs[p][1]][k] * variances[k];
  return c;
}

void ExpectCovariance(const std::array<double, 6>& got, const std::array<double, 6>& want) {
  for (size_t i = 0; i < 6; ++i) EXPECT_NEAR(got[i], want[i], 1e-9 + 1e-6 * std::fabs(want[i])) << "entry " << i;
}

TEST(SvxArithmetic, CombinesForeAndBackReadingsWeightedByTheirDeviations) {
  const TSurvey survey = ReadSvxText(
      "*sd compass 1 degrees\n*sd backcompass 2 degrees\n*sd tape 0.1 metres\n*sd backtape 0.1 metres\n"
      "*sd backclino 1 degrees\n*data normal from to tape compass clino backtape backcompass backclino\n"
      "*declination 1 degrees\n1 2 10 10 20 10.4 195 -18\n2 3 5 350 - - 169 -\n3 4 - - - 8 45 10");
  const TLegMeasurement& m = survey.Measurements[0];
  // Bearings 11 and 196 - 180: weights 4/5 and 1/5 give 12; clinos 20 and 18 with SDs 0.5 and 1.
  EXPECT_NEAR(m.Compass, 11, 1e-12);
  EXPECT_NEAR(m.BackCompass, 196, 1e-12);
  EXPECT_NEAR(m.BackTape, 10.4, 1e-12);
  EXPECT_NEAR(m.CompassSd, std::sqrt(0.8), 1e-12);
  EXPECT_NEAR(m.TapeSd, 0.1 / std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(m.ClinoSd, std::sqrt(0.2), 1e-12);
  const double clino = 20 - 0.2 * 2, bearing = 12, tape = 10.2;
  EXPECT_NEAR(m.Vector.X, tape * std::cos(clino * kRad) * std::sin(bearing * kRad), 1e-9);
  EXPECT_NEAR(m.Vector.Y, tape * std::cos(clino * kRad) * std::cos(bearing * kRad), 1e-9);
  EXPECT_NEAR(m.Vector.Z, tape * std::sin(clino * kRad), 1e-9);
  EXPECT_EQ(m.Clinometer, TClinoKind::Angle);
  // 351 and 170 + 180 = 350 average across north to 350.8; the clino is missing on both sides.
  const TLegMeasurement& n = survey.Measurements[1];
  EXPECT_NEAR(std::atan2(n.Vector.X, n.Vector.Y) / kRad + 360, 350.8, 1e-9);
  EXPECT_EQ(n.Clinometer, TClinoKind::Omitted);
  EXPECT_TRUE(std::isnan(n.Clino) && std::isnan(n.BackTape));
  EXPECT_NEAR(n.Covariance[5], 25, 1e-12);  // no clino: the vertical as uncertain as the leg is long
  // Back readings alone: bearing 46 - 180 = 226, clino -10.
  const TLegMeasurement& b = survey.Measurements[2];
  EXPECT_NEAR(b.Vector.Z, -8 * std::sin(10 * kRad), 1e-9);
  EXPECT_NEAR(std::atan2(b.Vector.X, b.Vector.Y) / kRad + 360, 226, 1e-9);
  EXPECT_NEAR(b.TapeSd, 0.1, 1e-12);
  EXPECT_NEAR(b.CompassSd, 2, 1e-12);
}

TEST(SvxArithmetic, KeepsReadingsInMetresAndDegreesAfterUnitsAndCalibration) {
  const TSurvey survey = ReadSvxText(
      "*units tape feet\n*units compass grads\n*units clino percent\n*calibrate compass 10\n*declination 2 degrees\n"
      "1 2 100 110 50\n*units default\n*calibrate default\n*units tape 2.5 metres\n*units clino minutes\n"
      "2 3 4 0 -1800");
  const TLegMeasurement& m = survey.Measurements[0];
  EXPECT_NEAR(m.Tape, 30.48, 1e-9);
  EXPECT_NEAR(m.Compass, 92, 1e-9);
  EXPECT_NEAR(m.Clino, std::atan(0.5) / kRad, 1e-9);
  EXPECT_NEAR(std::hypot(m.Vector.X, m.Vector.Y), 30.48 * std::cos(std::atan(0.5)), 1e-9);
  const TLegMeasurement& n = survey.Measurements[1];
  EXPECT_NEAR(n.Tape, 10, 1e-9);
  EXPECT_NEAR(n.Clino, -30, 1e-9);
  EXPECT_NEAR(n.Vector.Z, -5, 1e-9);
}

TEST(SvxArithmetic, PropagatesReadingDeviationsToTheVectorsCovariance) {
  TSvxShotSd sd;
  sd.Tape = 0.07;
  sd.Compass = 1.5;
  sd.Clino = 0.8;
  sd.Declination = 0.5;
  TSvxShot shot;
  shot.Tape = 12;
  shot.Compass = 230;
  shot.Clino = -35;
  shot.ClinoKind = TClinoKind::Angle;
  TLegMeasurement m;
  ASSERT_EQ(ComputeSvxLeg(shot, sd, m), "");
  auto polar = [](const double* r) {
    return MakeVec3(r[0] * std::cos(r[2]) * std::sin(r[1]), r[0] * std::cos(r[2]) * std::cos(r[1]),
                    r[0] * std::sin(r[2]));
  };
  const double at[3] = {12, 230 * kRad, -35 * kRad};
  const double var[3] = {0.07 * 0.07, (1.5 * 1.5 + 0.25) * kRad * kRad, 0.64 * kRad * kRad};
  ExpectCovariance(m.Covariance, NumericCovariance(polar, at, var, 3));

  // Plumbs: the vertical from the tape, the horizontal from the plumb's SD.
  shot.Compass = TSvxShot::kNone;
  shot.ClinoKind = TClinoKind::Down;
  sd.Plumb = 2;
  ASSERT_EQ(ComputeSvxLeg(shot, sd, m), "");
  EXPECT_EQ(m.Vector, MakeVec3(0, 0, -12));
  const double h = std::pow(12 * 2 * kRad, 2);
  ExpectCovariance(m.Covariance, {h, 0, 0, h, 0, 0.0049});

  // Diving: tape along the leg, vertical from two depth readings.
  TSvxShot dive;
  dive.Style = TLegStyle::Diving;
  dive.Tape = 10;
  dive.Compass = 60;
  dive.FromDepth = -3;
  dive.ToDepth = -9;
  sd.Depth = 0.1;
  ASSERT_EQ(ComputeSvxLeg(dive, sd, m), "");
  EXPECT_NEAR(m.Vector.X, 8 * std::sin(60 * kRad), 1e-12);
  EXPECT_NEAR(m.Vector.Z, -6, 1e-12);
  auto diving = [](const double* r) {
    const double hz = std::sqrt(r[0] * r[0] - r[2] * r[2]);
    return MakeVec3(hz * std::sin(r[1]), hz * std::cos(r[1]), r[2]);
  };
  const double diveAt[3] = {10, 60 * kRad, -6};
  const double diveVar[3] = {0.0049, (1.5 * 1.5 + 0.25) * kRad * kRad, 2 * 0.01};
  ExpectCovariance(m.Covariance, NumericCovariance(diving, diveAt, diveVar, 3));

  // Cartesian: the deviations of the three offsets.
  TSvxShot offsets;
  offsets.Style = TLegStyle::Cartesian;
  offsets.Dx = 1;
  offsets.Dy = 2;
  offsets.Dz = 3;
  sd.Dx = 0.1;
  sd.Dy = 0.2;
  sd.Dz = 0.3;
  ASSERT_EQ(ComputeSvxLeg(offsets, sd, m), "");
  EXPECT_EQ(m.Vector, MakeVec3(1, 2, 3));
  ExpectCovariance(m.Covariance, {0.01, 0, 0, 0.04, 0, 0.09});
}

TEST(SvxArithmetic, TakesTheDefaultDeviationsOfBcraGradeFiveAndAveragesRepeatedLegs) {
  const TSurvey survey = ReadSvxText("1 2 10 0 0\n1 2 10.2 2 0\n1 2 10.1 1 - ; a third reading\n2 3 5 - up");
  ASSERT_EQ(survey.LegCount(), 2);
  const TLegMeasurement& m = survey.Measurements[0];
  EXPECT_EQ(m.Shots, 3);
  EXPECT_EQ(m.Line, 1);
  EXPECT_NEAR(m.Tape, 10.1, 1e-12);
  EXPECT_NEAR(m.Compass, 1, 1e-12);
  EXPECT_NEAR(m.TapeSd, 0.05 / std::sqrt(3.0), 1e-12);
  // The mean of three vectors, and a third of the mean covariance.
  const double x = (10.2 * std::sin(2 * kRad) + 10.1 * std::sin(kRad)) / 3;
  EXPECT_NEAR(m.Vector.X, x, 1e-12);
  const TLegMeasurement& p = survey.Measurements[1];
  EXPECT_EQ(p.Clinometer, TClinoKind::Up);
  EXPECT_NEAR(p.TapeSd, 0.05, 1e-15);
  EXPECT_NEAR(p.Covariance[0], std::pow(5 * 0.5 * kRad, 2), 1e-15);
  EXPECT_NEAR(p.Covariance[5], 0.0025, 1e-15);
}

TEST(SvxPlacement, PlacesPiecesWithoutAFixBesideEachOther) {
  const TSurvey survey = ReadSvxText("a b 10 90 0\nb c 5 0 0\nx y 4 270 0\n*fix p 1 2 3\np q 1 0 0\n");
  EXPECT_EQ(survey.Notes.UnfixedPieces, 2);
  auto expectAt = [&](int32_t s, Vec3 want) {
    const Vec3 p = survey.Positions[static_cast<size_t>(s)];
    EXPECT_NEAR(Length3(Sub3(p, want)), 0, 1e-12) << survey.MainName(s);
  };
  // p is fixed; a's piece goes 10 m east of it, x's piece 10 m east of that.
  expectAt(5, MakeVec3(1, 2, 3));
  expectAt(6, MakeVec3(1, 3, 3));
  expectAt(0, MakeVec3(11, 0, 0));
  expectAt(2, MakeVec3(21, 5, 0));
  expectAt(3, MakeVec3(35, 0, 0));
  expectAt(4, MakeVec3(31, 0, 0));
}

}  // namespace
