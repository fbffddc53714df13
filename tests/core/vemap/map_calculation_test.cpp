// "Calculate Map": neighbourhood positions, rounding, the source choice, and bins whose
// neighbourhood leaves the fine grid.
#include "vemap/map_calculation.h"

#include <gtest/gtest.h>

namespace tallimar::vemap {
namespace {

using Rows = std::array<int, 3>;

struct Fixture {
  engine::RawDataMap raw;
  FilteredMap filtered;
  VeTable table;
  Fixture() {
    table.sizeRpm = 1;
    table.sizeMap = 1;
  }
  void bin(int rpm, int map) {
    table.rpmBins[0] = static_cast<std::int16_t>(rpm);
    table.mapBins[0] = static_cast<std::int16_t>(map);
  }
  void put(int column, int map, int ve) {
    raw.at(column, map).average = static_cast<std::int16_t>(ve);
  }
  std::int16_t calculate() {
    calculateMap(table, raw, filtered);
    return table.ve[0][0];
  }
};

TEST(MapCalculation, NeighbourPositions) {
  EXPECT_EQ(mapNeighbourRows(60), (Rows{59, 60, 61}));
  EXPECT_EQ(mapNeighbourRows(0), (Rows{0, 0, 1}));
  EXPECT_EQ(mapNeighbourRows(255), (Rows{254, 255, 0}));
  EXPECT_EQ(mapNeighbourRows(256), (Rows{255, 256, 0}));
  EXPECT_EQ(rpmNeighbourColumns(2250), (Rows{22, 22, 24}));  // 21.5 and 22.5 go to 22
  EXPECT_EQ(rpmNeighbourColumns(2350), (Rows{22, 24, 24}));
  EXPECT_EQ(rpmNeighbourColumns(15000), (Rows{149, 150, 0}));
  EXPECT_EQ(rpmNeighbourColumns(15050), (Rows{150, 150, 0}));
  EXPECT_EQ(rpmNeighbourColumns(14960), (Rows{149, 150, 151}));  // outside the grid
}

TEST(MapCalculation, MeanOfPositiveNeighboursRoundedHalfToEven) {
  Fixture f;
  f.bin(2000, 60);
  f.put(19, 59, 50);
  f.put(20, 59, 60);
  f.put(20, 60, 70);
  EXPECT_EQ(f.calculate(), 60);  // (50 + 60 + 70) / 3

  Fixture half;
  half.bin(2000, 60);
  half.put(19, 59, 61);
  half.put(21, 61, 62);
  EXPECT_EQ(half.calculate(), 62);  // 61.5
  half.put(19, 59, 60);
  half.put(21, 61, 61);
  EXPECT_EQ(half.calculate(), 60);  // 60.5

  // Zero and negative values count in the sum but not in the count.
  Fixture negative;
  negative.bin(2000, 60);
  negative.put(20, 60, 80);
  negative.put(20, 61, 70);
  negative.put(21, 60, -30);
  EXPECT_EQ(negative.calculate(), 60);  // (80 + 70 - 30) / 2
}

TEST(MapCalculation, EdgeBinsUseTheRowsAndColumnsOfTheNeighbourRule) {
  Fixture f;
  f.bin(15000, 255);
  f.put(0, 254, 40);    // column 0 (the "above" of 15000) with row 254
  f.put(150, 256, 90);  // row 256 is never read for a 255 kPa bin
  f.put(149, 0, 20);    // row 0 is the "above" of 255
  EXPECT_EQ(f.calculate(), 30);

  Fixture low;
  low.bin(2000, 0);
  low.put(20, 0, 50);  // row 0 twice: below and centre
  low.put(20, 1, 80);
  EXPECT_EQ(low.calculate(), 60);  // (50 + 50 + 80) / 3
}

TEST(MapCalculation, BinsWithoutDataKeepTheirValue) {
  Fixture f;
  f.bin(3000, 50);
  f.table.ve[0][0] = 77;
  f.put(40, 50, 60);  // far away
  EXPECT_EQ(f.calculate(), 77);
}

TEST(MapCalculation, FilteredFlagMakesTheFilteredMapTheOnlySource) {
  Fixture f;
  f.bin(2000, 60);
  f.put(20, 60, 90);
  f.filtered.at(20, 60) = 55.0f;
  f.filtered.at(21, 61) = 56.0f;
  EXPECT_EQ(f.calculate(), 90);
  f.table.filteredMapPresent = true;
  const auto report = calculateMap(f.table, f.raw, f.filtered);
  EXPECT_TRUE(report.fromFilteredMap);
  EXPECT_EQ(f.table.ve[0][0], 56);  // 55.5
}

TEST(MapCalculation, TwelveByTwelveComputedInFullOthersUntouched) {
  Fixture f;
  f.table.sizeRpm = 12;
  f.table.sizeMap = 12;
  f.table.setStartupBins();
  for (auto& row : f.table.ve) row.fill(-1);
  for (int c = 0; c <= 150; ++c) {
    for (int m = 0; m <= 256; ++m) f.put(c, m, 10 + c / 10 + m / 20);
  }
  const auto report = calculateMap(f.table, f.raw, f.filtered);
  EXPECT_EQ(report.binsComputed, 144);
  for (int r = 0; r < 16; ++r) {
    for (int m = 0; m < 16; ++m) {
      const auto ve = f.table.ve[static_cast<std::size_t>(r)][static_cast<std::size_t>(m)];
      if (r < 12 && m < 12)
        EXPECT_GT(ve, 0);
      else
        EXPECT_EQ(ve, -1);
    }
  }
  // 2000 rev/min, 40 kPa: columns 19..21 x rows 39..41 hold 12, 13, 13, 13, 14, 14, 13, 14,
  // 14: 120 / 9 = 13.3.
  EXPECT_EQ(f.table.ve[3][3], 13);
}

// Positions outside the grid are skipped: never read, never counted.
TEST(MapCalculation, PositionsOutsideTheGridAreSkipped) {
  Fixture f;
  f.bin(14960, 100);  // above column rounds to 151
  f.put(150, 100, 64);
  f.put(149, 100, 66);  // 148.6 -> column 149 is the "below"
  const auto report = calculateMap(f.table, f.raw, f.filtered);
  EXPECT_EQ(f.table.ve[0][0], 65);
  ASSERT_EQ(report.binsOutsideGrid.size(), 1u);

  for (const auto& [rpm, map] : std::vector<std::pair<int, int>>{
           {2000, 300}, {2000, -5}, {-300, 60}, {20000, 60}, {32767, 32767}, {-32768, -32768}}) {
    Fixture g;
    g.bin(rpm, map);
    g.table.ve[0][0] = 33;
    for (int c = 0; c <= 150; ++c) {
      for (int m = 0; m <= 256; ++m) g.put(c, m, 80);
    }
    const auto outside = calculateMap(g.table, g.raw, g.filtered);
    EXPECT_EQ(outside.binsOutsideGrid.size(), 1u) << rpm << "/" << map;
    // Whatever lies inside still counts; a bin wholly outside keeps its value.
    EXPECT_TRUE(g.table.ve[0][0] == 80 || g.table.ve[0][0] == 33) << rpm << "/" << map;
  }
  Fixture wholly;
  wholly.bin(2000, 400);
  wholly.table.ve[0][0] = 33;
  wholly.put(20, 256, 80);
  EXPECT_EQ(wholly.calculate(), 33);
}

TEST(MapCalculation, SizesOutOfRangeNeverIndexPastTheTable) {
  Fixture f;
  f.table.sizeRpm = 40;
  f.table.sizeMap = -3;
  EXPECT_EQ(calculateMap(f.table, f.raw, f.filtered).binsComputed, 0);
}

}  // namespace
}  // namespace tallimar::vemap
