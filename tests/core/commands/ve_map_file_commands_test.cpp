// "Open LD Map" and "Save LD Map" with scripted dialogs, and every real exchange and MSQ file.
#include "commands/ve_map_file_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/scripted_prompts.h"
#include "common/text_lines.h"
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

TEST_F(VeMapFiles, SaveAsksForTheFileAndWritesIt) {
  ws.settings.incPath = "/maps";
  ws.veTable.ve[3][4] = 71;
  prompts.saveAnswers.push_back(path("out.vex"));
  EXPECT_TRUE(saveLdMapCommand(ws, prompts, log, "/program").ok());
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].request.presetName, "Map Export.vex");
  EXPECT_EQ(prompts.asked[0].request.initialFolder, "/maps");
  EXPECT_EQ(log.lines, (Lines{"Exporting VE Map", "Finished Exporting"}));
  EXPECT_EQ(common::splitLines(read(path("out.vex"))).size(), 30u);

  // Cancelled dialog: nothing written, no failure line; the program folder when no INCPath.
  log.lines.clear();
  ws.settings.incPath.clear();
  EXPECT_FALSE(saveLdMapCommand(ws, prompts, log, "/program").ok());
  EXPECT_EQ(prompts.asked.back().request.initialFolder, "/program");
  EXPECT_EQ(log.lines, Lines{"Exporting VE Map"});
}

TEST_F(VeMapFiles, ExportFailuresWriteNothing) {
  ws.veTable.ve[0][0] = 1500;
  EXPECT_FALSE(exportVeMapFile(ws, path("big.vex"), log).ok());
  EXPECT_EQ(log.lines, (Lines{"Exporting VE Map",
                              "VE value 1500 at RPM bin 0, MAP bin 0 does not fit the VE "
                              "exchange file",
                              "Export Failed"}));
  EXPECT_FALSE(fs::exists(path("big.vex")));
}

TEST_F(VeMapFiles, OpenAsksBeforeOverwritingAndReadsByEnding) {
  ws.veTable.ve[1][1] = 66;
  ASSERT_TRUE(exportVeMapFile(ws, path("MAP.VEX"), log).ok());
  ws.veTable.ve[1][1] = 0;
  ws.veTable.lowDensityMapPresent = true;
  log.lines.clear();

  prompts.answers.push_back(common::Answer::No);
  EXPECT_FALSE(openLdMapCommand(ws, prompts, log).ok());
  EXPECT_TRUE(log.lines.empty());
  EXPECT_EQ(prompts.asked[0].text, kOverwriteQuestion);

  prompts.answers.push_back(common::Answer::Yes);
  prompts.openAnswers.push_back({path("MAP.VEX")});
  const auto outcome = openLdMapCommand(ws, prompts, log);
  EXPECT_TRUE(outcome.ok());
  EXPECT_EQ(ws.veTable.ve[1][1], 66);
  EXPECT_EQ(log.lines, (Lines{"Importing MegaTune Dump File", "Finished Loading"}));

  // A cancelled dialog changes nothing.
  prompts.answers.push_back(common::Answer::Yes);
  EXPECT_FALSE(openLdMapCommand(ws, prompts, log).ok());
}

TEST_F(VeMapFiles, ImportSetsSizesInTheSettingsToo) {
  ws.veTable.sizeRpm = 12;
  ws.veTable.sizeMap = 12;
  ASSERT_TRUE(exportVeMapFile(ws, path("twelve.vex"), log).ok());
  workspace::Workspace fresh;
  fresh.rawDataMapPresent = true;
  ASSERT_TRUE(importVeMapFile(fresh, path("twelve.vex"), log).ok());
  EXPECT_EQ(fresh.veTable.sizeRpm, 12);
  EXPECT_EQ(fresh.settings.veSizeRPM, 12);
  EXPECT_EQ(fresh.settings.veSizeMAP, 12);
  EXPECT_TRUE(fresh.veTable.lowDensityMapPresent);
}

