// Mouse work on the plot surface through real mouse events: bin dragging, and leaving the
// surface clearing the read-out and the bold cells (but not while a bin is held).
#include "ve_window_fixture.h"

namespace tallimar::ui::testing {
namespace {

using K = GridCellKind;

class PlotMouseTest : public VeWindowTest {
 protected:
  // The surface pixel of a point given in rev/min and kPa.
  QPoint at(double rpm, double map) const {
    return surface().toWidget(rpm, ws.settings.mapMax - map).toPoint();
  }
  void motion(QPoint where, Qt::MouseButtons buttons) {
    QMouseEvent event(QEvent::MouseMove, QPointF(where), surface().mapToGlobal(QPointF(where)),
                      Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&surface(), &event);
  }
  void leave() {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&surface(), &event);
  }
  // Presses at one point, makes one motion to another and releases there.
  void drag(QPoint from, QPoint to) {
    QTest::mousePress(&surface(), Qt::LeftButton, {}, from);
    motion(to, Qt::LeftButton);
    QTest::mouseRelease(&surface(), Qt::LeftButton, {}, to);
  }
  Qt::CursorShape pointer() const { return surface().cursor().shape(); }
};

// Bins land on whole hundreds of rev/min and whole kPa; a bin picked on press follows one
// motion far past the grab distance and onto other bins' lines, which must not be taken.
TEST_F(PlotMouseTest, PickedBinsFollowOneFarMotionAndTheLinesRestoreThePlot) {
  setTable(ws.veTable, 8, 8);  // RPM bins 1500, 2600, 3700, ...; MAP bins 20, 31, 42, ...
  open();
  button("cmdRefreshPlotWindow")->click();
  const QImage before = surface().grab().toImage();

  drag(at(2600, 60), at(6610, 60));
  EXPECT_EQ(ws.veTable.rpmBins[1], 6600);
  EXPECT_EQ(rpmBin(1)->text(), "6600");
  drag(at(6600, 60), at(2600, 60));  // back: the lines drawn over the old place undo it
  EXPECT_EQ(surface().grab().toImage(), before);

  motion(at(2600, 42), Qt::NoButton);  // where RPM bin 1 and MAP bin 2 cross
  EXPECT_EQ(pointer(), Qt::SizeAllCursor);
  EXPECT_TRUE(window->grid().isBold(K::Ve, 1 * 16 + 2));
  drag(at(2600, 42), at(3090, 77.1));
  EXPECT_EQ(ws.veTable.rpmBins[1], 3100);
  EXPECT_EQ(ws.veTable.mapBins[2], 77);
  motion(at(9000, 95), Qt::NoButton);  // after the release nothing is held
  EXPECT_EQ(ws.veTable.rpmBins[1], 3100);

  ws.veTable.sizeMap = 4;  // bins beyond the table's size cannot be grabbed
  drag(at(5500, 65), at(5500, 90));
  EXPECT_EQ(ws.veTable.mapBins[4], 65);
}

TEST_F(PlotMouseTest, LeavingClearsTheReadOutAndBoldCellsUnlessABinIsHeld) {
  withRawMap();
  setTable(ws.veTable, 8, 8);
  open();  // "Raw Datalog" is selected: the read-out may be shown
  check("chkMiniLegend")->click();
  motion(at(2600, 31), Qt::NoButton);  // over the crossing of two bin lines
  leave();
  EXPECT_EQ(
      std::pair(window->plotPanel().readOut().isHidden(), window->grid().isBold(K::RpmBin, 1)),
      std::pair(true, false));
  QTest::mousePress(&surface(), Qt::LeftButton, {}, at(2600, 50));
  leave();  // a drag leaving the surface keeps its bin
  EXPECT_TRUE(window->grid().isBold(K::RpmBin, 1));
  const QPoint outside(surface().width() + 20, surface().height() / 2);
  motion(outside, Qt::LeftButton);
  QTest::mouseRelease(&surface(), Qt::LeftButton, {}, outside);
  EXPECT_GT(ws.veTable.rpmBins[1], ws.settings.rpmMax);  // beyond the right edge
  EXPECT_FALSE(window->grid().isBold(K::RpmBin, 1));     // released outside: cleared
}

}  // namespace
}  // namespace tallimar::ui::testing
