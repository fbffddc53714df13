// "Open LD Map" and "Save LD Map" on tune files, with scripted dialogs: which questions are
// asked, which lines are logged, and that nothing is written or changed when refused.
#include "commands/ve_tune_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "common/scripted_prompts.h"
#include "files/ve_map_file_commands.h"
#include "files/xml_tune.h"
#include "support/temp_dir.h"

namespace tallimar::commands {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// A 2 RPM x 2 MAP tune in the tuning software's layout.
const std::string kTune =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<msq>\r\n<page number=\"0\">\r\n"
    "<constant cols=\"2\" digits=\"0\" name=\"veTable1\" rows=\"2\" units=\"%\">\r\n"
    "         40.0 41.0 \r\n         50.0 51.0 \r\n      </constant>\r\n"
    "<constant cols=\"1\" digits=\"0\" name=\"frpm_table1\" rows=\"2\" units=\"RPM\">\r\n"
    "         800.0 \r\n         1500.0 \r\n      </constant>\r\n"
    "<constant cols=\"1\" digits=\"1\" name=\"fmap_table1\" rows=\"2\" units=\"kPa\">\r\n"
    "         30.0 \r\n         100.0 \r\n      </constant>\r\n</page>\r\n</msq>\r\n";

class TuneCommands : public testsupport::TempDirTest {
 protected:
  TuneCommands() {
    ws.veTable.setStartupBins();
    ws.veTable.sizeRpm = ws.veTable.sizeMap = 2;
    ws.veTable.ve[1][1] = 77;
  }
  // Runs "Save LD Map" with the save dialog answering `chosen`.
  bool save(const std::string& chosen) {
    prompts.saveAnswers.push_back(chosen);
    return files::saveLdMapCommand(ws, prompts, log, "/program");
  }
  files::VeImportOutcome open(const std::string& file) {
    return files::importVeMapFile(ws, file, log);
  }

  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog log;
};

TEST_F(TuneCommands, OpenReadsTheTableAndNamesTheConstants) {
  ws.settings.veSizeRPM = 8;
  ASSERT_TRUE(open(write("tune.msq", kTune)).loaded);
  EXPECT_EQ(log.lines, (Lines{"Importing MegaTune Dump File",
                              "Tune constants read: veTable1 (2 x 2), frpm_table1, fmap_table1",
                              "Finished Loading"}));
  EXPECT_EQ(ws.veTable.ve[1][1], 51);
  EXPECT_EQ(ws.veTable.rpmBins[1], 1500);
  EXPECT_EQ(ws.settings.veSizeRPM, 2);
  EXPECT_TRUE(ws.veTable.lowDensityMapPresent);
}

TEST_F(TuneCommands, OpenRefusesTunesWithoutATable) {
  const struct {
    const char* file;
    std::string bytes;
    const char* line;
  } cases[] = {
      {"empty.msq", "", "empty.msq: no VE table found (the file is empty)"},
      {"old.MSQ", std::string("#MegaTune\0\x12\x34", 12),
       "old.MSQ: no VE table found (not an XML tune file)"},
      {"bare.msq", "<?xml version=\"1.0\"?>\n<msq/>\n",
       "bare.msq: no VE table found (no veTable1 or veBins1 constant with rows and cols)"},
  };
  for (const auto& c : cases) {
    log.lines.clear();
    const auto before = ws.veTable;
    EXPECT_FALSE(open(write(c.file, c.bytes)).loaded) << c.file;
    EXPECT_EQ(log.lines, (Lines{"Importing MegaTune Dump File", c.line, "Loading Failed"}));
    EXPECT_EQ(ws.veTable.ve, before.ve) << c.file;
    EXPECT_EQ(ws.veTable.sizeRpm, 2) << c.file;
    EXPECT_FALSE(ws.veTable.lowDensityMapPresent) << c.file;
  }
}

TEST_F(TuneCommands, SaveToANewFileAsksForTheBaseTune) {
  const std::string base = write("base.msq", kTune);
  prompts.openAnswers.push_back({base});
  EXPECT_TRUE(save(path("new.msq")));
  ASSERT_EQ(prompts.asked.size(), 2u);
  EXPECT_EQ(prompts.asked[1].title, kBaseTuneTitle);
  EXPECT_EQ(prompts.asked[1].request.initialFolder, dir.string());
  EXPECT_EQ(log.lines, (Lines{"Exporting VE Map",
                              "Tune constants written: veTable1 (2 x 2), frpm_table1, "
                              "fmap_table1 into new.msq",
                              "Finished Exporting"}));
  EXPECT_EQ(read(base), kTune);
  const auto written = files::readTuneVeTable(read(path("new.msq")));
  ASSERT_TRUE(written);
  EXPECT_EQ(written->ve[1][1], 77);
  EXPECT_EQ(written->rpmBins[1], 1000);
  EXPECT_EQ(written->mapBins[1], 20);
}

TEST_F(TuneCommands, SaveOverATuneUpdatesItOnlyWhenConfirmed) {
  const std::string tune = write("tune.msq", kTune);
  prompts.answers.push_back(common::Answer::No);
  EXPECT_FALSE(save(tune));
  EXPECT_EQ(prompts.asked.back().text, updateTuneQuestion("tune.msq"));
  EXPECT_EQ(read(tune), kTune);
  EXPECT_EQ(log.lines, Lines{"Exporting VE Map"});

  prompts.answers.push_back(common::Answer::Yes);
  EXPECT_TRUE(save(tune));
  EXPECT_EQ(prompts.asked.size(), 4u);  // no base tune was asked for
  EXPECT_EQ(files::readTuneVeTable(read(tune))->ve[1][1], 77);
  EXPECT_EQ(log.lines.back(), "Finished Exporting");
}

TEST_F(TuneCommands, RefusedSavesLeaveEveryFileAsItWas) {
  const std::string tune = write("tune.msq", kTune);
  const std::string old = write("old.msq", std::string("#MegaTune\0", 10));

  // Cancelled base dialog: nothing written, no line.
  EXPECT_FALSE(save(path("a.msq")));
  EXPECT_EQ(log.lines, Lines{"Exporting VE Map"});

  // A table of another size than the tune's.
  ws.veTable.sizeRpm = 3;
  prompts.openAnswers.push_back({tune});
  EXPECT_FALSE(save(path("b.msq")));
  EXPECT_EQ(log.lines, (Lines{"Exporting VE Map", "Exporting VE Map",
                              "tune.msq: the VE table is 3 x 2 (RPM x MAP) but veTable1 of the "
                              "tune is 2 x 2",
                              "Export Failed"}));
  // The same when the tune is updated in place: confirmed, refused, unchanged.
  prompts.answers.push_back(common::Answer::Yes);
  EXPECT_FALSE(save(tune));
  EXPECT_EQ(read(tune), kTune);

  // An old binary tune as the output is no tune to update: a base is asked for, and a
  // binary base is refused.
  ws.veTable.sizeRpm = 2;
  log.lines.clear();
  prompts.openAnswers.push_back({old});
  EXPECT_FALSE(save(old));
  EXPECT_EQ(log.lines,
            (Lines{"Exporting VE Map", "old.msq: no VE table found (not an XML tune file)",
                   "Export Failed"}));
  EXPECT_EQ(read(old), std::string("#MegaTune\0", 10));

  // An output folder that does not exist.
  log.lines.clear();
  EXPECT_FALSE(exportVeMapToTune(ws, tune, path("missing/out.msq"), log).ok());
  EXPECT_EQ(log.lines.back(), "Export Failed");
  // No output and no temporary file was left behind by any of the refusals.
  std::set<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir)) left.insert(entry.path().filename());
  EXPECT_EQ(left, (std::set<std::string>{"old.msq", "tune.msq"}));
}

TEST_F(TuneCommands, SaveKeepsTheExchangeFileForOtherEndings) {
  EXPECT_TRUE(save(path("map.vex")));
  EXPECT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(read(path("map.vex")).rfind("VUZAR 1.0 ", 0), 0u);
  EXPECT_TRUE(isTunePath("A.MsQ"));
  EXPECT_FALSE(isTunePath("msq"));
  EXPECT_FALSE(isTunePath("tune.msq.vex"));
}

}  // namespace
}  // namespace tallimar::commands
