// Loops are coloured by their misclosure ratio in three bands, black where
// the ratio cannot be known.

#include "workbench/misclosure_colors.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using ::testing::ElementsAre;

TEST(RatioColor, BandsAtTheOneAndTheTenthPercentPointsOfTheRatiosChiSquare) {
  // The band edges are the 99 % and 99.9 % points of sqrt(chi-square(3) / 3).
  EXPECT_NEAR(kDoubtfulRatio, std::sqrt(11.3449 / 3), 1e-3);
  EXPECT_NEAR(kBlunderRatio, std::sqrt(16.2662 / 3), 1e-3);
  const struct {
    double Ratio;
    TColor Color;
  } cases[] = {{0, kGoodLoopColor},
               {kDoubtfulRatio, kGoodLoopColor},
               {std::nextafter(kDoubtfulRatio, 3.0), kDoubtfulLoopColor},
               {kBlunderRatio, kDoubtfulLoopColor},
               {std::nextafter(kBlunderRatio, 3.0), kBlunderLoopColor},
               {std::numeric_limits<double>::infinity(), kBlunderLoopColor},
               {std::numeric_limits<double>::quiet_NaN(), kUnmeasuredLoopColor}};
  for (const auto& c : cases) EXPECT_EQ(RatioColor(c.Ratio), c.Color) << c.Ratio;
}

TEST(LoopColorsByRatio, PlacesEachLoopByItsIndexAndLeavesLoopsWithoutFiguresBlack) {
  std::vector<TLoopMisclosure> loops(4);
  loops[0].Index = 2, loops[0].Status = TLoopStatus::Measured, loops[0].Ratio = 5;
  loops[1].Index = 0, loops[1].Status = TLoopStatus::Measured, loops[1].Ratio = 0.5;
  loops[2].Index = 1, loops[2].Status = TLoopStatus::Unmeasured, loops[2].Ratio = 0.5;  // no figures, whatever it holds
  loops[3].Index = 9, loops[3].Status = TLoopStatus::Measured, loops[3].Ratio = 5;      // outside the list
  EXPECT_THAT(LoopColorsByRatio(loops, 4),
              ElementsAre(kGoodLoopColor, kUnmeasuredLoopColor, kBlunderLoopColor, kUnmeasuredLoopColor));
}

}  // namespace
