#pragma once
// The least-squares adjustment of a network of measured vectors: station
// coordinates are the unknowns, each vector is one observation of the
// difference of its ends' coordinates weighted by the inverse of its
// covariance, and the first station of every connected piece is held where
// it is (a choice that moves the coordinates but no residual). It gives
// every observation's residual and the exact covariance of that residual,
// and can take observations out one at a time, as the search for blunders
// does, without starting again.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/vector3.h"

class TNetworkAdjustment {
 public:
  struct TObservation {
    int32_t From = 0, To = 0;  // stations 0 .. stations-1
    Vec3 Vector;               // metres, From to To
    // Positive definite covariance in square metres: XX, XY, XZ, YY, YZ, ZZ.
    std::array<double, 6> Covariance{};
  };

  // Adjusts the observations. Taking observations out keeps a record of
  // about 72 bytes an observation for each one taken out since the last
  // factorisation, within updateBytes; past it the network is factorised
  // afresh without them. Raises ECyclornError for a covariance that is not
  // positive definite, an observation of a station the network does not
  // have, or a factor that does not fit in memory.
  TNetworkAdjustment(int32_t stations, std::vector<TObservation> observations, size_t updateBytes = 128u << 20);
  ~TNetworkAdjustment();
  TNetworkAdjustment(const TNetworkAdjustment&) = delete;
  TNetworkAdjustment& operator=(const TNetworkAdjustment&) = delete;

  int32_t Count() const;
  // Adjusted minus measured vector of observation i, metres, in the network
  // of every observation not taken out; for one taken out, in that network
  // with it put back alone (its residual were it the only one restored).
  Vec3 Residual(int32_t i) const;
  // The exact covariance of that residual (m^2), packed as the covariances
  // are; zero for an observation no loop of the others checks.
  std::array<double, 6> ResidualCovariance(int32_t i) const;
  bool IsRemoved(int32_t i) const;
  // Adjusts again without observation i. It must still lie in a loop of the
  // remaining observations (its residual covariance positive definite); the
  // network's pieces then stay as they are.
  void Remove(int32_t i);
  // Factorisations made so far (one at the start, one each time the record of
  // taken-out observations is full).
  int32_t Factorisations() const;

 private:
  struct TImpl;
  std::unique_ptr<TImpl> impl_;
};
