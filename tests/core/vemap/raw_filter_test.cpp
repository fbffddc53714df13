// "Filter Raw Datalog": rounding, order, progress, and agreement with the literal filter.
#include "vemap/raw_filter.h"

#include <gtest/gtest.h>

#include <random>

#include "core/vemap/literal_filter.h"

namespace tallimar::vemap {
namespace {

using engine::RawDataMap;

void put(RawDataMap& raw, int column, int mapKpa, int ve) {
  raw.at(column, mapKpa).average = static_cast<std::int16_t>(ve);
}

TEST(FilterRules, CellMeanAndOrderRoundAsTheFilterNeeds) {
  EXPECT_EQ(filterCellOf(62.5), 62);  // halves to even
  EXPECT_EQ(filterCellOf(1e300), -1);
  const std::vector<double> halfway{60, 61}, unrounded{62.4, 62.4, 62.9};
  EXPECT_EQ(meanOfValues(halfway), 60);
  EXPECT_EQ(meanOfValues(unrounded), 63);
  // The order: the percentage of the points, between 2 and the point count.
  EXPECT_EQ(filterOrder(4, 50), 2);
  EXPECT_EQ(filterOrder(150, 33), 49);
  EXPECT_EQ(filterOrder(10, 250), 10);  // above 100 %: the single Bezier piece
}

TEST(FilterRawMap, FourPointsAtHalfSmoothingInterpolateStraightLines) {
  RawDataMap raw;
  for (const int map : {10, 20, 30, 40}) put(raw, 35, map, map + 40);
  FilteredMap out;
  std::vector<FilterLine> fitted;
  std::vector<Point> curve;
  filterRawMap(raw, {}, out, [&](const FilterLine& line) {
    if (line.fitted) {
      fitted.push_back(line);
      curve.assign(line.curve.begin(), line.curve.end());
    }
    return true;
  });
  ASSERT_EQ(fitted.size(), 1u);
  EXPECT_EQ(fitted[0].order, 2);
  ASSERT_EQ(curve.size(), 256u);
  EXPECT_EQ(curve.front(), (Point{10, 50}));
  EXPECT_EQ(curve.back(), (Point{40, 80}));
  for (int map = 10; map <= 40; ++map) EXPECT_EQ(out.at(35, map), map + 40) << map;
  EXPECT_EQ(out.at(35, 9), 0);
}

TEST(FilterRawMap, StoppingFromProgressLeavesTheMapUnchanged) {
  RawDataMap raw;
  for (int c = 1; c <= 150; ++c) {
    for (int m = 20; m <= 100; m += 10) put(raw, c, m, 60);
  }
  FilteredMap out;
  out.at(7, 7) = 42;
  int calls = 0;
  const auto outcome = filterRawMap(raw, {}, out, [&](const FilterLine& line) {
    EXPECT_EQ(line.linesDone, ++calls);
    EXPECT_EQ(line.lineCount, 150);
    return calls < 30;
  });
  EXPECT_FALSE(outcome.completed);
  EXPECT_EQ(calls, 30);
  EXPECT_EQ(out.at(7, 7), 42);
  EXPECT_EQ(out.at(5, 50), 0);
}

// Property, one and two steps: short lines, values of 0 and below, cells step 2 does not reach.
TEST(FilterRawMap, EqualsTheLiteralFilterOnRandomMaps) {
  std::mt19937 random(7031);
  for (int trial = 0; trial < 4; ++trial) {
    RawDataMap raw;
    const double density = 0.05 + 0.1 * trial;
    std::bernoulli_distribution has(density);
    std::uniform_int_distribution<int> ve(-10, 140);
    for (int c = 1; c <= 150; ++c) {
      for (int m = 1; m <= 256; ++m) {
        if (has(random)) put(raw, c, m, ve(random));
      }
    }
    FilterOptions options;
    options.smoothingStep1 = std::uniform_int_distribution<int>(0, 100)(random);
    options.smoothingStep2 = std::uniform_int_distribution<int>(0, 100)(random);
    options.twoStep = trial % 2 == 0;
    FilteredMap fast;
    filterRawMap(raw, options, fast);
    const FilteredMap literal = reference::literalFilter(raw, options);
    for (int r = 0; r < engine::kRawRpmCells; ++r)
      for (int m = 0; m < engine::kRawMapCells; ++m)
        ASSERT_EQ(fast.at(r, m), literal.at(r, m))
            << "trial " << trial << " cell " << r << "/" << m;
  }
}

}  // namespace
}  // namespace tallimar::vemap
