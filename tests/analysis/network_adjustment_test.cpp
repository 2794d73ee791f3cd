#include "analysis/network_adjustment.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <Eigen/Dense>
#include <random>

#include "analysis/leg_readings.h"
#include "analysis/selected_inverse.h"
#include "core/errors.h"

namespace {

using TObservation = TNetworkAdjustment::TObservation;

// Two pieces: stations 0-5 with loops, a parallel pair and a pendant leg to
// 5; stations 6-8 a triangle.
std::vector<TObservation> SmallNetwork() {
  const int32_t ends[][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {1, 3}, {2, 4},
                             {4, 3}, {4, 3}, {4, 5}, {6, 7}, {7, 8}, {8, 6}};
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> u(0, 1);
  std::vector<TObservation> obs;
  for (const auto& e : ends) {
    const TLegVector v = LegFromReadings(5 + 10 * u(random), 360 * u(random), -20 + 40 * u(random),
                                         0.02 + 0.05 * u(random), 0.5 + u(random), 0.5 + u(random));
    obs.push_back({e[0], e[1], v.Vector, v.Covariance});
  }
  return obs;
}

Eigen::Matrix3d Unpack(const std::array<double, 6>& p) {
  Eigen::Matrix3d m;
  m << p[0], p[1], p[2], p[1], p[3], p[4], p[2], p[4], p[5];
  return m;
}

// The same adjustment with dense matrices: residuals and their covariance
// blocks Qvv = C - A N^-1 A^T, the first station of each piece held.
struct TDense {
  std::vector<Eigen::Vector3d> Residual;
  std::vector<Eigen::Matrix3d> Covariance;
};

TDense DenseAdjustment(const std::vector<TObservation>& obs, const std::vector<bool>& out, int32_t stations,
                       const std::vector<int32_t>& held) {
  std::vector<int32_t> column(static_cast<size_t>(stations), -1);
  int32_t unknowns = 0;
  for (int32_t s = 0; s < stations; ++s)
    if (std::find(held.begin(), held.end(), s) == held.end()) column[static_cast<size_t>(s)] = (unknowns += 3) - 3;
  std::vector<size_t> in;
  for (size_t i = 0; i < obs.size(); ++i)
    if (!out[i]) in.push_back(i);
  const auto rows = static_cast<Eigen::Index>(3 * in.size());
  Eigen::MatrixXd a = Eigen::MatrixXd::Zero(rows, unknowns), c = Eigen::MatrixXd::Zero(rows, rows);
  Eigen::VectorXd l(rows);
  for (size_t k = 0; k < in.size(); ++k) {
    const TObservation& o = obs[in[k]];
    const auto r = static_cast<Eigen::Index>(3 * k);
    if (column[static_cast<size_t>(o.To)] >= 0)
      a.block(r, column[static_cast<size_t>(o.To)], 3, 3) += Eigen::Matrix3d::Identity();
    if (column[static_cast<size_t>(o.From)] >= 0)
      a.block(r, column[static_cast<size_t>(o.From)], 3, 3) -= Eigen::Matrix3d::Identity();
    c.block(r, r, 3, 3) = Unpack(o.Covariance);
    l.segment<3>(r) = Eigen::Vector3d(o.Vector.X, o.Vector.Y, o.Vector.Z);
  }
  const Eigen::MatrixXd p = c.inverse();
  const Eigen::MatrixXd n = a.transpose() * p * a;
  const Eigen::MatrixXd qxx = n.inverse();
  const Eigen::VectorXd v = a * (qxx * (a.transpose() * p * l)) - l;
  const Eigen::MatrixXd qvv = c - a * qxx * a.transpose();
  TDense dense;
  dense.Residual.assign(obs.size(), Eigen::Vector3d::Zero());
  dense.Covariance.assign(obs.size(), Eigen::Matrix3d::Zero());
  for (size_t k = 0; k < in.size(); ++k) {
    const auto r = static_cast<Eigen::Index>(3 * k);
    dense.Residual[in[k]] = v.segment<3>(r);
    dense.Covariance[in[k]] = qvv.block(r, r, 3, 3);
  }
  return dense;
}

void ExpectResidual(const TNetworkAdjustment& adjustment, int32_t i, const Eigen::Vector3d& v,
                    const Eigen::Matrix3d& q) {
  const Vec3 r = adjustment.Residual(i);
  EXPECT_NEAR(r.X, v.x(), 1e-9) << "observation " << i;
  EXPECT_NEAR(r.Y, v.y(), 1e-9) << "observation " << i;
  EXPECT_NEAR(r.Z, v.z(), 1e-9) << "observation " << i;
  EXPECT_LT((Unpack(adjustment.ResidualCovariance(i)) - q).norm(), 1e-10 * (1 + q.norm())) << "observation " << i;
}

TEST(NetworkAdjustment, MatchesADenseLeastSquaresSolve) {
  const std::vector<TObservation> obs = SmallNetwork();
  const TNetworkAdjustment adjustment(9, obs);
  const TDense dense = DenseAdjustment(obs, std::vector<bool>(obs.size(), false), 9, {0, 6});
  for (int32_t i = 0; i < adjustment.Count(); ++i)
    ExpectResidual(adjustment, i, dense.Residual[static_cast<size_t>(i)], dense.Covariance[static_cast<size_t>(i)]);
  // The pendant leg 4-5 is checked by no loop: no residual, no residual covariance.
  EXPECT_LT(Unpack(adjustment.ResidualCovariance(8)).norm(), 1e-12);
  EXPECT_EQ(adjustment.Factorisations(), 1);
}

// Taking observations out one by one, with room for the updates and with a
// fresh factorisation at every step, against dense solves without them; an
// observation taken out has the residual it would have put back alone.
TEST(NetworkAdjustment, TakesObservationsOutAsADenseSolveWithoutThemWould) {
  const std::vector<TObservation> obs = SmallNetwork();
  for (const size_t bytes : {size_t{128} << 20, size_t{1}}) {
    TNetworkAdjustment adjustment(9, obs, bytes);
    std::vector<bool> out(obs.size(), false);
    for (const int32_t leg : {4, 6, 9}) {
      adjustment.Remove(leg);
      out[static_cast<size_t>(leg)] = true;
      const TDense dense = DenseAdjustment(obs, out, 9, {0, 6});
      for (int32_t i = 0; i < adjustment.Count(); ++i) {
        if (out[static_cast<size_t>(i)]) {
          std::vector<bool> others = out;
          others[static_cast<size_t>(i)] = false;
          const TDense back = DenseAdjustment(obs, others, 9, {0, 6});
          ExpectResidual(adjustment, i, back.Residual[static_cast<size_t>(i)], back.Covariance[static_cast<size_t>(i)]);
        } else {
          ExpectResidual(adjustment, i, dense.Residual[static_cast<size_t>(i)],
                         dense.Covariance[static_cast<size_t>(i)]);
        }
      }
      EXPECT_TRUE(adjustment.IsRemoved(leg));
    }
    EXPECT_EQ(adjustment.Factorisations(), bytes == 1 ? 2 : 1);
  }
}

TEST(NetworkAdjustment, RefusesACovarianceThatIsNotPositiveDefiniteAndAnUnknownStation) {
  std::vector<TObservation> obs = SmallNetwork();
  obs[3].Covariance = {1, 0, 0, 0, 0, 1};
  EXPECT_THROW(TNetworkAdjustment(9, obs), ECyclornError);
  obs = SmallNetwork();
  obs[0].To = 9;
  EXPECT_THROW(TNetworkAdjustment(9, obs), ECyclornError);
}

TEST(SelectedInverse, GivesTheInverseOnThePatternOfTheFactor) {
  // A 6 x 6 grid Laplacian with a diagonal shift and uneven weights.
  const int n = 36;
  std::vector<Eigen::Triplet<double>> t;
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> u(0.5, 2);
  Eigen::MatrixXd dense = Eigen::MatrixXd::Zero(n, n);
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < 6; ++c) {
      const int s = r * 6 + c;
      dense(s, s) += 0.1;
      for (const int o : {c + 1 < 6 ? s + 1 : -1, r + 1 < 6 ? s + 6 : -1}) {
        if (o < 0) continue;
        const double w = u(random);
        dense(s, s) += w;
        dense(o, o) += w;
        dense(s, o) -= w;
        dense(o, s) -= w;
      }
    }
  for (int i = 0; i < n; ++i)
    for (int j = 0; j <= i; ++j)
      if (dense(i, j) != 0) t.emplace_back(i, j, dense(i, j));
  TSparseMatrix a(n, n);
  a.setFromTriplets(t.begin(), t.end());
  const TSparseLdlt ldlt(a);
  const TSelectedInverse inverse(ldlt);
  const Eigen::MatrixXd z = dense.inverse();
  // Every element on the factor's pattern is exact, the matrix's own among
  // them; the others are refused.
  int refused = 0;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      try {
        EXPECT_NEAR(inverse.At(i, j), z(i, j), 1e-12 * z.norm()) << i << "," << j;
      } catch (const std::out_of_range&) {
        EXPECT_EQ(dense(i, j), 0) << i << "," << j;
        ++refused;
      }
    }
  EXPECT_GT(refused, 0);
}

}  // namespace
