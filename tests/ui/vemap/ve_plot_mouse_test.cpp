// Mouse work on the plot surface through real mouse events: a bin picked on press follows a
// quick drag whose motions jump far past the grab distance, and leaving the surface clears
// the read-out and the bold cells (but not while a bin is held).
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
};

TEST_F(PlotMouseTest, APickedBinFollowsOneFarMotionToItsSnappedPlace) {
  setTable(ws.veTable, 8, 8);  // RPM bins 1500, 2600, 3700, ...; MAP bins 20, 31, 42, ...
  open();
  struct Case {
    double pressMap, toRpm, toMap;
    std::int16_t rpmBin1, mapBin2;  // after the release
  };
  // Each press is on RPM bin 1's line where it stands (at a crossing with MAP bin 2's line
  // when pressMap is that bin). One motion goes far beyond the grab distance, and onto
  // other bins' lines, which must not be taken instead.
  for (const Case& c : {Case{60, 6610, 60, 6600, 42}, Case{42, 3090, 77.1, 3100, 77},
                        Case{77, 3100, 77, 3100, 77}}) {
    QTest::mousePress(&surface(), Qt::LeftButton, {}, at(ws.veTable.rpmBins[1], c.pressMap));
    motion(at(c.toRpm, c.toMap), Qt::LeftButton);
    QTest::mouseRelease(&surface(), Qt::LeftButton, {}, at(c.toRpm, c.toMap));
    EXPECT_EQ(ws.veTable.rpmBins[1], c.rpmBin1) << c.toRpm;
    EXPECT_EQ(ws.veTable.mapBins[2], c.mapBin2) << c.toMap;
    EXPECT_EQ(rpmBin(1)->text().toInt(), ws.veTable.rpmBins[1]);
  }
  // After the release nothing is held: a far motion with no button moves no bin.
  motion(at(9000, 95), Qt::NoButton);
  EXPECT_EQ(ws.veTable.rpmBins[1], 3100);
  EXPECT_EQ(ws.veTable.rpmBins[7], 9500);
}

TEST_F(PlotMouseTest, LeavingClearsTheReadOutAndBoldCellsUnlessABinIsHeld) {
  withRawMap();
  setTable(ws.veTable, 8, 8);
  open();  // "Raw Datalog" is selected: the read-out may be shown
  check("chkMiniLegend")->click();
  ReadOutBox& readOut = window->plotPanel().readOut();

  motion(at(2600, 31), Qt::NoButton);  // over the crossing of two bin lines
  EXPECT_FALSE(readOut.isHidden());
  EXPECT_TRUE(window->grid().isBold(K::Ve, 1 * 16 + 1));
  leave();
  EXPECT_TRUE(readOut.isHidden());
  EXPECT_FALSE(window->grid().isBold(K::RpmBin, 1));
  EXPECT_FALSE(window->grid().isBold(K::Ve, 1 * 16 + 1));

  motion(at(5000, 50), Qt::NoButton);  // back over the plot: the read-out returns
  EXPECT_FALSE(readOut.isHidden());

  QTest::mousePress(&surface(), Qt::LeftButton, {}, at(2600, 50));
  leave();  // a drag leaving the surface keeps its bin
  EXPECT_TRUE(window->grid().isBold(K::RpmBin, 1));
  EXPECT_FALSE(readOut.isHidden());
  const QPoint outside(surface().width() + 20, surface().height() / 2);
  motion(outside, Qt::LeftButton);
  QTest::mouseRelease(&surface(), Qt::LeftButton, {}, outside);
  const double releasedRpm = surface().toUser(QPointF(outside)).x();  // beyond the right edge
  EXPECT_EQ(ws.veTable.rpmBins[1], 100 * std::nearbyint(releasedRpm / 100));
  EXPECT_FALSE(window->grid().isBold(K::RpmBin, 1));  // released outside: cleared
  EXPECT_TRUE(readOut.isHidden());
}

}  // namespace
}  // namespace tallimar::ui::testing
