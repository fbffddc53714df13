// "Calculate Map": neighbourhood positions, rounding, the source choice, bins off the grid.
#include "vemap/map_calculation.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tallimar::vemap {
namespace {

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

TEST(MapCalculation, MeanOfThePositiveNeighboursRoundedHalfToEven) {
  struct Put {
    int column, map, ve;
  };
  const struct {
    int rpm, map;
    std::vector<Put> puts;
    int expected;  // the bin starts at 77
  } cases[] = {
      {2000, 60, {{19, 59, 50}, {20, 59, 60}, {20, 60, 70}}, 60},
      {2000, 60, {{19, 59, 60}, {21, 61, 61}}, 60},  // 60.5
      {2250, 60, {{22, 60, 50}, {23, 60, 90}}, 50},  // columns 21.5 and 22.5 both round to 22
      // Zero and negative values count in the sum but not in the count.
      {2000, 60, {{20, 60, 80}, {20, 61, 70}, {21, 60, -30}}, 60},
      // Edge bins: column 0 is the "above" of 15000, row 0 the "above" of 255; row 256 is
      // never read for a 255 kPa bin.
      {15000, 255, {{0, 254, 40}, {150, 256, 90}, {149, 0, 20}}, 30},
      {2000, 0, {{20, 0, 50}, {20, 1, 80}}, 60},  // row 0 twice: below and centre
      {3000, 50, {{40, 50, 60}}, 77},             // no data near: the value stays
      // Positions outside the grid are skipped: never read, never counted.
      {14960, 100, {{150, 100, 64}, {149, 100, 66}}, 65},
      {2000, 400, {{20, 256, 80}}, 77},
  };
  for (const auto& c : cases) {
    Fixture f;
    f.bin(c.rpm, c.map);
    f.table.ve[0][0] = 77;
    for (const Put& p : c.puts) f.put(p.column, p.map, p.ve);
    EXPECT_EQ(f.calculate(), c.expected) << c.rpm << "/" << c.map;
  }
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

TEST(MapCalculation, ActiveBinsComputedInFullOthersUntouched) {
  Fixture f;
  f.table.sizeRpm = 12;
  f.table.sizeMap = 12;
  f.table.setStartupBins();
  for (auto& row : f.table.ve) row.fill(-1);
  for (int c = 0; c <= 150; ++c) {
    for (int m = 0; m <= 256; ++m) f.put(c, m, 10 + c / 10 + m / 20);
  }
  EXPECT_EQ(calculateMap(f.table, f.raw, f.filtered).binsComputed, 144);
  EXPECT_GT(f.table.ve[11][11], 0);
  // 2000 rev/min, 40 kPa: columns 19..21 x rows 39..41 hold 12, 13, 13, 13, 14, 14, 13, 14,
  // 14: 120 / 9 = 13.3.
  EXPECT_EQ(std::tuple(f.table.ve[12][0], f.table.ve[0][12], f.table.ve[3][3]),
            std::tuple(-1, -1, 13));
  f.table.sizeRpm = 40;  // sizes out of range never index past the table
  f.table.sizeMap = -3;
  EXPECT_EQ(calculateMap(f.table, f.raw, f.filtered).binsComputed, 0);
}

TEST(MapCalculation, BinsReachingOutsideTheGridAreReported) {
  const std::pair<int, int> bins[] = {{14960, 100}, {2000, -5}, {32767, 32767}};
  for (const auto& [rpm, map] : bins) {
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
}

}  // namespace
}  // namespace tallimar::vemap
