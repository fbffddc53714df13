// The window's "Open LD Map" and "Save LD Map" on a real tune file: the grid shows the
// tune's table, and an edited table goes back into a copy of the tune.
#include <QDir>
#include <filesystem>

#include "common/text_lines.h"
#include "files/xml_tune.h"
#include "ve_window_fixture.h"

namespace tallimar::ui::testing {
namespace {

using Lines = std::vector<std::string>;

TEST_F(VeWindowTest, LargestRealTuneOpensEditsAndSavesBack) {
  const auto tunePath =
      std::filesystem::path(TALLIMAR_REAL_DATA_DIR) / "msq" / "CurrentTune__MX5_ECU.msq";
  if (!std::filesystem::exists(tunePath)) GTEST_SKIP() << "real sample files not present";
  std::string base;
  ASSERT_TRUE(common::readWholeFile(tunePath.string(), base, files::kMaxTuneFileBytes));
  const auto expected = files::readTuneVeTable(base);
  ASSERT_TRUE(expected);

  withRawMap();
  open();
  prompts.openAnswers = {{tunePath.string()}};
  entry("mnuImport")->trigger();
  const Lines lines = window->statusLines();
  const auto read = std::find(lines.begin(), lines.end(), "Importing MegaTune Dump File");
  ASSERT_GE(std::distance(read, lines.end()), 3) << ::testing::PrintToString(lines);
  EXPECT_EQ(Lines(read, read + 3),
            (Lines{"Importing MegaTune Dump File",
                   "Tune constants read: veTable1 (16 x 16), frpm_table1, fmap_table1",
                   "Finished Loading"}));
  for (int k : {0, 7, 15}) {
    EXPECT_EQ(rpmBin(k)->text(), QString::number(expected->rpmBins[static_cast<std::size_t>(k)]));
    EXPECT_EQ(mapBin(k)->text(), QString::number(expected->mapBins[static_cast<std::size_t>(k)]));
  }
  EXPECT_EQ(ve(15 * 16 + 15)->text(), QString::number(expected->ve[15][15]));
  EXPECT_EQ(ve(3 * 16 + 2)->text(), QString::number(expected->ve[3][2]));

  const QString dir = qEnvironmentVariable("TALLIMAR_SCREENSHOT_DIR");
  if (!dir.isEmpty()) {
    QDir().mkpath(dir);
    view(0)->click();  // the table itself, over the raw data map's view
    QApplication::processEvents();
    EXPECT_TRUE(window->grab().save(dir + "/window_tune_16x16.png"));
  }

  // One cell edited, then saved into a new tune made from the same base.
  typeAndLeave(ve(3 * 16 + 2), "99", ve(0));
  const QString saved = folder.filePath("corrected.msq");
  prompts.saveAnswers = {saved.toStdString()};
  prompts.openAnswers = {{tunePath.string()}};
  entry("mnuExportMap")->trigger();
  EXPECT_EQ(window->statusLines().back(), "Finished Exporting");
  std::string written;
  ASSERT_TRUE(common::readWholeFile(saved.toStdString(), written, files::kMaxTuneFileBytes));
  const auto back = files::readTuneVeTable(written);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->ve[3][2], 99);
  auto unchanged = *expected;
  unchanged.ve[3][2] = 99;
  EXPECT_EQ(back->ve, unchanged.ve);
  EXPECT_EQ(written.size(), base.size());  // "99.0" takes the place of a four-character number
}

}  // namespace
}  // namespace tallimar::ui::testing
