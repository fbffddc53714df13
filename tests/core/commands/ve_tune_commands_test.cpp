// "Open LD Map" and "Save LD Map" on tune files: the questions, the lines, and nothing
// written or changed when refused.
#include "commands/ve_tune_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "commands/ve_map_file_commands.h"
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

class TuneCommands : public testsupport::TempDirTest {
 protected:
  TuneCommands() {
    ws.veTable.setStartupBins();
    ws.veTable.sizeRpm = ws.veTable.sizeMap = 2;
    ws.veTable.ve[1][1] = 77;
  }
  // "Save LD Map" with the save dialog answering `chosen`.
  bool save(const std::string& chosen) {
    prompts.saveAnswers.push_back(chosen);
    return saveLdMapCommand(ws, prompts, log, "/program").ok();
  }

  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog log;
};

TEST_F(TuneCommands, OpenReadsTheTableAndNamesItsConstants) {
  ASSERT_TRUE(importVeMapFile(ws, write("tune.msq", kTune), log).ok());
  EXPECT_EQ(log.lines, (Lines{"Importing MegaTune Dump File",
                              "Tune constants read: veTable1 (2 x 2), frpm_table1, fmap_table1",
                              "Finished Loading"}));
  EXPECT_EQ(ws.veTable.ve[1][1], 51);
  EXPECT_EQ(ws.veTable.rpmBins[1], 1500);
  // An old binary tune: refused, the table and its flag as they were.
  ws.veTable.lowDensityMapPresent = false;
  EXPECT_FALSE(importVeMapFile(ws, write("old.MSQ", kBinaryTune), log).ok());
  EXPECT_EQ(ws.veTable.ve[1][1], 51);
  EXPECT_FALSE(ws.veTable.lowDensityMapPresent);
}

TEST_F(TuneCommands, SaveAsksForABaseOrToUpdateTheTuneChosen) {
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
}

// A cancelled base dialog writes nothing; an old binary tune chosen is no tune to update: a
// base is asked for, and a binary one refused.
TEST_F(TuneCommands, RefusedSavesLeaveEveryFileAsItWas) {
  const std::string old = write("old.msq", kBinaryTune);
  EXPECT_FALSE(save(path("a.msq")));
  EXPECT_EQ(log.lines, Lines{"Exporting VE Map"});
  log.lines.clear();
  prompts.openAnswers.push_back({old});
  EXPECT_FALSE(save(old));
  EXPECT_EQ(log.lines[1], "old.msq: no VE table found (not an XML tune file)");
  EXPECT_EQ(read(old), kBinaryTune);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1);  // nothing else written
}

}  // namespace
}  // namespace tallimar::commands
