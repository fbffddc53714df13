// The main window's raw data map commands: open, save, save crossover points and clear, with
// scripted dialogs; a bad file never replaces the map (failed saves: file_commands_safety).
#include "commands/raw_map_commands.h"

#include <gtest/gtest.h>

#include "common/scripted_prompts.h"
#include "common/text_lines.h"
#include "formats/raw_map_file.h"
#include "support/temp_dir.h"

namespace tallimar::commands {
namespace {

using Lines = std::vector<std::string>;

class RawMapCommands : public testsupport::TempDirTest {
 protected:
  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog status;
  CommandOptions options{"/opt/tallimar", {}, [] { return std::string("1/2/2025 3:04:05 PM"); }};
};

TEST_F(RawMapCommands, SaveNeedsAMapAndOffersTheTransferVoltageName) {
  EXPECT_EQ(saveRawDataMap(ws, prompts, status, options).status, CommandStatus::Refused);
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text, "Nothing to save");
  EXPECT_TRUE(status.lines.empty());

  ws.rawDataMapPresent = true;
  ws.settings.o2Transfer = 0.45f;
  ws.rawMap.at(30, 60) = {" 61, 63", 62, 62};
  const auto file = path("out.HDMAP");
  prompts.saveAnswers.push_back(file);
  EXPECT_TRUE(saveRawDataMap(ws, prompts, status, options).ok());
  EXPECT_EQ(prompts.asked.back().request.presetName, "Raw Data Map at 0.45 Volts.HDMAP");
  EXPECT_EQ(status.lines, (Lines{"Saving Raw Data Map", "Finished Saving"}));
  EXPECT_EQ(read(file), *formats::encodeRawMapFile(ws.rawMap));

  // Cancelled: no file, no further line.
  status.lines.clear();
  EXPECT_EQ(saveRawDataMap(ws, prompts, status, options).status, CommandStatus::Cancelled);
  EXPECT_EQ(status.lines, Lines{"Saving Raw Data Map"});
}

TEST_F(RawMapCommands, OpenReplacesTheMapOrLeavesItWhenTheFileIsBad) {
  engine::RawDataMap other;
  other.at(0, 7) = {" 5", 5, 5};
  other.at(150, 256) = {" 61,-3", 29, 29};
  const auto good = write("good.HDMAP", *formats::encodeRawMapFile(other));
  ws.rawMap.at(40, 40) = {" 1", 1, 1};
  prompts.openAnswers.push_back({good});
  const CommandResult opened = openRawDataMap(ws, prompts, status, options);
  EXPECT_TRUE(opened.ok() && opened.changed);
  EXPECT_EQ(status.lines, (Lines{"Loading Raw Data Map", "Loading Finished"}));
  EXPECT_TRUE(ws.rawDataMapPresent);
  EXPECT_EQ(ws.rawMap.at(150, 256).values, " 61,-3");
  EXPECT_TRUE(ws.rawMap.at(40, 40).values.empty());

  workspace::Workspace fresh;
  prompts.openAnswers.push_back({write("bad.HDMAP", std::string(1000, '\0'))});
  status.lines.clear();
  fresh.rawMap.at(40, 40) = {" 1", 1, 1};
  EXPECT_EQ(openRawDataMap(fresh, prompts, status, options).status, CommandStatus::Failed);
  EXPECT_EQ(status.lines.back(), "Loading Failed");
  EXPECT_FALSE(fresh.rawDataMapPresent);
  EXPECT_EQ(fresh.rawMap.at(40, 40).values, " 1");

  status.lines.clear();
  EXPECT_EQ(openRawDataMap(fresh, prompts, status, options).status, CommandStatus::Cancelled);
  EXPECT_EQ(status.lines, Lines{"Loading Raw Data Map"});
}

TEST_F(RawMapCommands, SaveCrossoverPointsNeedsADatalog) {
  EXPECT_EQ(saveCrossoverPoints(ws, prompts, status, options).status, CommandStatus::Refused);
  EXPECT_EQ(prompts.asked[0].text, "Nothing to save, open a datalog or high density map first");
  EXPECT_TRUE(status.lines.empty());
  prompts.asked.clear();

  ws.datalogPresent = true;
  ws.settings.o2Transfer = 0.55f;
  engine::CrossoverPoint point;
  point.map = 20, point.rpm = 2000, point.gego = 101, point.gve = 60, point.gammaE = 100;
  point.o2 = 0.2f, point.newVE = 60;
  ws.crossovers = {point};
  const auto file = path("points.xls");
  prompts.saveAnswers.push_back(file);
  EXPECT_TRUE(saveCrossoverPoints(ws, prompts, status, options).ok());
  EXPECT_EQ(prompts.asked[0].request.presetName, "TransferPoints at 0.55 Volts.xls");
  EXPECT_EQ(status.lines, (Lines{"Saving Crossover Point List", "Finished Saving"}));
  const Lines lines = common::splitLines(read(file));
  EXPECT_EQ(lines[0], "High Density VE Map -Average- 1/2/2025 3:04:05 PM");
  EXPECT_EQ(lines.back(), "20\t2000\t101\t60\t100\t0.2\t60");
}

TEST(ClearRawDataMapCommand, EmptiesTheMapAndListAndKeepsThePoints) {
  workspace::Workspace ws;
  ws.rawMap.at(1, 1) = {" 60", 60, 60};
  ws.rawDataMapPresent = true;
  ws.crossovers.resize(1);
  common::VectorStatusLog status;
  engine::VectorCrossoverList list;
  list.lines = {"old"};
  EXPECT_TRUE(clearRawDataMapCommand(ws, status, list).changed);
  EXPECT_TRUE(ws.rawMap.at(1, 1).values.empty());
  EXPECT_FALSE(ws.rawDataMapPresent);
  EXPECT_TRUE(list.lines.empty());
  EXPECT_EQ(ws.crossovers.size(), 1u);
  EXPECT_EQ(status.lines, (Lines{"Clearing Crossover Array", "Finished Clearing Array"}));
}

}  // namespace
}  // namespace tallimar::commands
