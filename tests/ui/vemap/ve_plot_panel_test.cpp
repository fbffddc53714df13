// The plot area of "Modify VE Map": the eraser, the read-out and the legends, driven in plot
// units as the surface reports the mouse.
#include "ve_window_fixture.h"

namespace tallimar::ui::testing {
namespace {

using K = GridCellKind;

class PlotPanelTest : public VeWindowTest {
 protected:
  void move(double x, double map, Qt::MouseButtons buttons = Qt::NoButton) {
    window->plotPanel().mouseMovedAt(x, ws.settings.mapMax - map, buttons);
  }
  void press(double x, double map) {
    window->plotPanel().mousePressedAt(x, ws.settings.mapMax - map);
  }
  Qt::CursorShape pointer() const { return surface().cursor().shape(); }
  bool shown(const char* frame) const {
    return window->findChild<QWidget*>(frame)->isVisibleTo(window.get());
  }
  void setRaw(int j, int i, std::int16_t average, const char* values = "") {
    auto& cell = ws.rawMap.at(j, i);
    cell.average = average;
    cell.median = average;
    cell.values = values;
    ws.rawDataMapPresent = true;
  }
};

// A cell with an average of 2 or more is erased by a press or a drag over it: its average
// and median go, its collected values stay.
TEST_F(PlotPanelTest, EraserClearsAverageAndMedianButKeepsTheValues) {
  setRaw(30, 50, 60, "60,58");
  setRaw(31, 50, 1, "1");
  setRaw(32, 50, 70, "70");
  open();
  ASSERT_TRUE(view(1)->isChecked());
  check("chkEraseData")->click();

  press(3050, 50.5);
  const engine::RawDataCell& erased = ws.rawMap.at(30, 50);
  EXPECT_EQ(std::tuple(erased.average, erased.median, erased.values),
            std::tuple(std::int16_t{0}, std::int16_t{0}, std::string("60,58")));

  move(3150, 50.5, Qt::LeftButton);  // Average 1: nothing to erase, by drag or by press
  press(3150, 50.5);
  EXPECT_EQ(ws.rawMap.at(31, 50).average, 1);
  move(3250, 50.9);  // data under the eraser, button up
  EXPECT_EQ(std::pair(pointer(), ws.rawMap.at(32, 50).average),
            std::pair(Qt::BitmapCursor, std::int16_t{70}));
  move(3250, 50.9, Qt::LeftButton);
  EXPECT_EQ(ws.rawMap.at(32, 50).average, 0);
  move(20000, 50, Qt::LeftButton);  // outside the data grid nothing is read or written
  EXPECT_EQ(pointer(), Qt::UpArrowCursor);
  move(ws.veTable.rpmBins[2], 40, Qt::LeftButton);  // with the eraser on, bins stay put
  EXPECT_FALSE(window->grid().isBold(K::RpmBin, 2));
}

// The raw view has the VE legend, the eraser and the read-out; a delta view has none of them.
TEST_F(PlotPanelTest, ReadOutLegendAndEraserFollowTheView) {
  setRaw(26, 50, 64);
  open();
  ReadOutBox& readOut = window->plotPanel().readOut();
  EXPECT_FALSE(readOut.isVisible());
  check("chkMiniLegend")->click();
  EXPECT_TRUE(readOut.isVisible());
  move(2551, 50.5);
  EXPECT_EQ(readOut.text(), "VE=64\r\nMAP=50\r\nRPM=2600");
  check("chkEraseData")->click();

  view(5)->setEnabled(true);
  view(5)->click();
  EXPECT_FALSE(readOut.isVisible());
  EXPECT_FALSE(check("chkMiniLegend")->isEnabled());
  EXPECT_TRUE(shown("frmKeyChromaticDelta"));
  EXPECT_FALSE(check("chkEraseData")->isEnabled() || check("chkEraseData")->isChecked());
}

}  // namespace
}  // namespace tallimar::ui::testing
