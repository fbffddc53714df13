// The table commands over a Workspace with scripted prompts and a status list.
#include "commands/ve_map_commands.h"

#include <gtest/gtest.h>

#include "common/scripted_prompts.h"

namespace tallimar::commands {
namespace {

using Lines = std::vector<std::string>;
using namespace vemap;

struct Session {
  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog log;
  Session() { ws.veTable.setStartupBins(); }  // 8 x 8, RPM 500..4000, MAP 10..80
  void rawData() {
    ws.rawDataMapPresent = true;
    for (int c = 1; c <= 150; ++c) {
      for (int m = 1; m <= 256; m += 2) ws.rawMap.at(c, m).average = 65;
    }
  }
};

// Without a raw data map Calculate and Filter are refused and change nothing.
TEST(CalculateMapCommand, SetsTheFlagAndNamesBinsOutsideTheGridOrBeyondSixteenBits) {
  Session s;
  EXPECT_EQ(calculateMapCommand(s.ws, s.log).status, CommandStatus::Refused);
  EXPECT_EQ(filterRawDatalogCommand(s.ws, s.log).status, CommandStatus::Refused);
  EXPECT_EQ(s.log.lines, (Lines{kNoRawMapLine, kNoRawMapLine}));
  EXPECT_FALSE(s.ws.veTable.lowDensityMapPresent || s.ws.veTable.filteredMapPresent);
  s.log.lines.clear();
  s.rawData();
  s.ws.veTable.mapBins[7] = 300;
  EXPECT_TRUE(calculateMapCommand(s.ws, s.log).ok());
  EXPECT_TRUE(s.ws.veTable.lowDensityMapPresent);
  EXPECT_EQ(s.ws.veTable.ve[0][0], 65);
  EXPECT_EQ(s.log.lines, (Lines{kCalculatedFromRawLine,
                                "Bins partly outside the data map (positions outside skipped): "
                                "(500, 300), (1000, 300), (1500, 300), (2000, 300) and 4 more"}));

  // A filtered map far out of range: those bins keep their old VE.
  Session f;
  f.ws.rawDataMapPresent = f.ws.veTable.filteredMapPresent = true;
  for (int c = 0; c < engine::kRawRpmCells; ++c)
    for (int m = 0; m < engine::kRawMapCells; ++m) f.ws.filteredMap.at(c, m) = 70.0f;
  f.ws.veTable.at(0, 0) = 11, f.ws.veTable.at(7, 7) = 22;
  f.ws.filteredMap.at(5, 10) = 4.0e5f;    // around RPM 500 / MAP 10
  f.ws.filteredMap.at(40, 80) = -4.0e5f;  // around RPM 4000 / MAP 80
  EXPECT_TRUE(calculateMapCommand(f.ws, f.log).ok());
  EXPECT_EQ(f.log.lines.back(),
            "2 bins kept the old VE (neighbourhood mean outside 16 bits): (500, 10), (4000, 80)");
  EXPECT_EQ((std::vector<int>{f.ws.veTable.at(0, 0), f.ws.veTable.at(7, 7), f.ws.veTable.at(1, 1)}),
            (std::vector<int>{11, 22, 70}));
}

TEST(FilterRawDatalogCommand, UsesTheSettingsAndSetsTheFilteredFlag) {
  Session s;
  s.rawData();
  s.ws.settings.bSplineFilter = 2, s.ws.settings.rpmMax = 8000;
  const auto outcome = filterRawDatalogCommand(s.ws, s.log, [&](const FilterLine& line) {
    // Step 1 over the active MAP bins (10..80), step 2 up to RPMMax / 100.
    EXPECT_EQ(line.axisFrom, line.step == 1 ? 10 : 0);
    EXPECT_EQ(line.axisTo, 80);
    return true;
  });
  EXPECT_TRUE(outcome.ok());
  EXPECT_TRUE(s.ws.veTable.filteredMapPresent);
  EXPECT_EQ(s.log.lines, Lines{kFinishedPlottingLine});
  EXPECT_EQ(s.ws.filteredMap.at(40, 101), 65);
}

// The texts are read as leading numbers; a refusal says why and leaves the table.
TEST(ScaleAndTargetAfrCommands, ReadTheTextsAndRefuseWithAReason) {
  Session s;
  for (auto& row : s.ws.veTable.ve) row.fill(55);
  EXPECT_FALSE(scaleLdMapCommand(s.ws, s.prompts, "6.5", "0abc").ok());
  EXPECT_TRUE(scaleLdMapCommand(s.ws, s.prompts, " 6.5", "1 3").ok());
  EXPECT_FALSE(scaleLdMapCommand(s.ws, s.prompts, "10000", "1").ok());
  EXPECT_EQ(s.ws.veTable.ve[0][0], 28);

  for (auto& row : s.ws.veTable.ve) row.fill(60);
  AfrGrid shown = afrGridFromTable(s.ws.veTable);
  std::array<std::string, kMaxBins> targets;
  targets.fill("14.7");
  targets[5] = "12.25";
  EXPECT_EQ(targetAfrPreviewCommand(s.ws, s.prompts, "abc", targets, shown).status,
            CommandStatus::Refused);
  EXPECT_TRUE(targetAfrPreviewCommand(s.ws, s.prompts, "1 4.7", targets, shown).ok());
  EXPECT_TRUE(targetAfrApplyCommand(s.ws, s.prompts, shown).ok());
  EXPECT_EQ(s.ws.veTable.ve[0][5], 72);
  EXPECT_EQ(s.ws.veTable.ve[0][4], 60);
  std::vector<std::string> said;
  for (const auto& question : s.prompts.asked) said.push_back(question.text);
  EXPECT_EQ(said, (Lines{"Value must be greater than 0", kVeRangeMessage,
                         "Invalid Value for Baseline AFR"}));
}

}  // namespace
}  // namespace tallimar::commands
