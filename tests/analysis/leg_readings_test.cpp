#include "analysis/leg_readings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <Eigen/Dense>
#include <cmath>

#include "analysis/leg_statistic.h"
#include "analysis/reading_fit.h"

namespace {

Eigen::Matrix3d Unpack(const std::array<double, 6>& p) {
  Eigen::Matrix3d m;
  m << p[0], p[1], p[2], p[1], p[3], p[4], p[2], p[4], p[5];
  return m;
}

Eigen::Vector3d V(Vec3 v) { return {v.X, v.Y, v.Z}; }

TEST(LegReadings, GivesTheVectorAndTheFirstOrderCovarianceOfTheReadings) {
  const double tape = 12.5, compass = 123, clino = -17, sd[3] = {0.05, 1.5, 0.8};
  const TLegVector leg = LegFromReadings(tape, compass, clino, sd[0], sd[1], sd[2]);
  const double a = compass * M_PI / 180, c = clino * M_PI / 180;
  EXPECT_NEAR(leg.Vector.X, tape * std::cos(c) * std::sin(a), 1e-12);
  EXPECT_NEAR(leg.Vector.Y, tape * std::cos(c) * std::cos(a), 1e-12);
  EXPECT_NEAR(leg.Vector.Z, tape * std::sin(c), 1e-12);
  // J diag(sd^2) J^T with J by central differences.
  Eigen::Matrix3d j;
  const double h[3] = {1e-6, 1e-6, 1e-6};
  for (int k = 0; k < 3; ++k) {
    double up[3] = {tape, compass, clino}, down[3] = {tape, compass, clino};
    up[k] += h[k];
    down[k] -= h[k];
    const Vec3 u = LegFromReadings(up[0], up[1], up[2], 0, 0, 0).Vector;
    const Vec3 d = LegFromReadings(down[0], down[1], down[2], 0, 0, 0).Vector;
    j.col(k) = (V(u) - V(d)) / (2 * h[k]) * sd[k];
  }
  EXPECT_LT((Unpack(leg.Covariance) - j * j.transpose()).norm(), 1e-7);

  // A plumb: straight down, the horizontal error the same every way.
  const TLegVector plumb = LegFromReadings(4, 0, -90, 0.05, 1, 2);
  EXPECT_NEAR(plumb.Vector.Z, -4, 1e-12);
  EXPECT_NEAR(plumb.Vector.X, 0, 1e-12);
  const double h2 = std::pow(4 * 2 * M_PI / 180, 2);
  EXPECT_THAT(plumb.Covariance,
              ::testing::ElementsAre(::testing::DoubleNear(h2, 1e-15), 0, 0, ::testing::DoubleNear(h2, 1e-15), 0,
                                     ::testing::DoubleNear(0.0025, 1e-15)));

  const TLegPolar polar = PolarOf(leg.Vector);
  EXPECT_NEAR(polar.Tape, tape, 1e-12);
  EXPECT_NEAR(polar.Compass, compass, 1e-9);
  EXPECT_NEAR(polar.Clino, clino, 1e-9);
  EXPECT_NEAR(PolarOf(MakeVec3(-1, 1e-17, 0)).Compass, 270, 1e-9);
}

TEST(LegStatistic, PutsTheChiSquareTailOnTheScaleOfW) {
  // P(chi-square(3) > 16.2662) = 0.001 = P(|N(0,1)| > 3.2905).
  EXPECT_NEAR(NormalEquivalentOfChiSquare3(16.2662), 3.2905, 2e-4);
  EXPECT_NEAR(ChiSquare3OfNormalEquivalent(3.2905), 16.2662, 2e-3);
  EXPECT_EQ(NormalEquivalentOfChiSquare3(0), 0);
  // Smooth across the switch to the asymptotic tail, and finite far beyond.
  EXPECT_NEAR(NormalEquivalentOfChiSquare3(599.999), NormalEquivalentOfChiSquare3(600.001), 1e-4);
  const double far = NormalEquivalentOfChiSquare3(1e6);
  EXPECT_TRUE(std::isfinite(far));
  EXPECT_GT(far, 990);
  EXPECT_LT(far, 1000);
  EXPECT_NEAR(SurveyWideCritical(0.001, 1), 3.2905, 2e-4);
  EXPECT_NEAR(SurveyWideCritical(0.05, 1740), 4.18, 0.01);
}

// The residual a leg would show for an error e when its loops are exact:
// v = -Q P e, with Q the residual covariance.
TEST(ReadingFit, NamesTheReadingAndTheSizeOfAnExactBlunder) {
  const double tape = 10, compass = 70, clino = 8;
  const TLegVector leg = LegFromReadings(tape, compass, clino, 0.05, 1, 1);
  const Eigen::Matrix3d c = Unpack(leg.Covariance);
  const Eigen::Matrix3d q = 0.6 * c;
  const std::array<double, 6> qPacked{q(0, 0), q(0, 1), q(0, 2), q(1, 1), q(1, 2), q(2, 2)};
  struct TCase {
    TBlunderKind Kind;
    double Size;  // recorded minus true
  };
  for (const TCase k :
       {TCase{TBlunderKind::Tape, 3.2}, TCase{TBlunderKind::Tape, -1.5}, TCase{TBlunderKind::Compass, 27},
        TCase{TBlunderKind::Compass, -12}, TCase{TBlunderKind::Clino, -20}, TCase{TBlunderKind::Reversed, 180}}) {
    const Vec3 truth =
        k.Kind == TBlunderKind::Reversed ? Scale3(leg.Vector, -1) : ChangedVector(leg.Vector, k.Kind, -k.Size);
    const Eigen::Vector3d e = V(leg.Vector) - V(truth);
    const Eigen::Vector3d v = -q * c.inverse() * e;
    const TReadingFit fit = BestReadingFit(leg.Vector, leg.Covariance, MakeVec3(v.x(), v.y(), v.z()), qPacked);
    EXPECT_EQ(fit.Kind, k.Kind) << BlunderKindName(k.Kind) << " " << k.Size;
    EXPECT_NEAR(fit.Change, k.Kind == TBlunderKind::Reversed ? 180 : -k.Size, 1e-6) << BlunderKindName(k.Kind);
    // It explains all of the statistic v^T Q^-1 v.
    EXPECT_NEAR(fit.Reduction, v.dot(q.inverse() * v), 1e-6 * fit.Reduction);
    EXPECT_EQ(BlunderKindByName(BlunderKindName(k.Kind)), k.Kind);
  }
  EXPECT_FALSE(BlunderKindByName("Tape").has_value());
}

}  // namespace
