// The raw data map file: exact bytes, a full round trip, refusals that leave the map alone,
// and the Open/Save Raw Data Map commands.
#include "files/raw_map_file.h"

#include <gtest/gtest.h>

#include <random>

#include "common/scripted_prompts.h"
#include "files/raw_map_commands.h"
#include "support/temp_dir.h"
#include "workspace/workspace.h"

namespace tallimar::files {
namespace {

using Lines = std::vector<std::string>;
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
      cell.average = static_cast<std::int16_t>(static_cast<int>(random() % 65536) - 32768);
      cell.median = static_cast<std::int16_t>(static_cast<int>(random() % 65536) - 32768);
    }
  }
}

bool sameMaps(const RawDataMap& a, const RawDataMap& b) {
  for (int r = 0; r < engine::kRawRpmCells; ++r)
    for (int m = 0; m < engine::kRawMapCells; ++m) {
      const auto &x = a.at(r, m), &y = b.at(r, m);
      if (x.values != y.values || x.average != y.average || x.median != y.median) return false;
    }
  return true;
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
  const auto file = path("map.HDMAP");
  std::ofstream(file, std::ios::binary) << *encodeRawMapFile(map);
  RawDataMap loaded;
  std::string problem;
  ASSERT_TRUE(loadRawMapFile(file, loaded, problem)) << problem;
  EXPECT_TRUE(sameMaps(map, loaded));
  EXPECT_EQ(*encodeRawMapFile(loaded), read(file));
}

TEST_F(RawMapFile, ShortLongAndMissingFilesAreRefusedAndTheMapKept) {
  RawDataMap map;
  fillEveryCell(map, 9);
  const std::string bytes = *encodeRawMapFile(map);
  RawDataMap kept;
  fillEveryCell(kept, 1);
  const RawDataMap before = kept;
  std::string problem;
  EXPECT_FALSE(
      loadRawMapFile(write("short.HDMAP", bytes.substr(0, bytes.size() - 1)), kept, problem));
  EXPECT_EQ(problem,
            "ends inside record 38807 of 38807 (RPM index 150, MAP 256): not a whole raw data map");
  EXPECT_FALSE(loadRawMapFile(write("long.HDMAP", bytes + "x"), kept, problem));
  EXPECT_EQ(problem, "goes on after the last record of the raw data map: not a raw data map file");
  // A length field pointing past the end of the file.
  EXPECT_FALSE(loadRawMapFile(
      write("lie.HDMAP", std::string("\xff\xff", 2) + std::string(1000, ' ')), kept, problem));
  EXPECT_FALSE(loadRawMapFile("/dev/zero", kept, problem));
  EXPECT_EQ(problem, "is not a file");
  EXPECT_FALSE(loadRawMapFile(path("none.HDMAP"), kept, problem));
  EXPECT_EQ(problem.rfind("cannot be opened", 0), 0u);
  EXPECT_TRUE(sameMaps(kept, before));
}

class RawMapCommands : public testsupport::TempDirTest {
 protected:
  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog status;
  CommandOptions options{"/opt/tallimar", {}, {}};
};

TEST_F(RawMapCommands, SaveNeedsAMapAndOffersTheTransferVoltageName) {
  EXPECT_EQ(saveRawDataMap(ws, prompts, status, options), CommandResult::Refused);
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text, "Nothing to save");
  EXPECT_TRUE(status.lines.empty());

  ws.rawDataMapPresent = true;
  ws.settings.o2Transfer = 0.45f;
  ws.rawMap.at(30, 60) = {" 61, 63", 62, 62};
  const auto file = path("out.HDMAP");
  prompts.saveAnswers.push_back(file);
  EXPECT_EQ(saveRawDataMap(ws, prompts, status, options), CommandResult::Done);
  EXPECT_EQ(prompts.asked.back().request.presetName, "Raw Data Map at 0.45 Volts.HDMAP");
  EXPECT_EQ(status.lines, (Lines{"Saving Raw Data Map", "Finished Saving"}));
  EXPECT_EQ(read(file), *encodeRawMapFile(ws.rawMap));
}

TEST_F(RawMapCommands, OverfullCellRefusesTheSaveAndKeepsTheOldFile) {
  ws.rawDataMapPresent = true;
  const auto file = write("old.HDMAP", "previous contents");
  ws.rawMap.at(25, 80).values = std::string(65536, '1');
  prompts.saveAnswers.push_back(file);
  EXPECT_EQ(saveRawDataMap(ws, prompts, status, options), CommandResult::Failed);
  EXPECT_EQ(status.lines, (Lines{"Saving Raw Data Map", "Save Failed",
                                 "The raw data map cell at RPM 2500 and MAP 80 holds 65536 bytes "
                                 "of values, more than a raw data map file can hold (65535)"}));
  EXPECT_EQ(read(file), "previous contents");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

TEST_F(RawMapCommands, FailedWriteSaysSaveFailedAndCancelTouchesNothing) {
  ws.rawDataMapPresent = true;
  prompts.saveAnswers.push_back(path("no/such/folder/x.HDMAP"));
  EXPECT_EQ(saveRawDataMap(ws, prompts, status, options), CommandResult::Failed);
  EXPECT_EQ(status.lines[1], "Save Failed");
  status.lines.clear();
  EXPECT_EQ(saveRawDataMap(ws, prompts, status, options), CommandResult::Cancelled);
  EXPECT_EQ(status.lines, Lines{"Saving Raw Data Map"});
}

TEST_F(RawMapCommands, OpenReplacesTheMapOrLeavesItWhenTheFileIsBad) {
  RawDataMap other;
  fillEveryCell(other, 3);
  const auto good = write("good.HDMAP", *encodeRawMapFile(other));
  ws.rawMap.at(40, 40) = {" 1", 1, 1};
  prompts.openAnswers.push_back({good});
  EXPECT_EQ(openRawDataMap(ws, prompts, status, options), CommandResult::Done);
  EXPECT_EQ(status.lines, (Lines{"Loading Raw Data Map", "Loading Finished"}));
  EXPECT_TRUE(ws.rawDataMapPresent);
  EXPECT_TRUE(sameMaps(ws.rawMap, other));

  workspace::Workspace fresh;
  const auto bad = write("bad.HDMAP", std::string(1000, '\0'));
  prompts.openAnswers.push_back({bad});
  status.lines.clear();
  fresh.rawMap.at(40, 40) = {" 1", 1, 1};
  EXPECT_EQ(openRawDataMap(fresh, prompts, status, options), CommandResult::Failed);
  EXPECT_EQ(status.lines[1], "Loading Failed");
  EXPECT_EQ(status.lines[2].rfind("bad.HDMAP ends inside record 167 of 38807", 0), 0u);
  EXPECT_FALSE(fresh.rawDataMapPresent);
  EXPECT_EQ(fresh.rawMap.at(40, 40).values, " 1");

  status.lines.clear();
  EXPECT_EQ(openRawDataMap(fresh, prompts, status, options), CommandResult::Cancelled);
  EXPECT_EQ(status.lines, Lines{"Loading Raw Data Map"});
}

}  // namespace
}  // namespace tallimar::files
