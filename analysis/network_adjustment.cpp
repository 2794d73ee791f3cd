#include "analysis/network_adjustment.h"

#include <algorithm>
#include <new>
#include <numeric>
#include <string>

#include "analysis/leg_covariance.h"
#include "analysis/selected_inverse.h"
#include "core/errors.h"

namespace {

using TMatrix3x3 = Eigen::Matrix<double, 3, 3>;

// The unknowns' offset of a station, or -1 for a station held fixed.
std::vector<int32_t> NumberUnknowns(int32_t stations, const std::vector<TNetworkAdjustment::TObservation>& obs,
                                    const std::vector<uint8_t>& removed, int32_t& unknowns) {
  std::vector<int32_t> root(static_cast<size_t>(stations));
  std::iota(root.begin(), root.end(), 0);
  const auto find = [&root](int32_t x) {
    while (root[static_cast<size_t>(x)] != x)
      x = root[static_cast<size_t>(x)] = root[static_cast<size_t>(root[static_cast<size_t>(x)])];
    return x;
  };
  for (size_t i = 0; i < obs.size(); ++i) {
    if (removed[i]) continue;
    const int32_t a = find(obs[i].From), b = find(obs[i].To);
    // The smaller station becomes the root, so each piece's first station is held.
    if (a != b) root[static_cast<size_t>(std::max(a, b))] = std::min(a, b);
  }
  std::vector<int32_t> offset(static_cast<size_t>(stations), -1);
  unknowns = 0;
  for (int32_t s = 0; s < stations; ++s)
    if (find(s) != s) {
      offset[static_cast<size_t>(s)] = unknowns;
      unknowns += 3;
    }
  return offset;
}

}  // namespace

struct TNetworkAdjustment::TImpl {
  int32_t Stations = 0;
  std::vector<TObservation> Obs;
  std::vector<TMatrix3> Covariance, Weight;
  std::vector<uint8_t> Removed;
  std::vector<TVector3> Residual;
  std::vector<TMatrix3> ResidualCovariance;
  size_t UpdateBytes = 0;
  int32_t Factorisations = 0;

  std::vector<int32_t> Offset;
  int32_t Unknowns = 0;
  TSparseLdlt Ldlt;
  // One entry per observation taken out since the factorisation: its
  // residual's cross-covariance with every observation (9 values each, at the
  // time it was taken out), and the inverse of its own residual covariance.
  std::vector<std::vector<TMatrix3x3>> Cross;
  std::vector<int32_t> CrossObservation;
  std::vector<TMatrix3> CrossInverse;

  size_t MaxUpdates() const {
    const size_t perUpdate = std::max<size_t>(1, Obs.size()) * sizeof(TMatrix3x3);
    return std::clamp<size_t>(UpdateBytes / perUpdate, 1, 64);
  }

  TVector3 Difference(const Eigen::VectorXd& x, int32_t i) const {
    const TObservation& o = Obs[static_cast<size_t>(i)];
    TVector3 d = TVector3::Zero();
    const int32_t a = Offset[static_cast<size_t>(o.From)], b = Offset[static_cast<size_t>(o.To)];
    if (b >= 0) d += x.segment<3>(b);
    if (a >= 0) d -= x.segment<3>(a);
    return d;
  }

  TMatrix3x3 Difference(const Eigen::MatrixXd& y, int32_t i) const {
    const TObservation& o = Obs[static_cast<size_t>(i)];
    TMatrix3x3 d = TMatrix3x3::Zero();
    const int32_t a = Offset[static_cast<size_t>(o.From)], b = Offset[static_cast<size_t>(o.To)];
    if (b >= 0) d += y.block<3, 3>(b, 0);
    if (a >= 0) d -= y.block<3, 3>(a, 0);
    return d;
  }

  void Factorise();
  void FactoriseOrFail();
  void Update(int32_t s);
};

