// "Open LD Map" and "Save LD Map" on exchange and tune files, and every real file.
#include "commands/ve_map_file_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "commands/ve_tune_commands.h"
#include "common/scripted_prompts.h"
#include "formats/xml_tune.h"
#include "support/temp_dir.h"

namespace tallimar::commands {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// A 2 RPM x 2 MAP tune in the tuning software's layout.
const std::string kTune =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<msq>\r\n"
    "<constant cols=\"2\" digits=\"0\" name=\"veTable1\" rows=\"2\">\r\n"
    "         40.0 41.0 \r\n         50.0 51.0 \r\n      </constant>\r\n"
    "<constant cols=\"1\" digits=\"0\" name=\"frpm_table1\" rows=\"2\">\r\n"
    "         800.0 \r\n         1500.0 \r\n      </constant>\r\n"
    "<constant cols=\"1\" digits=\"1\" name=\"fmap_table1\" rows=\"2\">\r\n"
    "         30.0 \r\n         100.0 \r\n      </constant>\r\n</msq>\r\n";
const std::string kBinaryTune("#MegaTune\0\x12\x34", 12);

class VeMapFiles : public testsupport::TempDirTest {
 protected:
  VeMapFiles() { ws.veTable.setStartupBins(); }
  // "Save LD Map" with the save dialog answering `chosen`.
  bool save(const std::string& chosen) {
    prompts.saveAnswers.push_back(chosen);
    return saveLdMapCommand(ws, prompts, log, "/program").ok();
  }

  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog log;
};

TEST_F(VeMapFiles, SaveAsksForTheFileInTheIncFolderOrTheProgramFolder) {
  ws.settings.incPath = "/maps";
  EXPECT_TRUE(save(path("out.vex")));
  EXPECT_EQ(prompts.asked.at(0).request.presetName, "Map Export.vex");
  EXPECT_EQ(prompts.asked[0].request.initialFolder, "/maps");
  EXPECT_EQ(log.lines, (Lines{"Exporting VE Map", "Finished Exporting"}));
  EXPECT_TRUE(fs::exists(path("out.vex")));

  log.lines.clear();  // cancelled: nothing written, no failure line
  ws.settings.incPath.clear();
  EXPECT_FALSE(saveLdMapCommand(ws, prompts, log, "/program").ok());
  EXPECT_EQ(prompts.asked.back().request.initialFolder, "/program");
  EXPECT_EQ(log.lines, Lines{"Exporting VE Map"});

  fs::permissions(path("out.vex"), fs::perms(0444));
  log.lines.clear();  // refused, also for root: the old file stays
  EXPECT_FALSE(save(path("out.vex")));
  EXPECT_EQ(log.lines, (Lines{"Exporting VE Map", "out.vex is read-only", "Export Failed"}));
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
}

// Refused files leave the table and its flag; a file of another kind reads nothing but marks
// the table as loaded; a tune names the constants it read.
TEST_F(VeMapFiles, RefusedAndOtherFilesLeaveTheTableAndTunesNameTheirConstants) {
  const auto before = ws.veTable;
  for (const std::string& file : {path("absent.vex"), write("old.MSQ", kBinaryTune)}) {
    EXPECT_EQ(importVeMapFile(ws, file, log).status, CommandStatus::Failed);
    EXPECT_EQ(log.lines.back(), "Loading Failed");
  }
  EXPECT_FALSE(ws.veTable.lowDensityMapPresent);
  EXPECT_TRUE(importVeMapFile(ws, path("notes.txt"), log).ok());
  EXPECT_TRUE(ws.veTable.lowDensityMapPresent);
  EXPECT_EQ(ws.veTable.ve, before.ve);
  EXPECT_EQ(log.lines.back(), "Finished Loading");

  log.lines.clear();
  ASSERT_TRUE(importVeMapFile(ws, write("tune.msq", kTune), log).ok());
  EXPECT_EQ(log.lines[1], "Tune constants read: veTable1 (2 x 2), frpm_table1, fmap_table1");
  EXPECT_EQ(ws.veTable.ve[1][1], 51);
}

// A table of 2 x 2 to save into tunes.
class TuneFiles : public VeMapFiles {
 protected:
  TuneFiles() {
    ws.veTable.sizeRpm = ws.veTable.sizeMap = 2;
    ws.veTable.ve[1][1] = 77;
  }
};

TEST_F(TuneFiles, SaveAsksForABaseOrToUpdateTheTuneChosenAndRefusesBinaryTunes) {
  const std::string base = write("base.msq", kTune);
  prompts.openAnswers.push_back({base});
  EXPECT_TRUE(save(path("new.msq")));
  EXPECT_EQ(prompts.asked.back().title, kBaseTuneTitle);
  EXPECT_EQ(prompts.asked.back().request.initialFolder, dir.string());
  EXPECT_EQ(log.lines, (Lines{"Exporting VE Map",
                              "Tune constants written: veTable1 (2 x 2), frpm_table1, "
                              "fmap_table1 into new.msq",
                              "Finished Exporting"}));
  EXPECT_EQ(read(base), kTune);
  EXPECT_EQ(formats::readTuneVeTable(read(path("new.msq")))->ve[1][1], 77);

  // A chosen file that is a tune is updated in place, and only after a Yes.
  prompts.answers = {common::Answer::No, common::Answer::Yes};
  EXPECT_FALSE(save(base));
  EXPECT_EQ(prompts.asked.back().text, updateTuneQuestion("base.msq"));
  EXPECT_EQ(read(base), kTune);
  EXPECT_TRUE(save(base));
  EXPECT_EQ(prompts.asked.back().kind, "message");  // no base tune was asked for
  EXPECT_EQ(read(base), read(path("new.msq")));

  // A cancelled base dialog writes nothing; an old binary tune chosen is no tune to update: a
  // base is asked for, and a binary one refused.
  const std::string old = write("old.msq", kBinaryTune);
  log.lines.clear();
  EXPECT_FALSE(save(path("a.msq")));
  EXPECT_EQ(log.lines, Lines{"Exporting VE Map"});
  log.lines.clear();
  prompts.openAnswers.push_back({old});
  EXPECT_FALSE(save(old));
  EXPECT_EQ(log.lines,
            (Lines{"Exporting VE Map", "old.msq: no VE table found (not an XML tune file)",
                   "Export Failed"}));
  EXPECT_EQ(read(old), kBinaryTune);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 3);  // nothing else written
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
      }
      EXPECT_TRUE(vemap::VeTable::validSize(one.veTable.sizeRpm) &&
                  vemap::VeTable::validSize(one.veTable.sizeMap))
          << entry.path();
    }
  }
}

}  // namespace
}  // namespace tallimar::commands
