#pragma once
// The colour a loop is drawn in by its misclosure ratio, so that the loops
// that close worse than their instruments allow stand out in the loop view.

#include <cstddef>
#include <vector>

#include "analysis/loop_misclosure.h"
#include "render/canvas.h"

// A loop's ratio squared times 3 is a chi-square with 3 degrees of freedom
// when its legs hold only their expected errors: a ratio above 1.945 happens
// by chance in 1 % of loops, above 2.329 in 0.1 %.
inline constexpr double kDoubtfulRatio = 1.945;
inline constexpr double kBlunderRatio = 2.329;

inline constexpr TColor kGoodLoopColor = TColor::Rgb(0, 160, 0);        // green
inline constexpr TColor kDoubtfulLoopColor = TColor::Rgb(255, 160, 0);  // orange
inline constexpr TColor kBlunderLoopColor = TColor::Rgb(255, 0, 255);   // magenta
inline constexpr TColor kUnmeasuredLoopColor = TColor::Rgb(0, 0, 0);    // black, as without raw data

// Green up to kDoubtfulRatio, orange up to kBlunderRatio, magenta above;
// black for a ratio that cannot be known (NaN).
TColor RatioColor(double ratio);

// The colour of every loop of the list the misclosures were computed over,
// indexed by TLoopMisclosure::Index (`count` loops; a loop missing from
// the misclosures is black).
std::vector<TColor> LoopColorsByRatio(const std::vector<TLoopMisclosure>& misclosures, size_t count);
