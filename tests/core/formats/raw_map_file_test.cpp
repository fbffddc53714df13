// The raw data map file: exact bytes, a full round trip, refusals.
#include "formats/raw_map_file.h"

#include <gtest/gtest.h>

#include <random>

#include "support/temp_dir.h"

namespace tallimar::formats {
namespace {

using engine::RawDataMap;

// Every cell, index 0 included, with its own value list and figures.
void fillEveryCell(RawDataMap& map, unsigned seed) {
  std::mt19937 random(seed);
  for (int r = 0; r < engine::kRawRpmCells; ++r) {
    for (int m = 0; m < engine::kRawMapCells; ++m) {
      auto& cell = map.at(r, m);
      const int count = static_cast<int>(random() % 4);
      cell.values.clear();
      for (int k = 0; k < count; ++k)
        cell.values +=
            (k ? "," : "") + std::string(random() % 2 ? " " : "-") + std::to_string(random() % 200);
      cell.average = static_cast<std::int16_t>(random()),
      cell.median = static_cast<std::int16_t>(random());
    }
  }
}

class RawMapFile : public testsupport::TempDirTest {};

TEST_F(RawMapFile, RecordsRunMapOuterRpmInnerLittleEndian) {
  EXPECT_EQ(*encodeRawMapFile(RawDataMap{}), std::string(232842, '\0'));  // six bytes a cell
  RawDataMap map;
  map.at(1, 0) = {" 57", 258, -2};
  map.at(0, 1) = {"-3", 1, 2};
  const auto bytes = *encodeRawMapFile(map);
  // Record 1 is cell [1, 0]: length 3, " 57", 258 = 02 01, -2 = FE FF.
  EXPECT_EQ(bytes.substr(6, 9), std::string("\x03\x00 57\x02\x01\xfe\xff", 9));
  // Record 151 is cell [0, 1], after 150 records of 6 bytes and one of 9.
  EXPECT_EQ(bytes.substr(150 * 6 + 9, 8), std::string("\x02\x00-3\x01\x00\x02\x00", 8));
}

TEST_F(RawMapFile, EveryCellRoundTripsIncludingIndexZero) {
  RawDataMap map;
  fillEveryCell(map, 5);
  map.at(0, 0).values = std::string(65535, '7');  // the longest value list the file holds
  // The bytes hold every cell's list and figures, so equal bytes are equal maps.
  const std::string bytes = *encodeRawMapFile(map);
  const auto loaded = loadRawMapFile(write("map.HDMAP", bytes));
  ASSERT_TRUE(loaded) << loaded.reason();
  EXPECT_EQ(*encodeRawMapFile(*loaded), bytes);

  map.at(25, 80).values = std::string(65536, '1');
  EXPECT_EQ(encodeRawMapFile(map).reason(),
            "The raw data map cell at RPM 2500 and MAP 80 holds 65536 bytes of values, more than "
            "a raw data map file can hold (65535)");
}

TEST_F(RawMapFile, ShortFilesAreRefusedWithTheirReason) {
  RawDataMap map;
  fillEveryCell(map, 9);
  const std::string bytes = *encodeRawMapFile(map);
  EXPECT_EQ(loadRawMapFile(write("short.HDMAP", bytes.substr(0, bytes.size() - 1))).reason(),
            "ends inside record 38807 of 38807 (RPM index 150, MAP 256): not a whole raw data map");
  // A length field pointing past the end of the file.
  const auto lie = loadRawMapFile(write("lie.HDMAP", std::string("\xff\xff", 2) + "1000"));
  EXPECT_EQ(lie.reason().rfind("ends inside record 1 of 38807", 0), 0u) << lie.reason();
}

}  // namespace
}  // namespace tallimar::formats
