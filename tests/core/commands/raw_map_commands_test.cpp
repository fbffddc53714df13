// The raw data map commands (open, save, save crossover points, clear) with scripted dialogs.
#include "commands/raw_map_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/scripted_prompts.h"
#include "formats/raw_map_file.h"
#include "support/temp_dir.h"

namespace tallimar::commands {
namespace {

using Lines = std::vector<std::string>;

class RawMapCommands : public testsupport::TempDirTest {
 protected:
  // The command with the file dialog answering `file` ("": cancelled).
  CommandResult openFile(const std::string& file) {
    if (!file.empty()) prompts.openAnswers.push_back({file});
    status.lines.clear();
    return openRawDataMap(ws, prompts, status, options);
  }
  CommandResult saveMap(const std::string& file) {
    if (!file.empty()) prompts.saveAnswers.push_back(file);
    status.lines.clear();
    return saveRawDataMap(ws, prompts, status, options);
  }

  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog status;
  CommandOptions options{"/opt/tallimar", {}, [] { return std::string("1/2/2025 3:04:05 PM"); }};
};

TEST_F(RawMapCommands, SaveNeedsAMapAndOffersTheTransferVoltageName) {
  EXPECT_EQ(saveMap("").status, CommandStatus::Refused);
  EXPECT_EQ(prompts.asked.at(0).text, "Nothing to save");

  ws.rawDataMapPresent = true;
  ws.settings.o2Transfer = 0.45f;
  ws.rawMap.at(30, 60) = {" 61, 63", 62, 62};
  EXPECT_TRUE(saveMap(path("out.HDMAP")).ok());
  EXPECT_EQ(prompts.asked.back().request.presetName, "Raw Data Map at 0.45 Volts.HDMAP");
  EXPECT_EQ(status.lines, (Lines{"Saving Raw Data Map", "Finished Saving"}));
  EXPECT_EQ(read(path("out.HDMAP")), *formats::encodeRawMapFile(ws.rawMap));

  EXPECT_EQ(saveMap("").status, CommandStatus::Cancelled);  // no file, no further line
  EXPECT_EQ(status.lines, Lines{"Saving Raw Data Map"});

  std::filesystem::permissions(path("out.HDMAP"), std::filesystem::perms(0444));
  EXPECT_EQ(saveMap(path("out.HDMAP")).status, CommandStatus::Failed);  // also for root
  EXPECT_EQ(status.lines, (Lines{"Saving Raw Data Map", "out.HDMAP is read-only", "Save Failed"}));
}

TEST_F(RawMapCommands, OpenReplacesTheMapOrLeavesItWhenTheFileIsBad) {
  engine::RawDataMap other;
  other.at(150, 256) = {" 61,-3", 29, 29};
  const std::string bytes = *formats::encodeRawMapFile(other);
  ws.rawMap.at(40, 40) = {" 1", 1, 1};
  EXPECT_EQ(openFile(write("bad.HDMAP", std::string(1000, '\0'))).status, CommandStatus::Failed);
  EXPECT_EQ(status.lines.back(), "Loading Failed");
  EXPECT_FALSE(ws.rawDataMapPresent);
  EXPECT_EQ(ws.rawMap.at(40, 40).values, " 1");

  const CommandResult opened = openFile(write("good.HDMAP", bytes));
  EXPECT_TRUE(opened.ok() && opened.changed && ws.rawDataMapPresent);
  EXPECT_EQ(status.lines, (Lines{"Loading Raw Data Map", "Loading Finished"}));
  EXPECT_EQ(*formats::encodeRawMapFile(ws.rawMap), bytes);

  // Bytes after the last record are ignored and counted, also beyond the read buffer.
  for (const auto& [extra, line] : std::vector<std::pair<std::string, std::string>>{
           {"x", "Extra data after the last record ignored: 1 byte"},
           {std::string(70000, '\0'), "Extra data after the last record ignored: 70000 bytes"}}) {
    EXPECT_TRUE(openFile(write("more.HDMAP", bytes + extra)).ok());
    EXPECT_EQ(status.lines, (Lines{"Loading Raw Data Map", line, "Loading Finished"}));
    EXPECT_EQ(*formats::encodeRawMapFile(ws.rawMap), bytes);
  }
  EXPECT_EQ(openFile("").status, CommandStatus::Cancelled);
  EXPECT_EQ(status.lines, Lines{"Loading Raw Data Map"});
}

TEST_F(RawMapCommands, SaveCrossoverPointsNeedsADatalog) {
  EXPECT_EQ(saveCrossoverPoints(ws, prompts, status, options).status, CommandStatus::Refused);
  EXPECT_EQ(prompts.asked[0].text, "Nothing to save, open a datalog or high density map first");
  prompts.asked.clear();

  ws.datalogPresent = true;
  ws.settings.o2Transfer = 0.55f;
  ws.crossovers.resize(1);
  prompts.saveAnswers.push_back(path("points.xls"));
  EXPECT_TRUE(saveCrossoverPoints(ws, prompts, status, options).ok());
  EXPECT_EQ(prompts.asked[0].request.presetName, "TransferPoints at 0.55 Volts.xls");
  EXPECT_EQ(status.lines, (Lines{"Saving Crossover Point List", "Finished Saving"}));
  EXPECT_EQ(read(path("points.xls")).find("High Density VE Map -Average- 1/2/2025 3:04:05 PM"), 0u);
}

TEST_F(RawMapCommands, ClearEmptiesTheMapAndListAndKeepsThePoints) {
  ws.rawMap.at(1, 1) = {" 60", 60, 60};
  ws.rawDataMapPresent = true;
  ws.crossovers.resize(1);
  engine::VectorCrossoverList list;
  list.lines = {"old"};
  EXPECT_TRUE(clearRawDataMapCommand(ws, status, list).changed);
  EXPECT_TRUE(ws.rawMap.at(1, 1).values.empty() && list.lines.empty() && !ws.rawDataMapPresent);
  EXPECT_EQ(ws.crossovers.size(), 1u);
  EXPECT_EQ(status.lines, (Lines{"Clearing Crossover Array", "Finished Clearing Array"}));
}

}  // namespace
}  // namespace tallimar::commands
