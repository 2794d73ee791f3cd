#pragma once
// The scale bar of a survey's drawing: a round length (1, 2 or 5 times a
// power of ten metres) drawn about as long as the view asks.

#include <string>

struct TScaleBar {
  double Metres = 0;  // the length the bar stands for
  double Pixels = 0;  // its length on the screen
};

// The largest round length whose bar is no longer than maxPixels at
// metresPerPixel; nothing (Metres 0) for a scale that is not positive and finite.
TScaleBar RoundScaleBar(double metresPerPixel, double maxPixels);

// "500 m", "20 m", "0.5 m", "2 km" (from 1000 m on).
std::string ScaleBarText(double metres);
