// The wide-band factor table: calibration points, the fine table, the file and its read-back.
#include "tools/wb_factor_table.h"

#include <gtest/gtest.h>

#include <numeric>
#include <tuple>

#include "common/text_lines.h"
#include "formats/factor_table_loader.h"

namespace tallimar::tools {
namespace {

std::vector<WbRow> initialRows() {
  const auto rows = initialWbRows();
  return {rows.begin(), rows.end()};
}

std::vector<WbPoint> pointsOf(const std::vector<WbRow>& rows) {
  std::vector<WbPoint> points;
  for (int i = 0; i < usedWbRows(rows); ++i)
    points.push_back(wbPoint(rows[static_cast<std::size_t>(i)]));
  return points;
}

std::string fileFor(const std::vector<WbRow>& rows) {
  return wbFactorFileText(wbFineTable(pointsOf(rows)));
}

// The lines of a file, each without its CR LF; fails when a line ends otherwise.
std::vector<std::string> linesOf(const std::string& text) {
  const auto lines = common::splitLines(text);
  EXPECT_EQ(text.size(),
            std::accumulate(lines.begin(), lines.end(), 2 * lines.size(),
                            [](std::size_t n, const auto& l) { return n + l.size(); }));
  return lines;
}

// The corrFac written for ADC count adc.
std::string corrFacOf(const std::string& text, int adc) {
  const std::string line = linesOf(text).at(static_cast<std::size_t>(adc) + 2);
  return line.substr(4, line.find('T') - 4);
}

TEST(WbFactorTable, FileOfTheInitialRowsLineByLine) {
  const std::string text = fileFor(initialRows());
  const auto lines = linesOf(text);
  ASSERT_EQ(lines.size(), 258u);
  EXPECT_EQ(lines[0], "; DIY-WB AFR * 10 to ADC count");
  EXPECT_EQ(lines[1], "WBO2FAC: ;      corrFac   ADC   Volts (0 corrFac = out of sensor range)");
  EXPECT_EQ(lines[2], "\tDB\t000T\t; 000 - 0.000");
  EXPECT_EQ(lines[2 + 71], "\tDB\t101T\t; 071 - 1.392");

  for (int adc = 0; adc <= 70; ++adc) EXPECT_EQ(corrFacOf(text, adc), "000") << adc;
  for (auto [adc, corr] : {std::pair{100, "120"}, {147, "205"}})
    EXPECT_EQ(corrFacOf(text, adc), corr) << adc;
  for (int adc = 148; adc <= 255; ++adc) EXPECT_EQ(corrFacOf(text, adc), "255") << adc;
  // Between the calibration points the table rises with the voltage.
  for (int adc = 72; adc <= 148; ++adc)
    EXPECT_LE(std::stoi(corrFacOf(text, adc - 1)), std::stoi(corrFacOf(text, adc))) << adc;
}

TEST(WbFactorTable, WrittenFileReadsBackAsTheCorrFacs) {
  auto rows = initialRows();
  rows[30].afr = "150";  // four digits from here on
  const auto table = wbFineTable(pointsOf(rows));
  const std::string text = wbFactorFileText(table);
  EXPECT_EQ(corrFacOf(text, 148), "255");
  EXPECT_EQ(corrFacOf(text, 147), "1239");  // 19.66 + 4 x (150 - 19.66) / 5

  formats::FactorTable loaded{};
  const formats::FactorLoadResult result = formats::readFactorTableText(text, loaded);
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.entriesStored, 256);
  for (int adc = 0; adc < 256; ++adc)
    EXPECT_EQ(loaded[static_cast<std::size_t>(adc)], wbCorrFac(table, adc)) << adc;
}

TEST(WbFactorTable, OnlyTheRowsBeforeTheFirstEmptyVoltageCount) {
  auto rows = initialRows();
  for (std::size_t i = 11; i < rows.size(); ++i) rows[i] = {"4.9", "99"};
  rows[10].volts.clear();
  EXPECT_EQ(usedWbRows(rows), 10);
  const std::vector<WbRow> firstTen(rows.begin(), rows.begin() + 10);
  EXPECT_EQ(fileFor(rows), fileFor(firstTen));
  // From row 9 (1.85 V, step 189) on, the table holds 25.5.
  EXPECT_EQ(corrFacOf(fileFor(rows), 95), "255");
}

TEST(WbFactorTable, FallingSegmentsDrawNoLine) {
  // Voltages fall from row 3 to row 4: that pair draws nothing, and the rising pair after it
  // draws over the same steps.
  const std::vector<WbRow> mixed = {{"1.0", "10"}, {"2.0", "12"}, {"3.0", "14"},
                                    {"2.5", "16"}, {"3.5", "18"}, {"4.0", "20"}};
  const std::string text = fileFor(mixed);
  EXPECT_EQ(corrFacOf(text, 50), "000");   // below the first point (1.0 V, step 102)
  EXPECT_EQ(corrFacOf(text, 60), "104");   // 10 + 19 x 2 / 102
  EXPECT_EQ(corrFacOf(text, 140), "165");  // on the line from 2.5 V to 3.5 V
  EXPECT_EQ(corrFacOf(text, 220), "255");  // from the last point (4.0 V) on
}

TEST(WbFactorTable, VoltagesOutsideTheSensorRangeTakeStepZero) {
  EXPECT_EQ(std::tuple(wbPoint({"5.1", "20"}).position, wbPoint({"5.1", "20"}).afr,
                       wbPoint({"-0.1", "20"}).position, wbPoint({"5.0097", "20"}).position),
            std::tuple(0, 0.0f, 0, 511));  // 5.0097 V: the top edge of the last step
}

TEST(WbFactorTable, RefusesRowsInOneVoltageStepAndAfrsBeyondSixteenBits) {
  struct Case {
    std::vector<WbRow> rows;
    const char* reason;  // empty: accepted
  };
  const Case cases[] = {
      {{{"1.0", "10"}, {"1.2", "11"}, {"1.550", "12"}, {"1.555", "13"}, {"2", "14"}}, "#3 and #4"},
      {{{"6", "10"}, {"7", "11"}, {"1.5", "12"}}, "#1 and #2"},  // both outside: step 0
      {{{"1.0", "10"}, {"2.0", "3276.7"}}, ""},
      {{{"1.0", "10"}, {"2.0", "3277"}}, "#2"},
      {{{"1.0", "10"}, {"3.0", "11"}, {"2.0", "12"}, {"3.0", "13"}}, ""},  // not consecutive
  };
  for (const Case& c : cases) {
    const common::Outcome checked = checkWbPoints(pointsOf(c.rows));
    if (std::string(c.reason).empty()) {
      EXPECT_TRUE(checked.ok()) << checked.reason();
    } else {
      ASSERT_FALSE(checked.ok()) << c.reason;
      EXPECT_NE(checked.reason().find(c.reason), std::string::npos) << checked.reason();
    }
  }
}

}  // namespace
}  // namespace tallimar::tools
