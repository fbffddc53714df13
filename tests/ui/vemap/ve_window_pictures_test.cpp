// Pictures of the window, every view after filtering, and its dialogs (see ui/pictures.h).
#include "ui/pictures.h"
#include "ve_window_fixture.h"

namespace tallimar::ui::testing {
namespace {

TEST_F(VeWindowTest, Pictures) {
  if (!picturesWanted()) GTEST_SKIP() << "TALLIMAR_SCREENSHOT_DIR not set";
  setTable(ws.veTable, 16, 16);
  savePicture(&open(), "window_16x16");
  withRawMap();
  setTable(ws.veTable, 8, 8);
  open();
  QSignalSpy filtered(window.get(), &VeMapWindow::filteringFinished);
  button("cmdFilterRawDatalog")->click();
  ASSERT_TRUE(filtered.count() > 0 || filtered.wait(20000));
  button("cmdCalculateMap")->click();
  for (int k = 0; k < plot::kVeViewCount; ++k) {
    view(k)->click();
    savePicture(window.get(), QStringLiteral("view_%1").arg(k));
  }
  for (const auto& [menuEntry, name] :
       {std::pair{"mnuScaleMap", "frmScaleVE"}, std::pair{"mnuCreateWBMap", "frmVEAFR"},
        std::pair{"mnuUserInfo", "frmUserInfo"}, std::pair{"mnuFuelPressure", "frmFuelPressure"},
        std::pair{"mnuCalculatePW", "frmFuelRequirement"}}) {
    entry(menuEntry)->trigger();
    savePicture(window->findChild<QWidget*>(name), QString::fromLatin1(name));
    if (QWidget* shown = window->findChild<QWidget*>(name)) shown->close();
  }
}

}  // namespace
}  // namespace tallimar::ui::testing