TEST_F(VeMapFiles, RefusedAndOtherFilesLeaveTheTable) {
  const auto before = ws.veTable;
  EXPECT_EQ(importVeMapFile(ws, path("absent.vex"), log).status, CommandStatus::Failed);
  EXPECT_EQ(log.lines.back(), "Loading Failed");

  // Tunes without a VE table are refused; a file of another kind reads nothing but marks
  // the table as loaded.
  for (const char* text : {"", "<msq>\n"}) {
    EXPECT_FALSE(importVeMapFile(ws, write("tune.msq", text), log).ok());
    EXPECT_EQ(log.lines.back(), "Loading Failed");
  }
  EXPECT_FALSE(ws.veTable.lowDensityMapPresent);
  EXPECT_TRUE(importVeMapFile(ws, path("notes.txt"), log).ok());
  EXPECT_TRUE(ws.veTable.lowDensityMapPresent);
  EXPECT_EQ(ws.veTable.ve, before.ve);
  EXPECT_EQ(ws.veTable.rpmBins, before.rpmBins);
  EXPECT_EQ(log.lines.back(), "Finished Loading");
}

class RealVeFiles : public VeMapFiles {
 protected:
  void SetUp() override {
    VeMapFiles::SetUp();
    if (!fs::is_directory(fs::path(TALLIMAR_REAL_DATA_DIR) / "vex")) {
      GTEST_SKIP() << "real sample files not present";
    }
  }
  static std::string real(const std::string& name) {
    return (fs::path(TALLIMAR_REAL_DATA_DIR) / name).string();
  }
};

TEST_F(RealVeFiles, EightByEightVeTableImportsExactly) {
  ASSERT_TRUE(importVeMapFile(ws, real("vex/max200501062134.vex"), log).ok());
  const auto& t = ws.veTable;
  EXPECT_EQ((std::vector<int>{t.sizeRpm, t.sizeMap, t.rpmBins[7], t.mapBins[7], t.ve[0][0],
                              t.ve[0][7], t.ve[3][4]}),
            (std::vector<int>{8, 8, 7000, 250, 19, 127, 63}));
}

TEST_F(RealVeFiles, EveryExchangeAndMsqFileReadsWithoutHarm) {
  for (const char* folder : {"vex", "msq"}) {
    for (const auto& entry : fs::directory_iterator(fs::path(TALLIMAR_REAL_DATA_DIR) / folder)) {
      workspace::Workspace one;
      one.veTable.setStartupBins();
      const auto before = one.veTable;
      common::VectorStatusLog lines;
      const bool loaded = importVeMapFile(one, entry.path().string(), lines).ok();
      if (!loaded) {
        EXPECT_EQ(lines.lines.back(), "Loading Failed") << entry.path();
        EXPECT_EQ(one.veTable.ve, before.ve) << entry.path();
        EXPECT_EQ(one.veTable.sizeRpm, before.sizeRpm) << entry.path();
      }
      EXPECT_TRUE(vemap::VeTable::validSize(one.veTable.sizeRpm)) << entry.path();
      EXPECT_TRUE(vemap::VeTable::validSize(one.veTable.sizeMap)) << entry.path();
    }
  }
  // 21 RPM bins is more than the table holds: refused, table unchanged.
  EXPECT_FALSE(importVeMapFile(ws, real("vex/3S-GTEbasetiming.vex"), log).ok());
  EXPECT_EQ(log.lines[log.lines.size() - 2], "VE map file: RPM size 21 is outside 1 to 16");
  // Twelve bins each way: the sizes come from the file.
  ASSERT_TRUE(importVeMapFile(ws, real("vex/ign.vex"), log).ok());
  EXPECT_EQ(ws.veTable.sizeRpm, 12);
  EXPECT_EQ(ws.veTable.mapBins[11], 200);
  EXPECT_EQ(ws.veTable.rpmBins[1], 800);
}

}  // namespace
}  // namespace tallimar::commands
