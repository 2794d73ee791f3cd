#pragma once
// The single reading change that best explains a leg's residual: its tape,
// its compass or its clino changed by some amount, or the leg entered
// backwards (From and To swapped). Each is fitted exactly, not to first
// order, so a compass read 30 degrees off is found as such.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/vector3.h"

enum class TBlunderKind : uint8_t { Tape, Compass, Clino, Reversed };

// "tape", "compass", "clino", "reversed".
std::string_view BlunderKindName(TBlunderKind kind);
// The kind of that name; nothing for any other text.
std::optional<TBlunderKind> BlunderKindByName(std::string_view name);

// The leg's vector after the reading change: the tape lengthened by change
// metres, the compass or clino turned by change degrees (the leg's own
// length, compass and clino taken from its vector), or the vector reversed.
Vec3 ChangedVector(Vec3 vector, TBlunderKind kind, double change);

struct TReadingFit {
  TBlunderKind Kind = TBlunderKind::Tape;
  // Corrected reading = recorded reading + Change: metres for the tape,
  // degrees for the compass (-180 < Change <= 180) and the clino; 180 for a
  // reversed leg.
  double Change = 0;
  // How much the adjustment's weighted sum of squared residuals falls when
  // the change is applied; at most the leg's statistic T = v^T Q^-1 v, which
  // an arbitrary change of the whole vector would remove.
  double Reduction = 0;
};

// The change with the largest Reduction for a leg with the given vector and
// covariance, residual (adjusted minus measured) and residual covariance.
// Reversed is named when the fitted tape change would leave a negative
// length: the loops then ask for the leg pointing the other way.
TReadingFit BestReadingFit(Vec3 vector, const std::array<double, 6>& covariance, Vec3 residual,
                           const std::array<double, 6>& residualCovariance);
