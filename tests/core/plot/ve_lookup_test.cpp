// The bilinear table lookup behind the table plots and the delta views.
#include "plot/ve_lookup.h"

#include <gtest/gtest.h>

namespace tallimar::plot {
namespace {

// 12 x 12 table, RPM bins 500..6000, MAP bins 10..120; VE(r, m) = 10 r + m inside the first
// eight bins and 0 beyond, which a lookup never reaches: it extends the outer pairs of the
// first eight bins (below bin 0 from bins 0, 1; MAP 100 and RPM 6000 from bins 6, 7).
TEST(LookupVE, BilinearInsideTheBinsAndExtendedFromTheOuterPairsOfTheFirstEight) {
  vemap::VeTable t;
  t.sizeRpm = t.sizeMap = 12;
  t.setStartupBins();
  for (std::size_t r = 0; r < 12; ++r)
    for (std::size_t m = 0; m < 12; ++m)
      t.ve[r][m] = static_cast<std::int16_t>(r < 8 && m < 8 ? 10 * r + m : 0);
  const struct {
    double map, rpm, ve;
  } cases[] = {{40, 1500, 23}, {35, 1250, 17.5}, {10, 250, -5}, {100, 500, 9}, {120, 6000, 121}};
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(LookupVE(t, c.map, c.rpm), c.ve) << c.map << " " << c.rpm;
  // The line through two points extends beyond them; equal positions give the mean.
  EXPECT_DOUBLE_EQ(InterpolateLinear(0, 10, 0, 100, -5), -50);
  EXPECT_DOUBLE_EQ(InterpolateLinear(5, 5, 10, 20, -1000), 15);  // never infinity
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
