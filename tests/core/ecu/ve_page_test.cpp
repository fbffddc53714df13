// The VE page codec: what goes out as "W" commands, what a read page does to the table, and
// the read-back comparison.
#include "ecu/ve_page.h"

#include <gtest/gtest.h>

#include <numeric>

#include "ecu/simulated_ecu.h"

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
  for (std::size_t i = 0; i + 2 < writes.size(); i += 3) page[writes[i + 1]] = writes[i + 2];
  return page;
}

TEST(VePageCodec, WritesGoOutInOffsetOrderThenBinsInterleaved) {
  vemap::VeTable table = ecuTable();
  table.rpmBins[0] = 1250;  // halves go to the even neighbour
  table.rpmBins[1] = 1350;
  const auto writes = encodeVeWrites(table);
  ASSERT_TRUE(writes.ok()) << writes.reason();
  ASSERT_EQ(writes->size(), 240u);
  std::vector<int> offsets;
  for (std::size_t i = 0; i < writes->size(); i += 3) {
    EXPECT_EQ((*writes)[i], 'W');
    offsets.push_back((*writes)[i + 1]);
  }
  std::vector<int> expected(64);
  std::iota(expected.begin(), expected.end(), 0);
  for (int k = 0; k < 8; ++k) expected.insert(expected.end(), {100 + k, 108 + k});
  EXPECT_EQ(offsets, expected);

  const Page page = pageAfter(*writes);
  EXPECT_EQ(page[8 * 3 + 5], table.at(5, 3));  // row per MAP bin, RPM bins across
  EXPECT_EQ(page[100], 12);
  EXPECT_EQ(page[101], 14);
  EXPECT_EQ(page[102], 21);
  EXPECT_EQ(page[115], table.mapBins[7]);
}

TEST(VePageCodec, ReadBackMatchesOnlyWhatSurvivesTheTrip) {
  vemap::VeTable table = ecuTable();
  EXPECT_TRUE(pageMatches(table, pageAfter(*encodeVeWrites(table))));
  table.rpmBins[3] = 1250;  // sent as 12, read back as 1200
  const Page page = pageAfter(*encodeVeWrites(table));
  EXPECT_FALSE(pageMatches(table, page));
  vemap::VeTable read = table;
  ASSERT_TRUE(decodeVePage(page, read));
  EXPECT_EQ(read.rpmBins[3], 1200);

  Page oneOff = pageAfter(*encodeVeWrites(ecuTable()));
  oneOff[63] ^= 1;  // the last VE value is compared too
  EXPECT_FALSE(pageMatches(ecuTable(), oneOff));
  EXPECT_FALSE(pageMatches(ecuTable(), Page(124, 0)));
}

TEST(VePageCodec, PageReplacesOnlyTheEcuCornerAndNeedsAllOf125Bytes) {
  const EcuPage source = SimulatedEcu::builtInPage();
  struct Case {
    std::size_t length;
    bool accepted;
  };
  for (const Case c : {Case{0, false}, Case{124, false}, Case{125, true}, Case{300, true}}) {
    SCOPED_TRACE(c.length);
    Page page(c.length, 0xAB);  // bytes past 115 carry junk that must not matter
    std::copy_n(source.begin(), std::min(c.length, source.size()), page.begin());
    vemap::VeTable table = ecuTable();
    table.at(9, 2) = 77;
    table.at(2, 12) = 78;
    table.rpmBins[8] = 9900;
    table.mapBins[15] = 250;
    const vemap::VeTable before = table;
    EXPECT_EQ(decodeVePage(page, table), c.accepted);
    if (!c.accepted) {
      EXPECT_EQ(table.ve, before.ve);
      EXPECT_EQ(table.rpmBins, before.rpmBins);
      continue;
    }
    EXPECT_EQ(table.at(4, 2), source[8 * 2 + 4]);
    EXPECT_EQ(table.rpmBins[7], source[107] * 100);
    EXPECT_EQ(table.mapBins[0], source[108]);
    EXPECT_EQ(table.at(9, 2), 77);
    EXPECT_EQ(table.at(2, 12), 78);
    EXPECT_EQ(table.rpmBins[8], 9900);
    EXPECT_EQ(table.mapBins[15], 250);
    EXPECT_TRUE(pageMatches(table, page));
  }
}

TEST(VePageCodec, ValuesThatDoNotFitOneByteAreRefusedByName) {
  struct Case {
    const char* name;
    void (*change)(vemap::VeTable&);
    const char* named;  // part of the reason; empty: accepted
  };
  const Case cases[] = {
      {"VE 256", [](vemap::VeTable& t) { t.at(2, 5) = 256; },
       "VE value 256 at 2100 rev/min, 75 kPa"},
      {"VE -1", [](vemap::VeTable& t) { t.at(0, 0) = -1; }, "VE value -1"},
      {"VE 255", [](vemap::VeTable& t) { t.at(7, 7) = 255; }, ""},
      {"MAP 300", [](vemap::VeTable& t) { t.mapBins[6] = 300; }, "MAP bin 7 (300 kPa)"},
      {"RPM 25549", [](vemap::VeTable& t) { t.rpmBins[7] = 25549; }, ""},
      {"RPM 25550", [](vemap::VeTable& t) { t.rpmBins[7] = 25550; }, "RPM bin 8 (25550 rev/min"},
      {"RPM -50", [](vemap::VeTable& t) { t.rpmBins[0] = -50; }, ""},
      {"RPM -51", [](vemap::VeTable& t) { t.rpmBins[0] = -51; }, "RPM bin 1"},
      {"outside the corner", [](vemap::VeTable& t) { t.at(9, 9) = 999; }, ""},
      {"first of two", [](vemap::VeTable& t) { t.at(1, 0) = 400, t.at(0, 1) = 500; },
       "VE value 400"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vemap::VeTable table = ecuTable();
    c.change(table);
    const auto writes = encodeVeWrites(table);
    if (*c.named == '\0') {
      EXPECT_TRUE(writes.ok());
    } else {
      ASSERT_FALSE(writes.ok());
      EXPECT_NE(writes.reason().find(c.named), std::string::npos) << writes.reason();
      EXPECT_NE(writes.reason().find("nothing was sent"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace tallimar::ecu
