// "Open LD Map" and "Save LD Map" with scripted dialogs, and every real exchange and MSQ file.
#include "files/ve_map_file_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "common/atomic_file.h"
#include "common/scripted_prompts.h"
#include "common/text_lines.h"

namespace tallimar::files {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

class VeMapFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("tallimar-vemap-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
    ws.veTable.setStartupBins();
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string path(const std::string& name) const { return (dir / name).string(); }

  fs::path dir;
  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog log;
};

TEST_F(VeMapFiles, SaveAsksForTheFileAndWritesIt) {
  ws.settings.incPath = "/maps";
  ws.veTable.ve[3][4] = 71;
  prompts.saveAnswers.push_back(path("out.vex"));
  EXPECT_TRUE(saveLdMapCommand(ws, prompts, log, "/program"));
  ASSERT_EQ(prompts.asked.size(), 1u);
  const auto& request = prompts.asked[0].request;
  EXPECT_EQ(request.title, "Export VE Map");
  EXPECT_EQ(request.filter, "VE eXchange (*.vex)|*.vex");
  EXPECT_EQ(request.presetName, "Map Export.vex");
  EXPECT_EQ(request.initialFolder, "/maps");
  EXPECT_EQ(log.lines, (Lines{"Exporting VE Map", "Finished Exporting"}));
  std::string text;
  ASSERT_TRUE(common::readWholeFile(path("out.vex"), text, 1 << 20));
  EXPECT_EQ(common::splitLines(text).size(), 30u);

  // Cancelled dialog: nothing written, no failure line; the program folder when no INCPath.
  log.lines.clear();
  ws.settings.incPath.clear();
  EXPECT_FALSE(saveLdMapCommand(ws, prompts, log, "/program"));
  EXPECT_EQ(prompts.asked.back().request.initialFolder, "/program");
  EXPECT_EQ(log.lines, Lines{"Exporting VE Map"});
}

TEST_F(VeMapFiles, ExportFailuresWriteNothing) {
  EXPECT_FALSE(exportVeMapFile(ws, path("missing/folder/out.vex"), log));
  EXPECT_EQ(log.lines.back(), "Export Failed");
  ws.veTable.ve[0][0] = 1500;
  log.lines.clear();
  EXPECT_FALSE(exportVeMapFile(ws, path("big.vex"), log));
  EXPECT_EQ(log.lines, (Lines{"Exporting VE Map",
                              "VE value 1500 at RPM bin 0, MAP bin 0 does not fit the VE "
                              "exchange file",
                              "Export Failed"}));
  EXPECT_FALSE(fs::exists(path("big.vex")));
}

TEST_F(VeMapFiles, OpenAsksBeforeOverwritingAndReadsByEnding) {
  ws.veTable.ve[1][1] = 66;
  ASSERT_TRUE(exportVeMapFile(ws, path("MAP.VEX"), log));
  ws.veTable.ve[1][1] = 0;
  ws.veTable.lowDensityMapPresent = true;
  log.lines.clear();

  prompts.answers.push_back(common::Answer::No);
  EXPECT_FALSE(openLdMapCommand(ws, prompts, log).loaded);
  EXPECT_TRUE(log.lines.empty());
  EXPECT_EQ(prompts.asked[0].text, kOverwriteQuestion);
  EXPECT_EQ(prompts.asked[0].buttons, common::MessageButtons::YesNo);

  prompts.answers.push_back(common::Answer::Yes);
  prompts.openAnswers.push_back({path("MAP.VEX")});
  const auto outcome = openLdMapCommand(ws, prompts, log);
  EXPECT_TRUE(outcome.loaded);
  EXPECT_EQ(outcome.redraw, vemap::PlotRedraw::LowDensityMap);
  EXPECT_EQ(ws.veTable.ve[1][1], 66);
  EXPECT_EQ(prompts.asked.back().title, "Import VE Map");
  EXPECT_EQ(prompts.asked.back().request.filter, kImportFilter);
  EXPECT_EQ(log.lines, (Lines{"Importing MegaTune Dump File", "Finished Loading"}));

  // A cancelled dialog changes nothing.
  prompts.answers.push_back(common::Answer::Yes);
  EXPECT_FALSE(openLdMapCommand(ws, prompts, log).loaded);
}

TEST_F(VeMapFiles, ImportSetsSizesInTheSettingsToo) {
  ws.veTable.sizeRpm = 12;
  ws.veTable.sizeMap = 12;
  ASSERT_TRUE(exportVeMapFile(ws, path("twelve.vex"), log));
  workspace::Workspace fresh;
  fresh.rawDataMapPresent = true;
  const auto outcome = importVeMapFile(fresh, path("twelve.vex"), log);
  EXPECT_EQ(outcome.redraw, vemap::PlotRedraw::RefreshPlotWindow);
  EXPECT_EQ(fresh.veTable.sizeRpm, 12);
  EXPECT_EQ(fresh.settings.veSizeRPM, 12);
  EXPECT_EQ(fresh.settings.veSizeMAP, 12);
  EXPECT_TRUE(fresh.veTable.lowDensityMapPresent);
}

TEST_F(VeMapFiles, RefusedAndOtherFilesLeaveTheTable) {
  const auto before = ws.veTable;
  importVeMapFile(ws, path("absent.vex"), log);
  EXPECT_EQ(log.lines.back(), "Loading Failed");
  EXPECT_FALSE(ws.veTable.lowDensityMapPresent);
  EXPECT_EQ(ws.veTable.rpmBins, before.rpmBins);

  ASSERT_TRUE(common::writeFileAtomically(path("empty.msq"), ""));
  log.lines.clear();
  EXPECT_FALSE(importVeMapFile(ws, path("empty.msq"), log).loaded);
  EXPECT_EQ(log.lines,
            (Lines{"Importing MegaTune Dump File", "MSQ file is empty", "Loading Failed"}));

  // An MSQ file or a file of another kind reads nothing but marks the table as loaded.
  ASSERT_TRUE(common::writeFileAtomically(path("tune.msq"), "<msq>\n"));
  EXPECT_TRUE(importVeMapFile(ws, path("tune.msq"), log).loaded);
  EXPECT_TRUE(importVeMapFile(ws, path("notes.txt"), log).loaded);
  EXPECT_TRUE(ws.veTable.lowDensityMapPresent);
  EXPECT_EQ(ws.veTable.ve, before.ve);
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
  ASSERT_TRUE(importVeMapFile(ws, real("vex/max200501062134.vex"), log).loaded);
  const auto& t = ws.veTable;
  EXPECT_EQ(t.sizeRpm, 8);
  EXPECT_EQ(t.sizeMap, 8);
  const std::array<std::int16_t, 8> rpm{500, 1000, 1500, 2000, 3000, 4000, 5000, 7000};
  const std::array<std::int16_t, 8> map{30, 40, 50, 70, 90, 110, 170, 250};
  const std::array<std::array<int, 8>, 8> rows{{{19, 16, 19, 20, 23, 23, 24, 25},
                                                {17, 14, 25, 27, 30, 30, 30, 30},
                                                {18, 24, 36, 40, 44, 45, 45, 45},
                                                {60, 56, 52, 51, 54, 58, 62, 62},
                                                {92, 75, 72, 63, 67, 70, 66, 66},
                                                {100, 88, 83, 75, 78, 82, 83, 83},
                                                {110, 101, 96, 100, 100, 100, 100, 100},
                                                {127, 120, 120, 120, 120, 120, 120, 120}}};
  for (std::size_t k = 0; k < 8; ++k) {
    EXPECT_EQ(t.rpmBins[k], rpm[k]);
    EXPECT_EQ(t.mapBins[k], map[k]);
    for (std::size_t r = 0; r < 8; ++r) EXPECT_EQ(t.ve[r][k], rows[k][r]) << r << "," << k;
  }
  // And it survives an export / import round trip unchanged.
  ASSERT_TRUE(exportVeMapFile(ws, path("again.vex"), log));
  workspace::Workspace again;
  again.veTable.setStartupBins();
  ASSERT_TRUE(importVeMapFile(again, path("again.vex"), log).loaded);
  EXPECT_EQ(again.veTable.ve, t.ve);
  EXPECT_EQ(again.veTable.mapBins, t.mapBins);
  EXPECT_EQ(again.veTable.rpmBins, t.rpmBins);
}

TEST_F(RealVeFiles, EveryExchangeAndMsqFileReadsWithoutHarm) {
  for (const char* folder : {"vex", "msq"}) {
    for (const auto& entry : fs::directory_iterator(fs::path(TALLIMAR_REAL_DATA_DIR) / folder)) {
      workspace::Workspace one;
      one.veTable.setStartupBins();
      const auto before = one.veTable;
      common::VectorStatusLog lines;
      const bool loaded = importVeMapFile(one, entry.path().string(), lines).loaded;
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
  EXPECT_FALSE(importVeMapFile(ws, real("vex/3S-GTEbasetiming.vex"), log).loaded);
  EXPECT_EQ(log.lines[log.lines.size() - 2], "VE map file: RPM size 21 is outside 1 to 16");
  // Twelve bins each way: the sizes come from the file.
  ASSERT_TRUE(importVeMapFile(ws, real("vex/ign.vex"), log).loaded);
  EXPECT_EQ(ws.veTable.sizeRpm, 12);
  EXPECT_EQ(ws.veTable.mapBins[11], 200);
  EXPECT_EQ(ws.veTable.rpmBins[1], 800);
  // An empty MSQ file is refused; a binary one reads its first line only.
  EXPECT_FALSE(importVeMapFile(ws, real("msq/zoo.msq"), log).loaded);
  EXPECT_TRUE(importVeMapFile(ws, real("msq/megasquirt.msq"), log).loaded);
  EXPECT_EQ(ws.veTable.sizeRpm, 12);
}

}  // namespace
}  // namespace tallimar::files
