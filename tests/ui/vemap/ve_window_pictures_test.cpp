// Pictures of the window and its dialogs for a person to look at, written as PNG files to the
// folder named by TALLIMAR_SCREENSHOT_DIR (skipped when it is not set).
#include <QDir>

#include "commands/ve_map_commands.h"
#include "ve_window_fixture.h"

namespace tallimar::ui::testing {
namespace {

TEST_F(VeWindowTest, Pictures) {
  const QString dir = qEnvironmentVariable("TALLIMAR_SCREENSHOT_DIR");
  if (dir.isEmpty()) GTEST_SKIP() << "TALLIMAR_SCREENSHOT_DIR not set";
  QDir().mkpath(dir);
  auto save = [&](QWidget* widget, const QString& name) {
    QApplication::processEvents();
    ASSERT_NE(widget, nullptr) << name.toStdString();
    EXPECT_TRUE(widget->grab().save(dir + "/" + name + ".png")) << name.toStdString();
  };
  setTable(ws.veTable, 16, 16);
  save(&open(), "window_16x16");
  withRawMap();
  setTable(ws.veTable, 8, 8);
  open();
  filter();
  button("cmdCalculateMap")->click();
  for (int k = 0; k < plot::kVeViewCount; ++k) {
    view(k)->click();
    save(window.get(), QStringLiteral("view_%1").arg(k));
  }
  for (const auto& [menuEntry, name] :
       {std::pair{"mnuScaleMap", "frmScaleVE"}, std::pair{"mnuCreateWBMap", "frmVEAFR"},
        std::pair{"mnuUserInfo", "frmUserInfo"}, std::pair{"mnuFuelPressure", "frmFuelPressure"},
        std::pair{"mnuCalculatePW", "frmFuelRequirement"}}) {
    entry(menuEntry)->trigger();
    QApplication::processEvents();
    QWidget* shown = window->findChild<QWidget*>(name);
    save(shown, QString::fromLatin1(name));
    if (shown) shown->close();
  }
}

}  // namespace
}  // namespace tallimar::ui::testing
