// The table commands over a Workspace with scripted prompts and a status list.
#include "commands/ve_map_commands.h"

#include <gtest/gtest.h>

#include "common/list_text.h"
#include "common/scripted_prompts.h"

namespace tallimar::commands {
namespace {

using common::MessageIcon;
using Lines = std::vector<std::string>;
using namespace vemap;

struct Session {
  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog log;
  Session() { ws.veTable.setStartupBins(); }
  void rawData() {
    ws.rawDataMapPresent = true;
    for (int c = 1; c <= 150; ++c) {
      for (int m = 1; m <= 256; m += 2) ws.rawMap.at(c, m).average = 65;
    }
  }
};

TEST(MapCommands, WithoutARawMapCalculateAndFilterAreRefusedAndChangeNothing) {
  Session s;
  EXPECT_EQ(calculateMapCommand(s.ws, s.log).status, CommandStatus::Refused);
  EXPECT_EQ(filterRawDatalogCommand(s.ws, s.log).status, CommandStatus::Refused);
  EXPECT_EQ(s.log.lines, (Lines{kNoRawMapLine, kNoRawMapLine}));
  EXPECT_FALSE(s.ws.veTable.lowDensityMapPresent || s.ws.veTable.filteredMapPresent);
}

TEST(CalculateMapCommand, SetsTheTableFlagAndNamesTheFirstFourBinsOutsideTheGrid) {
  Session s;
  s.rawData();
  s.ws.veTable.mapBins[7] = 300;
  EXPECT_TRUE(calculateMapCommand(s.ws, s.log).ok());
  EXPECT_TRUE(s.ws.veTable.lowDensityMapPresent);
  EXPECT_EQ(s.ws.veTable.ve[0][0], 65);
  EXPECT_EQ(s.log.lines, (Lines{kCalculatedFromRawLine,
                                "Bins partly outside the data map (positions outside skipped): "
                                "(500, 300), (1000, 300), (1500, 300), (2000, 300) and 4 more"}));

  const struct {
    Lines items;
    const char* text;
  } cases[] = {
      {{}, ""}, {{"a", "b", "c"}, "a, b, c"}, {{"a", "b", "c", "d"}, "a, b, c and 1 more"}};
  for (const auto& c : cases) EXPECT_EQ(common::firstFewOf(c.items, 3), c.text);
}

TEST(FilterRawDatalogCommand, UsesTheSettingsAndSetsTheFilteredFlag) {
  Session s;
  s.rawData();
  s.ws.settings.bSplineFilter = 2;
  s.ws.settings.rpmMax = 8000;
  int step2Lines = 0;
  const auto outcome = filterRawDatalogCommand(s.ws, s.log, [&](const FilterLine& line) {
    // Step 1 over the active MAP bins (10..80), step 2 up to RPMMax / 100.
    EXPECT_EQ(line.axisFrom, line.step == 1 ? 10 : 0);
    EXPECT_EQ(line.axisTo, 80);
    step2Lines += line.step == 2;
    return true;
  });
  EXPECT_TRUE(outcome.ok());
  EXPECT_EQ(step2Lines, 256);
  EXPECT_TRUE(s.ws.veTable.filteredMapPresent);
  EXPECT_EQ(s.log.lines, Lines{kFinishedPlottingLine});
  EXPECT_EQ(s.ws.filteredMap.at(40, 101), 65);

  // A map without any line of four points still sets the flag and leaves all zeros.
  Session empty;
  empty.ws.rawDataMapPresent = true;
  empty.ws.filteredMap.at(3, 3) = 70;
  (void)filterRawDatalogCommand(empty.ws, empty.log);
  EXPECT_TRUE(empty.ws.veTable.filteredMapPresent);
  EXPECT_EQ(empty.ws.filteredMap.at(3, 3), 0);
}

TEST(ScaleLdMapCommand, ReadsTheTextsAndRefusesZeroOrResultsBeyondSixteenBits) {
  Session s;
  for (auto& row : s.ws.veTable.ve) row.fill(55);
  EXPECT_FALSE(scaleLdMapCommand(s.ws, s.prompts, "6.5", "0abc").ok());
  EXPECT_EQ(s.ws.veTable.ve[0][0], 55);
  EXPECT_TRUE(scaleLdMapCommand(s.ws, s.prompts, " 6.5", "1 3").ok());
  EXPECT_EQ(s.ws.veTable.ve[0][0], 28);
  EXPECT_FALSE(s.ws.veTable.lowDensityMapPresent);
  EXPECT_FALSE(scaleLdMapCommand(s.ws, s.prompts, "10000", "1").ok());
  EXPECT_EQ(s.ws.veTable.ve[0][0], 28);
  ASSERT_EQ(s.prompts.asked.size(), 2u);
  EXPECT_EQ(s.prompts.asked[0].text, "Value must be greater than 0");
  EXPECT_EQ(s.prompts.asked[0].icon, MessageIcon::Stop);
  EXPECT_EQ(s.prompts.asked[1].text, kVeRangeMessage);
}

TEST(TargetAfrCommands, PreviewFromTextsAndApply) {
  Session s;
  for (auto& row : s.ws.veTable.ve) row.fill(60);
  AfrGrid shown = afrGridFromTable(s.ws.veTable);
  std::array<std::string, kMaxBins> targets;
  targets.fill("14.7");
  targets[5] = "12.25";
  EXPECT_EQ(targetAfrPreviewCommand(s.ws, s.prompts, "abc", targets, shown).status,
            CommandStatus::Refused);
  ASSERT_EQ(s.prompts.asked.size(), 1u);
  EXPECT_EQ(s.prompts.asked[0].text, "Invalid Value for Baseline AFR");
  EXPECT_TRUE(targetAfrPreviewCommand(s.ws, s.prompts, "1 4.7", targets, shown).ok());
  EXPECT_TRUE(targetAfrApplyCommand(s.ws, s.prompts, shown).ok());
  EXPECT_EQ(s.ws.veTable.ve[0][5], 72);
  EXPECT_EQ(s.ws.veTable.ve[0][4], 60);
}

}  // namespace
}  // namespace tallimar::commands
