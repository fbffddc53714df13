// PlotWidget: what it shows, drawing over it, and mouse positions in plot units.
#include "ui/plot/plot_widget.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

namespace tallimar::ui {
namespace {

// The colour at a logical position, whatever the screen's pixel density.
QColor at(PlotWidget& w, int x, int y) {
  const QImage image = w.grab().toImage();
  const double ratio = image.devicePixelRatio();
  return image.pixelColor(static_cast<int>(x * ratio), static_cast<int>(y * ratio));
}

// rev/min 1000..2000 and MAP 0..10 rising upwards, teal below MAP 5 left of 1500 rev/min.
class PlotWidgetTest : public ::testing::Test {
 protected:
  PlotWidgetTest() {
    plot::DrawList list;
    list.widthTwips = list.heightTwips = 1500;
    list.scale = {1000, 10, 1000, -10};
    list.add(plot::Box{1000, 0, 1500, 5, plot::Rgb{0, 128, 128}});
    w.resize(100, 100);
    w.setDrawList(list);
  }
  PlotWidget w;
};

// Added items are drawn over the list and again after a resize; a new list replaces both.
TEST_F(PlotWidgetTest, ShowsItsListAndDrawsAddedItemsOverIt) {
  EXPECT_EQ(at(w, 25, 75), QColor(0, 128, 128));
  w.addItems({plot::Line{1250.5, 0, 1250.5, 10, {0, 0, 0}, 1, plot::PenMode::MergePenNot}});
  EXPECT_EQ(at(w, 25, 75), QColor(255, 127, 127));  // inverted teal
  w.resize(200, 200);
  EXPECT_EQ(at(w, 50, 150), QColor(255, 127, 127));
  w.setDrawList(plot::DrawList{});
  EXPECT_EQ(at(w, 50, 150), QColor(255, 255, 255));
}

TEST_F(PlotWidgetTest, ReportsMousePositionsInPlotUnits) {
  EXPECT_EQ(w.toWidget(1500, 5), QPointF(50, 50));
  QSignalSpy moved(&w, &PlotWidget::userMouseMoved);
  QSignalSpy pressed(&w, &PlotWidget::userMousePressed);
  QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(50, 20));
  QTest::mouseMove(&w, QPoint(10, 90));
  ASSERT_TRUE(pressed.count() == 1 && moved.count() >= 1);
  EXPECT_EQ(pressed.at(0).mid(0, 2), (QVariantList{1500.0, 8.0}));
  EXPECT_EQ(moved.last().mid(0, 2), (QVariantList{1100.0, 1.0}));
}

}  // namespace
}  // namespace tallimar::ui
