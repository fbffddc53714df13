// The *.inc loader: line syntax, partial loads, failures, status lines, the real tables.
#include "formats/factor_table_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>
#include <vector>

#include "support/temp_dir.h"

namespace tallimar::formats {
namespace {

namespace fs = std::filesystem;

FactorTable identity() {
  FactorTables tables;
  tables.setIdentity();
  return tables.tables[0];
}

// Text with n "DB" lines whose values are first, first + 1, ...
std::string dbLines(int n, int first) {
  std::string text;
  for (int i = 0; i < n; ++i) text += "\tDB\t" + std::to_string(first + i) + "T\t; comment\r\n";
  return text;
}

TEST(FactorTableText, TakesDbLinesAndTheValueUpToTheFirstCapitalT) {
  FactorTable table = identity();
  const auto result = readFactorTableText(
      "KPAFACTOR:\n; DW and db lines are not table lines\n\tdb\t9T\n\tDW\t9T\n"
      "DB -12T\n"
      "\tDBT\n"  // no value text reads 0
      "\tDB\t1e3T\n"
      "\tDB\t42 ; TODOT\n"  // value text runs to the first T: "42 ; " reads 42
      "lbl:\tDB\t$FFT\n",   // no hexadecimal: reads 0
      table);
  EXPECT_TRUE(result.ok());
  EXPECT_EQ(result.entriesStored, 5);
  FactorTable expected = identity();
  std::ranges::copy(std::vector<std::int16_t>{-12, 0, 1000, 42, 0}, expected.begin());
  EXPECT_EQ(table, expected);
}

TEST(FactorTableText, FailuresStopTheLoadAndKeepWhatWasStored) {
  struct Case {
    std::string text;
    FactorLoadError error;
    int stored;
    int failedLine;
  };
  const Case cases[] = {
      {dbLines(3, 500) + "TOP:\tDB\t7T\n" + dbLines(2, 600), FactorLoadError::NoValueText, 3, 4},
      {dbLines(256, 500) + "\tDB\t7T\n", FactorLoadError::TooManyLines, 256, 257},
      {dbLines(5, 500) + "\tDB\t32768T\n", FactorLoadError::OutOfRange, 5, 6},
      {dbLines(1, 500) + "\tDB\t-32768.6T\n", FactorLoadError::OutOfRange, 1, 2},
      {"", FactorLoadError::NoTableLines, 0, 0},
  };
  for (const Case& c : cases) {
    FactorTable table = identity();
    const auto result = readFactorTableText(c.text, table);
    EXPECT_EQ(std::tuple(result.error, result.entriesStored, result.failedLine),
              std::tuple(c.error, c.stored, c.failedLine))
        << c.text.substr(0, 60);
    FactorTable expected = identity();
    for (int i = 0; i < c.stored; ++i) expected[static_cast<std::size_t>(i)] += 500;
    EXPECT_EQ(table, expected);
  }
  // -32768.5 rounds to the even -32768, which is in range.
  FactorTable table = identity();
  EXPECT_TRUE(readFactorTableText("\tDB\t-32768.5T\n\tDB\t32767.4T\n", table).ok());
  EXPECT_EQ(table[0], -32768);
  EXPECT_EQ(table[1], 32767);
}

const std::string kTestInc = std::string(TALLIMAR_TEST_DATA_DIR) + "/files/inc_set";

TEST(FactorTableFiles, LoadsAllSevenInOrderWithTheirStatusLines) {
  FactorTables tables;
  tables.setIdentity();
  common::VectorStatusLog log;
  const auto results = loadAllFactorTables(kTestInc, tables, log);
  EXPECT_EQ(log.lines,
            (std::vector<std::string>{"kPaFactor.inc Loaded",     // found as KPAFACTOR.INC
                                      "AirDenFactor.inc Loaded",  // 100 lines: a partial table
                                      "Failed Loading BaroFactor.inc",   // label with T before DB
                                      "Failed Loading ThermFactor.inc",  // a 257th DB line
                                      "Failed Loading ThrottleFactor.inc",  // 32768
                                      "DIYWBFactor.inc Loaded",  // found as diywbfactor.inc
                                      "Failed Loading VSSFactor.inc"}));  // missing
  EXPECT_EQ(results[6].error, FactorLoadError::Missing);

  const FactorTable& kpa = tables[FactorKind::Kpa];
  for (int i = 0; i < 256; ++i) ASSERT_EQ(kpa[static_cast<std::size_t>(i)], 2 * i - 100);
  const FactorTable& wb = tables[FactorKind::WideBand];
  EXPECT_EQ((std::vector<int>{tables[FactorKind::AirDensity][99],
                              tables[FactorKind::AirDensity][100], tables[FactorKind::Baro][3],
                              tables[FactorKind::Thermistor][255], tables[FactorKind::Throttle][5],
                              wb[0], wb[1], wb[2], wb[3], wb[4], wb[5], wb[6]}),
            (std::vector<int>{1099, 100, 3, 555, 5, 10, 12, 12, 13, 0, 74, 6}));
  EXPECT_EQ(tables[FactorKind::Vss], identity());
}

using TempFolder = testsupport::TempDirTest;

// A folder in a table's place is refused with the other readers' inputs (file safety test).
TEST_F(TempFolder, RefusesHugeFilesUnread) {
  FactorTable table = identity();
  std::string huge = dbLines(10, 900);
  huge.resize(kMaxFactorFileBytes + 1, ' ');
  write("thermfactor.inc", huge);
  EXPECT_EQ(loadFactorTable(dir.string(), "thermfactor.inc", table).error,
            FactorLoadError::Unreadable);
  EXPECT_EQ(table, identity());
}

// The real tables: every one loads with the outcome the rules give it.
TEST(RealFactorFiles, EveryFileLoadsWithItsExpectedOutcome) {
  const std::string folder = std::string(TALLIMAR_REAL_DATA_DIR) + "/inc";
  if (!fs::is_directory(folder)) GTEST_SKIP() << "no real factor tables at " << folder;
  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".inc") continue;
    ++files;
    FactorTable table = identity();
    const auto result = loadFactorTable(folder, name, table);
    // Tables of DW words store nothing; one has a 257th line; a few hold 255 entries.
    const bool dwOnly = name.starts_with("WB") || name == "NBafr100.inc";
    const bool short255 = name.starts_with("Inno") || name == "kpafactorMPXH6400A.inc";
    const auto expected = dwOnly ? std::tuple(FactorLoadError::NoTableLines, 0)
                          : name == "DIYWB.inc"
                              ? std::tuple(FactorLoadError::TooManyLines, 256)
                              : std::tuple(FactorLoadError::None, short255 ? 255 : 256);
    EXPECT_EQ(std::tuple(result.error, result.entriesStored), expected) << name;
  }
  EXPECT_GE(files, 50);
}

}  // namespace
}  // namespace tallimar::formats
