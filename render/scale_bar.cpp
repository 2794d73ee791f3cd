#include "render/scale_bar.h"

#include <cmath>
#include <cstdio>

TScaleBar RoundScaleBar(double metresPerPixel, double maxPixels) {
  if (!(metresPerPixel > 0) || !std::isfinite(metresPerPixel) || !(maxPixels > 0)) return {};
  const double longest = metresPerPixel * maxPixels;
  double power = std::pow(10.0, std::floor(std::log10(longest)));
  double metres = power;
  for (const double step : {5.0, 2.0, 1.0}) {
    if (step * power <= longest * (1 + 1e-12)) {
      metres = step * power;
      break;
    }
  }
  return {metres, metres / metresPerPixel};
}

std::string ScaleBarText(double metres) {
  char text[32];
  if (metres >= 1000)
    std::snprintf(text, sizeof text, "%g km", metres / 1000);
  else
    std::snprintf(text, sizeof text, "%g m", metres);
  return text;
}
