// "Open LD Map" and "Save LD Map" with scripted dialogs, and every real exchange and MSQ file.
#include "commands/ve_map_file_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/scripted_prompts.h"
#include "support/temp_dir.h"

namespace tallimar::commands {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

class VeMapFiles : public testsupport::TempDirTest {
 protected:
  VeMapFiles() { ws.veTable.setStartupBins(); }

  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog log;
};

TEST_F(VeMapFiles, SaveAsksForTheFileInTheIncFolderOrTheProgramFolder) {
  ws.settings.incPath = "/maps";
  prompts.saveAnswers.push_back(path("out.vex"));
  EXPECT_TRUE(saveLdMapCommand(ws, prompts, log, "/program").ok());
  EXPECT_EQ(prompts.asked.at(0).request.presetName, "Map Export.vex");
  EXPECT_EQ(prompts.asked[0].request.initialFolder, "/maps");
  EXPECT_EQ(log.lines, (Lines{"Exporting VE Map", "Finished Exporting"}));
  EXPECT_TRUE(fs::exists(path("out.vex")));

  log.lines.clear();  // cancelled: nothing written, no failure line
  ws.settings.incPath.clear();
  EXPECT_FALSE(saveLdMapCommand(ws, prompts, log, "/program").ok());
  EXPECT_EQ(prompts.asked.back().request.initialFolder, "/program");
  EXPECT_EQ(log.lines, Lines{"Exporting VE Map"});
}

TEST_F(VeMapFiles, OpenAsksBeforeOverwritingAndTakesTheSizesIntoTheSettings) {
  ws.veTable.sizeRpm = ws.veTable.sizeMap = 12;
  ws.veTable.ve[1][1] = 66;
  ASSERT_TRUE(exportVeMapFile(ws, path("MAP.VEX"), log).ok());
  ws.veTable.setStartupBins();
  ws.veTable.ve[1][1] = 0;
  ws.veTable.lowDensityMapPresent = true;
  log.lines.clear();

  prompts.answers.push_back(common::Answer::No);
  EXPECT_FALSE(openLdMapCommand(ws, prompts, log).ok());
  EXPECT_TRUE(log.lines.empty());
  EXPECT_EQ(prompts.asked[0].text, kOverwriteQuestion);

  prompts.answers.push_back(common::Answer::Yes);
  prompts.openAnswers.push_back({path("MAP.VEX")});
  EXPECT_TRUE(openLdMapCommand(ws, prompts, log).ok());
  EXPECT_EQ(log.lines, (Lines{"Importing MegaTune Dump File", "Finished Loading"}));
  EXPECT_EQ((std::vector<int>{ws.veTable.ve[1][1], ws.veTable.sizeRpm, ws.settings.veSizeRPM,
                              ws.settings.veSizeMAP}),
            (std::vector<int>{66, 12, 12, 12}));

  prompts.answers.push_back(common::Answer::Yes);  // then a cancelled dialog
  EXPECT_FALSE(openLdMapCommand(ws, prompts, log).ok());
}

// Refused files leave the table and its flag; a file of another kind reads nothing but marks
// the table as loaded.
TEST_F(VeMapFiles, RefusedAndOtherFilesLeaveTheTable) {
  const auto before = ws.veTable;
  for (const std::string& file : {path("absent.vex"), write("tune.msq", "<msq>\n")}) {
    EXPECT_EQ(importVeMapFile(ws, file, log).status, CommandStatus::Failed);
    EXPECT_EQ(log.lines.back(), "Loading Failed");
  }
  EXPECT_FALSE(ws.veTable.lowDensityMapPresent);
  EXPECT_TRUE(importVeMapFile(ws, path("notes.txt"), log).ok());
  EXPECT_TRUE(ws.veTable.lowDensityMapPresent);
  EXPECT_EQ(ws.veTable.ve, before.ve);
  EXPECT_EQ(log.lines.back(), "Finished Loading");
}

// A refused real file leaves the table as it was; every table read has a size it can hold.
TEST_F(VeMapFiles, EveryRealExchangeAndMsqFileReadsWithoutHarm) {
  const fs::path real(TALLIMAR_REAL_DATA_DIR);
  if (!fs::is_directory(real / "vex")) GTEST_SKIP() << "real sample files not present";
  for (const char* folder : {"vex", "msq"}) {
    for (const auto& entry : fs::directory_iterator(real / folder)) {
      workspace::Workspace one;
      one.veTable.setStartupBins();
      const auto before = one.veTable;
      if (!importVeMapFile(one, entry.path().string(), log).ok()) {
        EXPECT_EQ(log.lines.back(), "Loading Failed") << entry.path();
        EXPECT_EQ(one.veTable.ve, before.ve) << entry.path();
        EXPECT_EQ(one.veTable.sizeRpm, before.sizeRpm) << entry.path();
      }
      EXPECT_TRUE(vemap::VeTable::validSize(one.veTable.sizeRpm) &&
                  vemap::VeTable::validSize(one.veTable.sizeMap))
          << entry.path();
    }
  }
  EXPECT_FALSE(importVeMapFile(ws, (real / "vex/3S-GTEbasetiming.vex").string(), log).ok());
  EXPECT_EQ(log.lines.end()[-2], "VE map file: RPM size 21 is outside 1 to 16");
  ASSERT_TRUE(importVeMapFile(ws, (real / "vex/ign.vex").string(), log).ok());
  EXPECT_EQ((std::vector<int>{ws.veTable.sizeRpm, ws.veTable.mapBins[11], ws.veTable.rpmBins[1]}),
            (std::vector<int>{12, 200, 800}));
}

}  // namespace
}  // namespace tallimar::commands
