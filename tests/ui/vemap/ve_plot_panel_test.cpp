// The plot area of the "Modify VE Map" window: view choice and legends, bin dragging, the
// eraser and the floating read-out, driven in plot units as the surface reports the mouse.
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
  QImage picture() const { return surface().grab().toImage(); }
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

TEST_F(PlotPanelTest, ViewsChooseTheirLegendEraserAndMiniLegend) {
  withRawMap();
  setTable(ws.veTable, 8, 8);
  open();
  EXPECT_TRUE(shown("frmKeyChromatic"));
  EXPECT_FALSE(shown("frmKeyChromaticDelta"));
  check("chkEraseData")->click();
  view(3)->click();
  EXPECT_FALSE(shown("frmKeyChromatic"));
  EXPECT_TRUE(shown("frmKeyChromaticDelta"));
  EXPECT_FALSE(check("chkEraseData")->isEnabled());
  EXPECT_FALSE(check("chkEraseData")->isChecked());
  EXPECT_FALSE(check("chkMiniLegend")->isEnabled());
  EXPECT_EQ(window->statusLines().back(), "Finished Plotting");
}

TEST_F(PlotPanelTest, DraggedBinsLandOnWholeHundredsAndKpaAndThePlotIsRestored) {
  setTable(ws.veTable, 8, 8);  // RPM bin 1 = 2600, MAP bin 3 = 54
  open();
  button("cmdRefreshPlotWindow")->click();
  const QImage before = picture();
  const auto flags = std::pair{ws.veTable.lowDensityMapPresent, ws.veTable.filteredMapPresent};
  const std::size_t lines = window->statusLines().size();

  move(2650, 25);
  EXPECT_EQ(pointer(), Qt::SizeHorCursor);
  EXPECT_TRUE(window->grid().isBold(K::RpmBin, 1));
  move(2549, 25, Qt::LeftButton);
  EXPECT_EQ(ws.veTable.rpmBins[1], 2500);
  EXPECT_EQ(rpmBin(1)->text(), "2500");
  EXPECT_NE(picture(), before);
  move(2551, 25, Qt::LeftButton);

  move(4300, 54.5);
  EXPECT_EQ(pointer(), Qt::SizeVerCursor);
  EXPECT_FALSE(window->grid().isBold(K::RpmBin, 1));
  EXPECT_TRUE(window->grid().isBold(K::MapBin, 3));
  move(4300, 55.5, Qt::LeftButton);
  EXPECT_EQ(ws.veTable.mapBins[3], 56);  // 55.5 rounds to the even 56
  move(4300, 54.6, Qt::LeftButton);
  EXPECT_EQ(ws.veTable.mapBins[3], 55);
  move(4300, 53.5, Qt::LeftButton);
  EXPECT_EQ(ws.veTable.mapBins[3], 54);

  move(2600, 54);  // where both lines cross
  EXPECT_EQ(pointer(), Qt::SizeAllCursor);
  EXPECT_TRUE(window->grid().isBold(K::Ve, 16 * 1 + 3));
  move(5500, 70);
  EXPECT_EQ(pointer(), Qt::ArrowCursor);
  EXPECT_FALSE(window->grid().isBold(K::Ve, 16 * 1 + 3));

  // Both bins are back where they were and the plot under the lines is as it was drawn.
  EXPECT_EQ(picture(), before);
  EXPECT_EQ(std::pair(ws.veTable.lowDensityMapPresent, ws.veTable.filteredMapPresent), flags);
  EXPECT_EQ(window->statusLines().size(), lines);

  // Bins beyond the table's size cannot be grabbed.
  ws.veTable.sizeMap = 4;  // MAP bins 20, 31, 42, 54 stay active
  ws.veTable.mapBins[5] = 80;
  move(6600, 80, Qt::LeftButton);
  EXPECT_EQ(ws.veTable.mapBins[5], 80);
  EXPECT_EQ(pointer(), Qt::ArrowCursor);
}

TEST_F(PlotPanelTest, EraserClearsAverageAndMedianButKeepsTheValues) {
  setRaw(30, 50, 60, "60,58");
  setRaw(31, 50, 1, "1");
  setRaw(32, 50, 70, "70");
  setRaw(33, 50, 50, "50");
  open();
  ASSERT_TRUE(view(1)->isChecked());
  check("chkEraseData")->click();

  press(3050, 50.5);
  EXPECT_EQ(ws.rawMap.at(30, 50).average, 0);
  EXPECT_EQ(ws.rawMap.at(30, 50).median, 0);
  EXPECT_EQ(ws.rawMap.at(30, 50).values, "60,58");
  const auto boxes = plot::itemsOfKind<plot::Box>(surface().drawList());
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.back().fill, (plot::Rgb{255, 255, 255}));

  move(3150, 50.5, Qt::LeftButton);  // Average 1: nothing to erase, by drag or by press
  EXPECT_EQ(pointer(), Qt::UpArrowCursor);
  press(3150, 50.5);
  EXPECT_EQ(ws.rawMap.at(31, 50).average, 1);
  move(3350, 50.5);  // data under the eraser, button up
  EXPECT_EQ(pointer(), Qt::BitmapCursor);
  EXPECT_EQ(ws.rawMap.at(33, 50).average, 50);
  move(3250, 50.9, Qt::LeftButton);
  EXPECT_EQ(ws.rawMap.at(32, 50).average, 0);
  EXPECT_EQ(ws.rawMap.at(32, 50).values, "70");
  // Outside the data grid nothing is read or written.
  move(20000, 50, Qt::LeftButton);
  press(-500, 300);
  EXPECT_EQ(pointer(), Qt::UpArrowCursor);
  // With the eraser on, bin lines are not grabbed.
  move(ws.veTable.rpmBins[2], 40, Qt::LeftButton);
  EXPECT_FALSE(window->grid().isBold(K::RpmBin, 2));
}

TEST_F(PlotPanelTest, ReadOutFollowsTheMouseInTheViewsThatHaveOne) {
  setRaw(26, 50, 64);
  ws.filteredMap.at(25, 50) = 62.5f;
  open();
  ReadOutBox& readOut = window->plotPanel().readOut();
  EXPECT_FALSE(readOut.isVisible());
  check("chkMiniLegend")->click();
  EXPECT_TRUE(readOut.isVisible());

  move(2551, 50.5);
  EXPECT_EQ(readOut.text(), "VE=64\r\nMAP=50\r\nRPM=2600");

  ws.veTable.filteredMapPresent = true;
  window->VEPlotViewButtons();
  view(2)->click();  // the filtered view reads its own map
  move(2549, 50.5);
  EXPECT_EQ(readOut.text(), "VE=62.5\r\nMAP=50\r\nRPM=2500");
  view(5)->setEnabled(true);
  view(5)->click();  // a delta view has no read-out
  EXPECT_FALSE(readOut.isVisible());
  EXPECT_FALSE(check("chkMiniLegend")->isEnabled());
}

}  // namespace
}  // namespace tallimar::ui::testing
