// The crossover export: titles, the reduced map's grid, the axis lines, the sorted point lines.
#include "formats/crossover_export.h"

#include <gtest/gtest.h>

#include <ranges>
#include <string_view>

#include "common/text_lines.h"

namespace tallimar::formats {
namespace {

using Lines = std::vector<std::string>;

engine::CrossoverPoint point(int map, int rpm, int newVE, float o2 = 0.2f) {
  using I = std::int16_t;
  return {static_cast<I>(rpm), static_cast<I>(map), 101, 60, 100, o2, static_cast<I>(newVE)};
}

Lines fields(std::string_view line) {
  Lines out;
  for (const auto field : std::views::split(line, '\t'))
    out.emplace_back(field.begin(), field.end());
  return out;
}

Lines exportLines(const engine::RawDataMap& map, const engine::CrossoverPoints& points,
                  const settings::Settings& settings) {
  const auto text = buildCrossoverExport(map, points, settings, "05/01/24 14:03:07");
  EXPECT_TRUE(text) << text.reason();
  EXPECT_EQ(text->substr(text->size() - 2), "\r\n");
  EXPECT_EQ(std::count(text->begin(), text->end(), '\n'),
            std::count(text->begin(), text->end(), '\r'));
  return common::splitLines(*text);
}

TEST(CrossoverExport, DefaultSettingsGiveAHundredRowsOfEightyNineFigures) {
  engine::RawDataMap map;
  map.at(12, 1).average = 41;
  map.at(100, 100).average = 77;
  map.at(50, 50) = {" 60, 62", 61, 63};
  const settings::Settings settings;  // RPMMin 1200, RPMMax 10000, MAPMax 100, Average
  const Lines lines =
      exportLines(map, {point(95, 2000, 60), point(100, 2000, 61), point(20, 2000, 62)}, settings);
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + 2),
            (Lines{"High Density VE Map -Average- 05/01/24 14:03:07",
                   "High Density VE Map 05/01/24 14:03:07"}));
  // Rows MAP 1..100: label, "*", 89 figures (RPM index 12..100), empty after the last TAB.
  const auto last = fields(lines[101]);
  ASSERT_EQ(last.size(), 2u + 89u + 1u);
  EXPECT_EQ(std::tuple(last[0], last[90], fields(lines[2])[2], fields(lines[51])[2 + 38]),
            std::tuple("MAP:100", "77", "41", "61"));
  const auto rpm = fields(lines[103]);
  EXPECT_EQ(std::tuple(rpm.size(), rpm[2], rpm[90]), std::tuple(92u, "1200", "10000"));
  EXPECT_EQ(Lines(lines.begin() + 104, lines.end()),
            (Lines{"\t\tRPM", "", "3 O2 Transfer Points at 0.500 Volts",
                   "MAP\tRPM\tGego\tGve\tGammaE\tO2\tNewVE", "100\t2000\t101\t60\t100\t0.2\t61",
                   "20\t2000\t101\t60\t100\t0.2\t62", "95\t2000\t101\t60\t100\t0.2\t60"}));

  settings::Settings median;  // shows the midranges
  median.veRange = 1;
  median.o2Transfer = 0.45f;
  const Lines medians = exportLines(map, {}, median);
  EXPECT_EQ(std::tuple(medians[0], fields(medians[51])[2 + 38], medians[106], medians.size()),
            std::tuple("High Density VE Map -Median- 05/01/24 14:03:07", "63",
                       "0 O2 Transfer Points at 0.450 Volts", 108u));
}

TEST(CrossoverExport, PointLinesAreWholeLinesInCharacterOrder) {
  EXPECT_EQ(crossoverExportLine(point(5, 1, 2, 1e-5f)), "5\t1\t101\t60\t100\t1E-05\t2");
  // Lines equal up to the RPM sort by its text ("-" first); past 32,767 points all are written.
  engine::CrossoverPoints points{point(50, 900, 1), point(50, 1000, 1), point(-1, 900, 1)};
  for (int i = 0; i < 40000; ++i) points.push_back(point(60 + i % 7, 1000 + i % 3000, i % 90));
  const Lines lines = exportLines(engine::RawDataMap{}, points, settings::Settings{});
  const Lines pointLines(lines.begin() + 108, lines.end());
  ASSERT_EQ(pointLines.size(), points.size());
  EXPECT_EQ(Lines(pointLines.begin(), pointLines.begin() + 3),
            (Lines{"-1\t900\t101\t60\t100\t0.2\t1", "50\t1000\t101\t60\t100\t0.2\t1",
                   "50\t900\t101\t60\t100\t0.2\t1"}));
  EXPECT_TRUE(std::is_sorted(pointLines.begin(), pointLines.end()));
}

TEST(CrossoverExport, FractionalRpmMinStepsByOneAndRoundsToEven) {
  settings::Settings settings;
  settings.rpmMin = 1250;
  settings.rpmMax = 1600;
  settings.mapMax = 1;
  engine::RawDataMap map;
  for (int r = 12; r <= 16; ++r) map.at(r, 1).average = static_cast<std::int16_t>(r);
  const Lines lines = exportLines(map, {}, settings);
  // 12.5, 13.5, 14.5, 15.5 -> indices 12, 14, 14, 16.
  // One more "*" than columns.
  EXPECT_EQ(
      Lines(lines.begin() + 2, lines.begin() + 5),
      (Lines{"MAP:1\t*\t12\t14\t14\t16\t", "\t*\t*\t*\t*\t*\t", "\t\t1250\t1350\t1450\t1550\t"}));
}

TEST(CrossoverExport, RangesOutsideTheMapAreRefused) {
  settings::Settings rpm, map;
  rpm.rpmMax = 15100;
  map.mapMax = 257;
  EXPECT_EQ(buildCrossoverExport({}, {}, rpm, "d t").reason(),
            "the RPM range 1200..15100 reaches outside the raw data map");
  EXPECT_EQ(buildCrossoverExport({}, {}, map, "d t").reason(),
            "MAPMax 257 reaches outside the raw data map");
}

}  // namespace
}  // namespace tallimar::formats