void TNetworkAdjustment::TImpl::Factorise() {
  ++Factorisations;
  Cross.clear();
  CrossObservation.clear();
  CrossInverse.clear();
  Offset = NumberUnknowns(Stations, Obs, Removed, Unknowns);
  const size_t m = Obs.size();
  Residual.assign(m, TVector3::Zero());
  ResidualCovariance.assign(m, TMatrix3::Zero());

  // Normal equations, lower triangle: N(a,a) += W, N(b,b) += W, N(b,a) -= W.
  std::vector<Eigen::Triplet<double>> triplets;
  Eigen::VectorXd rhs = Eigen::VectorXd::Zero(Unknowns);
  triplets.reserve(m * 21);
  const auto addBlock = [&triplets](int32_t r0, int32_t c0, const TMatrix3& block) {
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c)
        if (r0 + r >= c0 + c) triplets.emplace_back(r0 + r, c0 + c, block(r, c));
  };
  for (size_t i = 0; i < m; ++i) {
    const TObservation& o = Obs[i];
    if (o.From == o.To) continue;
    const int32_t a = Offset[static_cast<size_t>(o.From)], b = Offset[static_cast<size_t>(o.To)];
    // A removed observation stays in the pattern with zero weight, so that
    // the selected inverse holds the blocks its misfit's covariance needs.
    const TMatrix3 w = Removed[i] ? TMatrix3(TMatrix3::Zero()) : Weight[i];
    const TVector3 wl = w * ToEigen(o.Vector);
    if (a >= 0) {
      addBlock(a, a, w);
      rhs.segment<3>(a) -= wl;
    }
    if (b >= 0) {
      addBlock(b, b, w);
      rhs.segment<3>(b) += wl;
    }
    if (a >= 0 && b >= 0) {
      if (a > b)
        addBlock(a, b, -w);
      else
        addBlock(b, a, -w);
    }
  }
  TSparseMatrix normal(Unknowns, Unknowns);
  normal.setFromTriplets(triplets.begin(), triplets.end());
  triplets = {};
  if (Unknowns > 0) {
    Ldlt.compute(normal);
    if (Ldlt.info() != Eigen::Success)
      throw ECyclornError(
          "The network's normal equations cannot be factorised (a leg's covariance is not positive definite)");
  }
  const Eigen::VectorXd x = Unknowns > 0 ? Eigen::VectorXd(Ldlt.solve(rhs)) : Eigen::VectorXd();

  std::unique_ptr<TSelectedInverse> inverse;
  if (Unknowns > 0) inverse = std::make_unique<TSelectedInverse>(Ldlt);
  const auto block = [&inverse](int32_t p, int32_t q) {
    TMatrix3 z;
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) z(r, c) = inverse->At(p + r, q + c);
    return z;
  };
  for (size_t i = 0; i < m; ++i) {
    const TObservation& o = Obs[i];
    if (o.From == o.To) {
      Residual[i] = -ToEigen(o.Vector);
      ResidualCovariance[i] = Covariance[i];
      continue;
    }
    Residual[i] = Difference(x, static_cast<int32_t>(i)) - ToEigen(o.Vector);
    // Covariance of the adjusted vector: Qbb - Qba - Qab + Qaa.
    const int32_t a = Offset[static_cast<size_t>(o.From)], b = Offset[static_cast<size_t>(o.To)];
    TMatrix3 adjusted = TMatrix3::Zero();
    if (b >= 0) adjusted += block(b, b);
    if (a >= 0) adjusted += block(a, a);
    if (a >= 0 && b >= 0) {
      const TMatrix3 ba = block(b, a);
      adjusted -= ba + ba.transpose();
    }
    TMatrix3 q = Covariance[i] - adjusted;
    ResidualCovariance[i] = (q + q.transpose()) / 2;
  }
}

void TNetworkAdjustment::TImpl::Update(int32_t s) {
  const size_t m = Obs.size();
  const auto ss = static_cast<size_t>(s);
  // Column block of the inverse normal matrix for observation s's design: N^-1 A_s^T.
  Eigen::MatrixXd design = Eigen::MatrixXd::Zero(Unknowns, 3);
  const int32_t a = Offset[static_cast<size_t>(Obs[ss].From)], b = Offset[static_cast<size_t>(Obs[ss].To)];
  if (Obs[ss].From != Obs[ss].To) {
    if (b >= 0) design.block<3, 3>(b, 0) += TMatrix3x3::Identity();
    if (a >= 0) design.block<3, 3>(a, 0) -= TMatrix3x3::Identity();
  }
  const Eigen::MatrixXd y = Unknowns > 0 ? Eigen::MatrixXd(Ldlt.solve(design)) : Eigen::MatrixXd::Zero(0, 3);

  // -A_i Qxx A_s^T for every observation i, in or out: at the factorisation
  // -A_i N^-1 A_s^T, then brought up to date through the observations taken out
  // since. For i in the network and i != s it is the cross-covariance of the
  // two residuals; s's own residual covariance adds C_s.
  std::vector<TMatrix3x3> cross(m, TMatrix3x3::Zero());
  std::vector<TMatrix3x3> earlier;
  for (size_t t = 0; t < Cross.size(); ++t) earlier.push_back(CrossInverse[t] * Cross[t][ss].transpose());
  for (size_t i = 0; i < m; ++i) {
    TMatrix3x3 k = Unknowns > 0 && Obs[i].From != Obs[i].To ? TMatrix3x3(-Difference(y, static_cast<int32_t>(i)))
                                                            : TMatrix3x3(TMatrix3x3::Zero());
    for (size_t t = 0; t < Cross.size(); ++t) k -= Cross[t][i] * earlier[t];
    cross[i] = k;
  }
  TMatrix3 own = cross[ss] + Covariance[ss];
  own = (own + own.transpose()) / 2;
  const TMatrix3 ownInverse = own.inverse();
  const TVector3 gain = ownInverse * Residual[ss];
  // The same update moves the misfits of the observations already out, so
  // each keeps its misfit against the network without it.
  for (size_t i = 0; i < m; ++i) {
    Residual[i] -= cross[i] * gain;
    TMatrix3 q = ResidualCovariance[i] - cross[i] * ownInverse * cross[i].transpose();
    ResidualCovariance[i] = (q + q.transpose()) / 2;
  }
  Cross.push_back(std::move(cross));
  CrossObservation.push_back(s);
  CrossInverse.push_back(ownInverse);
}

