// Raw data map: cells, value lists, Average/Median, outliers, the out-of-grid stop.
#include <gtest/gtest.h>

#include <tuple>

#include "common/number_text.h"
#include "engine/raw_map_builder.h"
#include "engine/raw_map_statistics.h"

namespace tallimar::engine {
namespace {

using Lines = std::vector<std::string>;

CrossoverPoint point(int rpm, int map, int newVE) {
  using I = std::int16_t;
  return {.rpm = static_cast<I>(rpm), .map = static_cast<I>(map), .newVE = static_cast<I>(newVE)};
}

// A cell as one comparable value.
std::tuple<std::string, int, int> contents(const RawDataCell& cell) {
  return {cell.values, cell.average, cell.median};
}
using Cell = std::tuple<std::string, int, int>;

struct Build {
  RawDataMap map;
  common::VectorStatusLog status;
  VectorCrossoverList list;
  std::optional<std::size_t> run(const CrossoverPoints& points, ReductionSettings settings = {}) {
    return buildRawDataMap(map, points, settings, status, list);
  }
};

TEST(RawMapBuild, PointsLandInHalfToEvenRpmCells) {
  Build b;
  ASSERT_EQ(
      b.run({point(3449, 40, 57), point(3450, 41, 57), point(3550, 42, 57), point(3551, 43, 57)}),
      std::nullopt);
  // 34.5 rounds to the even 34, 35.5 to 36.
  for (const auto& [r, m] : {std::pair{34, 40}, {34, 41}, {36, 42}, {36, 43}})
    EXPECT_EQ(b.map.at(r, m).values, " 57") << r << " " << m;
  EXPECT_EQ(b.status.lines, (Lines{"Building Crossover Array", "Finished Crossover Array",
                                   "Calculating high density map", "Finished high density map"}));
  // Every 16-bit speed: rev/min / 100 rounded half to even.
  for (int rpm = -32768; rpm <= 32767; ++rpm)
    ASSERT_EQ(rpmIndexOf(rpm), static_cast<int>(common::roundHalfEven(rpm / 100.0))) << rpm;
}

// Index-0 cells (RPM below 50 or MAP 0) are stored but never reduced.
TEST(RawMapBuild, ValueListKeepsArrivalOrderWithBlankOrMinus) {
  Build b;
  b.run({point(2000, 50, 62), point(2000, 50, -3), point(2000, 50, 0), point(2000, 50, 101),
         point(20, 50, 60), point(2000, 0, 61)});
  EXPECT_EQ(contents(b.map.at(20, 50)), Cell(" 62,-3, 0, 101", 40, 49));  // 160/4, (101-3)/2
  EXPECT_EQ(contents(b.map.at(0, 50)), Cell(" 60", 0, 0));
  EXPECT_EQ(contents(b.map.at(20, 0)), Cell(" 61", 0, 0));
}

TEST(RawMapOutliers, FarValuesAreDroppedFromTheFiguresButKeptInTheList) {
  struct Case {
    std::vector<int> values;
    ReductionSettings settings;
    std::int16_t average, median;
    const char* line;  // "" when nothing is eliminated
  };
  const Case cases[] = {
      {{50, 52, 90}, {true, 1.0f}, 51, 51, "1 Outlier(s) Eliminated from 3 points"},
      {{50, 52, 90}, {false, 1.0f}, 64, 70, ""},
      {{50, 90}, {true, 0.0f}, 70, 70, ""},   // two values are never filtered
      {{60, 61}, {false, 1.0f}, 60, 60, ""},  // means and midranges of x.5 round to even
      {{50, 52, 90}, {true, 0.0f}, 0, 0, "2 Outlier(s) Eliminated from 3 points"},  // none left
      // Mean 70, standard deviation 2: 68 and 72 lie exactly on the band's edges and stay.
      {{68, 70, 72}, {true, 1.0f}, 70, 70, ""},
  };
  for (const Case& c : cases) {
    Build b;
    CrossoverPoints points;
    for (int ve : c.values) points.push_back(point(3400, 75, ve));
    b.run(points, c.settings);
    const RawDataCell& cell = b.map.at(34, 75);
    // Every value stays in the list.
    EXPECT_EQ(std::tuple(cell.average, cell.median, cell.values.size()),
              std::tuple(c.average, c.median, 4 * c.values.size() - 1))
        << c.values.size() << " " << c.settings.outlierSigma;
    EXPECT_EQ(b.list.lines,
              *c.line ? Lines{std::string(c.line) + " at MAP:75 and RPM:3400"} : Lines{});
  }
}

TEST(RawMapBuild, PointOutsideTheGridStopsWithEarlierPointsInAndNothingReduced) {
  for (const auto& outside :
       {point(15051, 50, 60), point(-51, 50, 60), point(2000, 257, 60), point(2000, -1, 60)}) {
    Build b;
    b.map.at(30, 50).values = " 40";
    EXPECT_EQ(b.run({point(2000, 50, 60), point(15049, 256, 70), outside, point(2100, 50, 1)}), 2u);
    // The earlier points are in, none reduced; the later ones are not.
    EXPECT_EQ(std::tuple(contents(b.map.at(20, 50)), contents(b.map.at(150, 256)),
                         contents(b.map.at(21, 50)), b.map.at(30, 50).average),
              std::tuple(Cell(" 60", 0, 0), Cell(" 70", 0, 0), Cell("", 0, 0), 0));
    EXPECT_EQ(b.status.lines, (Lines{"Building Crossover Array"}));
  }
}

TEST(RawMapStatistics, SpreadHalfEvenMeansLenientListsAndClamping) {
  EXPECT_NEAR(sampleStandardDeviation(std::vector<double>{50, 52, 90}), 22.5389, 1e-4);
  EXPECT_EQ(roundedMean(std::vector<double>{2, 3}), 2);  // 2.5 to even
  std::vector<double> values;                            // value lists are read leniently
  parseValueList(" 57,-3,, 1.5x,abc, 12 34,+4", values);
  EXPECT_EQ(values, (std::vector<double>{57, -3, 0, 1.5, 0, 12, 4}));
  // Hand-made huge values are clamped, not fatal.
  std::vector<double> scratch;
  const auto big = reduceValues(" 40000, 40000", {}, scratch);
  EXPECT_EQ(std::tuple(big.average, big.median), std::tuple(32767, 32767));
  const auto wild = reduceValues("1e400,-1e400,5", {true, 2.0f}, scratch);
  EXPECT_EQ(wild.valueCount, 3u);  // no crash; whatever is kept gives 16-bit figures
}

}  // namespace
}  // namespace tallimar::engine
