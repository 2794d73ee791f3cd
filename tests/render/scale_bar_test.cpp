// The scale bar takes the longest round length that fits, and says it in
// metres or kilometres.

#include "render/scale_bar.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(ScaleBar, TakesTheLongestOneTwoOrFiveTimesAPowerOfTenThatFits) {
  const struct {
    double MetresPerPixel, MaxPixels, Metres;
  } cases[] = {
      {0.1, 150, 10},     // 15 m fit: 10
      {1, 150, 100},      // 150 m: 100
      {1, 250, 200},      // 250 m: 200
      {1, 500, 500},      // exactly 500
      {0.002, 150, 0.2},  // 0.3 m: 0.2
      {40, 150, 5000},    // 6 km: 5 km
  };
  for (const auto& c : cases) {
    const TScaleBar bar = RoundScaleBar(c.MetresPerPixel, c.MaxPixels);
    EXPECT_DOUBLE_EQ(bar.Metres, c.Metres) << c.MetresPerPixel << " " << c.MaxPixels;
    EXPECT_NEAR(bar.Pixels, c.Metres / c.MetresPerPixel, 1e-9);
    EXPECT_LE(bar.Pixels, c.MaxPixels * (1 + 1e-9));
  }
  for (const double bad :
       {0.0, -1.0, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()})
    EXPECT_EQ(RoundScaleBar(bad, 150).Metres, 0) << bad;
  EXPECT_EQ(ScaleBarText(500), "500 m");
  EXPECT_EQ(ScaleBarText(0.5), "0.5 m");
  EXPECT_EQ(ScaleBarText(2000), "2 km");
}

}  // namespace