TNetworkAdjustment::TNetworkAdjustment(int32_t stations, std::vector<TObservation> observations, size_t updateBytes)
    : impl_(std::make_unique<TImpl>()) {
  TImpl& d = *impl_;
  d.Stations = stations;
  d.Obs = std::move(observations);
  d.UpdateBytes = updateBytes;
  d.Removed.assign(d.Obs.size(), 0);
  for (const TObservation& o : d.Obs) {
    if (o.From < 0 || o.To < 0 || o.From >= stations || o.To >= stations)
      throw ECyclornError("An observation joins a station the network does not have");
    const TMatrix3 c = UnpackSymmetric(o.Covariance);
    const Eigen::LLT<TMatrix3> llt(c);
    if (llt.info() != Eigen::Success) throw ECyclornError("A leg's covariance is not positive definite");
    d.Covariance.push_back(c);
    d.Weight.push_back(llt.solve(TMatrix3::Identity()));
  }
  d.FactoriseOrFail();
}

TNetworkAdjustment::~TNetworkAdjustment() = default;

void TNetworkAdjustment::TImpl::FactoriseOrFail() {
  try {
    Factorise();
  } catch (const std::bad_alloc&) {
    // The factor of a network whose loops are densely interwoven can outgrow memory.
    throw ECyclornError("Not enough memory to adjust the network (" + std::to_string(Stations) + " stations, " +
                        std::to_string(Obs.size()) + " legs)");
  }
}

int32_t TNetworkAdjustment::Count() const { return static_cast<int32_t>(impl_->Obs.size()); }

// For an observation taken out, Residual and ResidualCovariance hold its
// misfit d = A_i x - l_i against the network without it and C_i - A_i Qxx A_i^T;
// put back alone, its residual is C_i S^-1 d with covariance C_i S^-1 C_i, where
// S = C_i + A_i Qxx A_i^T is the misfit's covariance.
Vec3 TNetworkAdjustment::Residual(int32_t i) const {
  const auto k = static_cast<size_t>(i);
  if (!impl_->Removed[k]) return FromEigen(impl_->Residual[k]);
  const TMatrix3& c = impl_->Covariance[k];
  const TMatrix3 misfit = 2 * c - impl_->ResidualCovariance[k];
  return FromEigen(c * misfit.ldlt().solve(impl_->Residual[k]));
}

std::array<double, 6> TNetworkAdjustment::ResidualCovariance(int32_t i) const {
  const auto k = static_cast<size_t>(i);
  if (!impl_->Removed[k]) return PackSymmetric(impl_->ResidualCovariance[k]);
  const TMatrix3& c = impl_->Covariance[k];
  const TMatrix3 misfit = 2 * c - impl_->ResidualCovariance[k];
  TMatrix3 q = c * misfit.ldlt().solve(c);
  return PackSymmetric((q + q.transpose()) / 2);
}

bool TNetworkAdjustment::IsRemoved(int32_t i) const { return impl_->Removed[static_cast<size_t>(i)] != 0; }

void TNetworkAdjustment::Remove(int32_t i) {
  TImpl& d = *impl_;
  if (d.Removed[static_cast<size_t>(i)]) return;
  if (d.Cross.size() >= d.MaxUpdates()) {
    d.Removed[static_cast<size_t>(i)] = 1;
    d.FactoriseOrFail();
    return;
  }
  d.Update(i);
  d.Removed[static_cast<size_t>(i)] = 1;
}

int32_t TNetworkAdjustment::Factorisations() const { return impl_->Factorisations; }
