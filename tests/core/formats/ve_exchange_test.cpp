// The VE exchange writer's lines and limits, its reader's round trip and refusals, the dump.
#include <gtest/gtest.h>

#include <tuple>

#include "common/text_lines.h"
#include "formats/ve_exchange_writer.h"
#include "formats/ve_map_readers.h"

namespace tallimar::formats {
namespace {

using vemap::VeTable;

VeTable exampleTable() {
  VeTable table;
  const int rpm[] = {500, 1000, 1250, 2000, 2600, 3000, 4500, 6000};
  const int map[] = {30, 40, 50, 60, 70, 80, 90, 95};
  for (std::size_t k = 0; k < 8; ++k) {
    table.rpmBins[k] = static_cast<std::int16_t>(rpm[k]);
    table.mapBins[k] = static_cast<std::int16_t>(map[k]);
    for (std::size_t m = 0; m < 8; ++m) table.ve[k][m] = static_cast<std::int16_t>(20 + 9 * m + k);
  }
  for (const auto& [r, ve] : {std::pair{0, 5}, {1, -7}, {2, -45}, {3, 0}})
    table.ve[static_cast<std::size_t>(r)][0] = static_cast<std::int16_t>(ve);
  return table;
}

TEST(VeExchangeWriter, EightByEightLinesAreExact) {
  const auto text = veExchangeText(exampleTable());
  ASSERT_TRUE(text);
  ASSERT_EQ(text->substr(text->size() - 2), "\r\n");
  const auto lines = common::splitLines(*text);
  ASSERT_EQ(lines.size(), 30u);
  const std::pair<std::size_t, const char*> expected[] = {
      {0, "VUZAR 1.0 "},
      {2, "VE Table RPM Range              [08]"},
      {3, "   [  0] =  5 "},
      {5, "   [  2] =  12.5"},
      {11, "VE Table Load Range (MAP)       [08]"},
      {20, "VE Table                        [ 8 ][ 8 ]"},
      {21, "           [  0] [ 1 ] [ 2 ] [ 3 ] [ 4 ] [ 5 ] [ 6 ] [ 7 ]"},
      {22, "   [  0] =   5    -7    -45    0     24    25    26    27   "},
      {29, "   [  7] =   83    84    85    86    87    88    89    90   "},
  };
  for (const auto& [index, line] : expected) EXPECT_EQ(lines[index], line) << "line " << index + 1;
}

// 16 x 16 tables with values of 100 and more read back exactly; a MAP bin past 9999 is refused.
TEST(VeExchangeWriter, LargeTablesAndValuesRoundTrip) {
  VeTable table;
  table.sizeRpm = 16;
  table.sizeMap = 16;
  for (std::size_t k = 0; k < 16; ++k) {
    table.rpmBins[k] = static_cast<std::int16_t>(-250 + 1234 * static_cast<int>(k));
    table.mapBins[k] = static_cast<std::int16_t>(static_cast<int>(k) * 180 - 120);
    for (std::size_t m = 0; m < 16; ++m) {
      table.ve[k][m] = static_cast<std::int16_t>((static_cast<int>(k * 67 + m * 31) % 1099) - 99);
    }
  }
  table.mapBins[15] = 9999;
  table.mapBins[14] = -999;
  table.rpmBins[15] = 32767;
  const auto text = veExchangeText(table);
  ASSERT_TRUE(text);
  EXPECT_EQ(common::splitLines(*text)[3 + 15], "   [ 15] =  327.67");
  VeTable back;
  ASSERT_TRUE(readVeExchange(*text, back));
  EXPECT_EQ(std::tie(back.sizeMap, back.rpmBins, back.mapBins, back.ve),
            std::tie(table.sizeMap, table.rpmBins, table.mapBins, table.ve));
  table.mapBins[15] = 10000;
  EXPECT_EQ(veExchangeText(table).reason(), "MAP bin 10000 does not fit the VE exchange file");
}

TEST(VeExchangeReader, RefusedFilesLeaveTheTableAsItWas) {
  const std::string good = *veExchangeText(exampleTable());
  VeTable original;
  original.setStartupBins();
  original.ve[2][2] = 44;
  const auto lines = common::splitLines(good);
  auto firstLines = [&](std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += lines[i] + "\r\n";
    return text;
  };
  auto edited = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    return text.replace(text.find(from), from.size(), to);
  };
  for (const std::string& bad : {firstLines(27), firstLines(5), edited("[08]", "[17]"),
                                 edited("[08]", "[ 0]"), edited("=  12.5", "= 1e9  ")}) {
    VeTable table = original;
    EXPECT_FALSE(readVeExchange(bad, table));
    EXPECT_EQ(std::tie(table.ve, table.rpmBins, table.sizeRpm),
              std::tie(original.ve, original.rpmBins, original.sizeRpm));
  }
}

TEST(DumpReader, FixedColumnsAndSizesUntouched) {
  const std::string text =
      common::readWholeFile(TALLIMAR_TEST_DATA_DIR "/vemap/eight_by_eight.dmp", 1 << 20).value();
  VeTable table;
  table.sizeRpm = 16;
  table.sizeMap = 12;
  for (auto& row : table.ve) row.fill(1);
  ASSERT_TRUE(readMegaTuneDump(text, table));
  EXPECT_EQ(std::tuple(table.sizeRpm, table.sizeMap, table.mapBins[7], table.rpmBins[7]),
            std::tuple(16, 12, 250, 6500));
  for (std::size_t k = 0; k < 8; ++k)
    for (std::size_t m = 0; m < 8; ++m)
      EXPECT_EQ(table.ve[k][m], 20 + 10 * m + 3 * k + (m == 7 ? 100 : 0));
  EXPECT_EQ(table.ve[8][0], 1);  // beyond the eight entries

  VeTable untouched;
  const VeTable empty;
  EXPECT_FALSE(readMegaTuneDump(text.substr(0, text.find("  row[5]")), untouched));
  EXPECT_EQ(std::tie(untouched.ve, untouched.mapBins), std::tie(empty.ve, empty.mapBins));
}

}  // namespace
}  // namespace tallimar::formats
