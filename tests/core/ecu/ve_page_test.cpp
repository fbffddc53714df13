#include "ecu/ve_page.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

namespace tallimar::ecu {
namespace {

using Page = std::vector<std::uint8_t>;

vemap::VeTable ecuTable() {
  vemap::VeTable table;
  for (int k = 0; k < kEcuBins; ++k) {
    table.rpmBins[static_cast<std::size_t>(k)] = static_cast<std::int16_t>((k + 1) * 700);
    table.mapBins[static_cast<std::size_t>(k)] = static_cast<std::int16_t>(20 + k * 11);
  }
  for (int r = 0; r < kEcuBins; ++r)
    for (int m = 0; m < kEcuBins; ++m) table.at(r, m) = static_cast<std::int16_t>(r * 10 + m);
  return table;
}

// The page an ECU holds after storing every command of `writes`.
Page pageAfter(const std::vector<std::uint8_t>& writes) {
  Page page(kPageReplyBytes, 0xEE);
  for (std::size_t i = 0; i + 2 < writes.size(); i += 3) {
    EXPECT_EQ(writes[i], 'W');
    page[writes[i + 1]] = writes[i + 2];
  }
  return page;
}

// Any sendable table survives the trip, RPM bins rounded to hundreds (halves to even); a page
// of 125 bytes replaces only the 8 x 8 corner and the first eight bins of each axis, a shorter
// one nothing; the read-back comparison sees every byte, including the last VE value.
TEST(VePageCodec, RandomTablesSurviveTheTripAndEveryChangedByteIsSeen) {
  std::mt19937 random(7);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution(low, high)(random); };
  for (int trial = 0; trial < 50; ++trial) {
    vemap::VeTable table = ecuTable();
    for (std::size_t k = 0; k < kEcuBins; ++k) {
      table.rpmBins[k] = static_cast<std::int16_t>(pick(0, 255) * 100);
      table.mapBins[k] = static_cast<std::int16_t>(pick(0, 255));
    }
    for (int r = 0; r < kEcuBins; ++r)
      for (int m = 0; m < kEcuBins; ++m) table.at(r, m) = static_cast<std::int16_t>(pick(0, 255));
    const auto writes = encodeVeWrites(table);
    ASSERT_TRUE(writes.ok() && writes->size() == 240u) << trial;  // 80 "W" offset value
    const Page page = pageAfter(*writes);
    ASSERT_TRUE(pageMatches(table, page)) << trial;
    vemap::VeTable read = ecuTable();
    ASSERT_FALSE(decodeVePage(Page(page.begin(), page.end() - 1), read));
    EXPECT_EQ(read.ve, ecuTable().ve);
    read.at(9, 2) = 77;
    ASSERT_TRUE(decodeVePage(page, read));
    EXPECT_TRUE(pageMatches(read, page));
    EXPECT_EQ(std::tuple(read.rpmBins, read.at(1, 2), read.mapBins[7], read.at(9, 2)),
              std::tuple(table.rpmBins, page[8 * 2 + 1], page[115], 77));
    Page changed = page;
    const std::size_t at = static_cast<std::size_t>(trial % 2 ? 63 : pick(0, 115));
    if (at >= 64 && at < 100) continue;  // not part of the table
    changed[at] ^= 1;
    EXPECT_FALSE(pageMatches(table, changed)) << at;
  }
  for (const auto& [sent, read] : {std::pair{1250, 1200}, {1350, 1400}}) {
    vemap::VeTable table = ecuTable();
    table.rpmBins[3] = static_cast<std::int16_t>(sent);
    const Page page = pageAfter(*encodeVeWrites(table));
    EXPECT_FALSE(pageMatches(table, page)) << sent;  // what was sent is not what is there
    ASSERT_TRUE(decodeVePage(page, table));
    EXPECT_EQ(table.rpmBins[3], read) << sent;
  }
  EXPECT_FALSE(pageMatches(ecuTable(), Page(124, 0)));
}

// The first value past a byte is named in the refusal; what rounds into a byte, or lies outside
// the 8 x 8 corner, goes out.
TEST(VePageCodec, ValuesThatDoNotFitOneByteAreRefusedByName) {
  using T = vemap::VeTable;
  const struct {
    void (*change)(T&);
    const char* named;  // part of the reason; empty: accepted
  } cases[] = {
      {[](T& t) { t.at(2, 5) = 256; }, "VE value 256 at 2100 rev/min, 75 kPa"},
      {[](T& t) { t.at(7, 7) = 255; }, ""},
      {[](T& t) { t.mapBins[6] = 300; }, "MAP bin 7 (300 kPa)"},
      {[](T& t) { t.rpmBins[7] = 25550; }, "RPM bin 8 (25550 rev/min"},
      {[](T& t) { t.rpmBins[0] = -50; }, ""},
      {[](T& t) { t.rpmBins[0] = -51; }, "RPM bin 1"},
      {[](T& t) { t.at(9, 9) = 999; }, ""},
      {[](T& t) { t.at(1, 0) = 400, t.at(0, 1) = 500; }, "VE value 400"},
  };
  for (const auto& c : cases) {
    T table = ecuTable();
    c.change(table);
    const auto writes = encodeVeWrites(table);
    ASSERT_EQ(writes.ok(), *c.named == '\0') << &c - cases;
    if (!writes.ok()) {
      EXPECT_NE(writes.reason().find(c.named), std::string::npos) << writes.reason();
      EXPECT_NE(writes.reason().find("nothing was sent"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace tallimar::ecu
