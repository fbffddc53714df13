// Cell texts to table values, grid read-back and clearing.
#include "vemap/table_editing.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <tuple>

namespace tallimar::vemap {
namespace {

TEST(CellText, LeadingNumberWithBlanksIgnoredRoundedDown) {
  const std::pair<const char*, std::optional<std::int16_t>> values[] = {
      {"62.9", 62}, {"55abc", 55}, {" 5 5 ", 55}, {"-5.5", -6}, {"32767.9", 32767}, {"32768", {}}};
  for (const auto& [text, value] : values) EXPECT_EQ(cellTextValue(text), value) << text;
  EXPECT_EQ(cellTextNumber("1 4.7"), 14.7);
  // The cell then shows the number before rounding.
  EXPECT_EQ((std::array{cellTextShown("55abc"), cellTextShown("55.7"), cellTextShown(" 6 2.9")}),
            (std::array<std::string, 3>{"55", "55.7", "62.9"}));
}

TEST(Read8x8Map, ReadsOnlyTheActiveCornerAndKeepsRefusedCells) {
  VeTable table;
  table.sizeRpm = 12;
  table.sizeMap = 8;
  table.ve[0][0] = 11;
  table.ve[12][0] = 5;
  GridTexts texts;
  texts.ve.fill("1");
  texts.rpmBins.fill("9");
  texts.mapBins.fill("9");
  for (int k = 0; k < 16; ++k) {
    texts.rpmBins[static_cast<std::size_t>(k)] = std::to_string(500 * (k + 1));
    texts.mapBins[static_cast<std::size_t>(k)] = std::to_string(10 * (k + 1));
  }
  texts.ve[16 * 3 + 2] = "62.9";
  texts.ve[0] = "99999";  // out of 16 bits: refused
  const auto result = read8x8Map(table, texts);
  EXPECT_EQ(result.refusedVeCells, std::vector<int>{0});
  EXPECT_FALSE(result.allRead() || table.lowDensityMapPresent);
  // Kept, read, read, inactive; RPM bins 12 (read) and 13 (inactive).
  EXPECT_EQ(std::tuple(table.ve[0][0], table.ve[3][2], table.ve[11][7], table.ve[12][0],
                       table.rpmBins[11], table.rpmBins[12]),
            std::tuple(11, 62, 1, 5, 6000, 0));
}

TEST(Clear8x8Map, ZeroesTheActiveCornerAndClearsTheFlag) {
  VeTable table;
  table.setStartupBins();
  for (auto& row : table.ve) row.fill(50);
  table.lowDensityMapPresent = true;
  clear8x8Map(table);
  EXPECT_EQ(std::tuple(table.ve[7][7], table.ve[8][0], table.lowDensityMapPresent),
            std::tuple(0, 50, false));
}

}  // namespace
}  // namespace tallimar::vemap
