// The window's "Open LD Map" on the largest real tune file: the grid shows the tune's table.
#include <QDir>
#include <filesystem>

#include "common/text_lines.h"
#include "formats/xml_tune.h"
#include "ve_window_fixture.h"

namespace tallimar::ui::testing {
namespace {

std::string contents(const std::string& path) {
  auto bytes = common::readWholeFile(path, formats::kMaxTuneFileBytes);
  EXPECT_TRUE(bytes.ok()) << path;
  return bytes.ok() ? std::move(bytes).value() : std::string();
}

TEST_F(VeWindowTest, LargestRealTuneOpensIntoTheGrid) {
  const std::string tune =
      (std::filesystem::path(TALLIMAR_REAL_DATA_DIR) / "msq" / "CurrentTune__MX5_ECU.msq").string();
  if (!std::filesystem::exists(tune)) GTEST_SKIP() << "real sample files not present";
  const auto expected = formats::readTuneVeTable(contents(tune));
  ASSERT_TRUE(expected);

  open();
  prompts.openAnswers = {{tune}};
  entry("mnuImport")->trigger();
  EXPECT_EQ(window->statusLines().at(1),
            "Tune constants read: veTable1 (16 x 16), frpm_table1, fmap_table1");
  EXPECT_EQ(rpmBin(15)->text(), QString::number(expected->rpmBins[15]));
  EXPECT_EQ(mapBin(15)->text(), QString::number(expected->mapBins[15]));
  EXPECT_EQ(ve(15 * 16 + 14)->text(), QString::number(expected->ve[15][14]));
  const QString dir = qEnvironmentVariable("TALLIMAR_SCREENSHOT_DIR");
  if (!dir.isEmpty() && QDir().mkpath(dir)) {
    QApplication::processEvents();
    EXPECT_TRUE(window->grab().save(dir + "/window_tune_16x16.png"));
  }
}

}  // namespace
}  // namespace tallimar::ui::testing
