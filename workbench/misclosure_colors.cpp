#include "workbench/misclosure_colors.h"

#include <cmath>

TColor RatioColor(double ratio) {
  if (std::isnan(ratio)) return kUnmeasuredLoopColor;
  if (ratio <= kDoubtfulRatio) return kGoodLoopColor;
  if (ratio <= kBlunderRatio) return kDoubtfulLoopColor;
  return kBlunderLoopColor;
}

std::vector<TColor> LoopColorsByRatio(const std::vector<TLoopMisclosure>& misclosures, size_t count) {
  std::vector<TColor> colors(count, kUnmeasuredLoopColor);
  for (const TLoopMisclosure& loop : misclosures) {
    const auto at = static_cast<size_t>(loop.Index);
    if (loop.Index >= 0 && at < count && loop.Status == TLoopStatus::Measured) colors[at] = RatioColor(loop.Ratio);
  }
  return colors;
}
