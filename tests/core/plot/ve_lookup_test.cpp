// The bilinear table lookup behind the table plots and the delta views.
#include "plot/ve_lookup.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tallimar::plot {
namespace {

// 12 x 12 table, RPM bins 500..6000, MAP bins 10..120. Inside the first eight bins
// VE(r, m) = 10 r + m; bins 8..11 hold 0, which a lookup must never reach.
vemap::VeTable twelveByTwelve() {
  vemap::VeTable t;
  t.sizeRpm = t.sizeMap = 12;
  t.setStartupBins();
  for (std::size_t r = 0; r < 12; ++r)
    for (std::size_t m = 0; m < 12; ++m)
      t.ve[r][m] = static_cast<std::int16_t>(r < 8 && m < 8 ? 10 * r + m : 0);
  return t;
}

TEST(InterpolateLinear, ExtendsBeyondThePointsAndEqualPositionsGiveTheMean) {
  EXPECT_DOUBLE_EQ(InterpolateLinear(0, 10, 0, 100, -5), -50);
  EXPECT_DOUBLE_EQ(InterpolateLinear(10, 20, 60, 40, 25), 30);
  EXPECT_DOUBLE_EQ(InterpolateLinear(5, 5, 10, 20, -1000), 15);  // never infinity
}

TEST(LookupVE, BilinearInsideTheBinsAndExtendedFromTheOuterPairsOfTheFirstEight) {
  const auto t = twelveByTwelve();
  // RPM bin 2 / MAP bin 3, halfway in both directions, bin 0; below the first bin extrapolated
  // from bins 0 and 1. MAP 100 lies between bins 9 and 10, but the lookup extends bins 6 (70)
  // and 7 (80); exactly bin 7 also takes the pair 6, 7. RPM 5000 is bin 9, extended likewise.
  const struct {
    double map, rpm, ve;
  } cases[] = {{40, 1500, 23}, {35, 1250, 17.5}, {10, 500, 0}, {5, 500, -0.5}, {10, 250, -5},
               {0, 0, -11},    {100, 500, 9},    {80, 500, 7}, {10, 5000, 90}, {120, 6000, 121}};
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(LookupVE(t, c.map, c.rpm), c.ve) << c.map << " " << c.rpm;
}

TEST(LookupVE, EqualNeighbouringBinsGiveTheMeanOfTheirRows) {
  // A 4 x 4 MAP axis with bins 4..7 left at 0: every MAP at or above 0 takes the pair 6, 7,
  // whose bins are both 0.
  vemap::VeTable t;
  t.setStartupBins();
  t.sizeMap = 4;
  for (std::size_t m = 4; m < 8; ++m) t.mapBins[m] = 0;
  for (std::size_t r = 0; r < 8; ++r) {
    t.ve[r][6] = 40;
    t.ve[r][7] = 60;
  }
  EXPECT_DOUBLE_EQ(LookupVE(t, 35, 1000), 50);
  // Equal RPM bins as well: still finite.
  for (std::size_t r = 0; r < 8; ++r) t.rpmBins[r] = 1000;
  EXPECT_DOUBLE_EQ(LookupVE(t, 35, 3000), 50);
}

TEST(LookupVE, BinsThatDoNotAscendTakeTheLastPairHoldingThePosition) {
  vemap::VeTable t;
  t.setStartupBins();
  const std::int16_t mapBins[8] = {10, 20, 30, 25, 35, 50, 60, 70};
  for (std::size_t m = 0; m < 8; ++m) {
    t.mapBins[m] = mapBins[m];
    for (std::size_t r = 0; r < 8; ++r) t.ve[r][m] = static_cast<std::int16_t>(10 * m);
  }
  // 27 kPa is in [20, 30) (pair 1) and in [25, 35) (pair 3); pair 3 gives 30 + 2/10 * 10.
  EXPECT_DOUBLE_EQ(LookupVE(t, 27, 1000), 32);
  // Exactly on the last bin: the pair 6, 7 (from pair 0, 1 the line would give 60).
  EXPECT_DOUBLE_EQ(LookupVE(t, 70, 1000), 70);
}

}  // namespace
}  // namespace tallimar::plot
