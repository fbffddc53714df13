// PlotWidget: what it shows, drawing over it, and mouse positions in plot units.
#include "ui/plot/plot_widget.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

namespace tallimar::ui {
namespace {

using plot::Rgb;

// The colour at a logical position, whatever the screen's pixel density.
QColor at(PlotWidget& w, int x, int y) {
  const QImage image = w.grab().toImage();
  const double ratio = image.devicePixelRatio();
  return image.pixelColor(static_cast<int>(x * ratio), static_cast<int>(y * ratio));
}

plot::DrawList plotOfTen() {
  plot::DrawList list;
  list.widthTwips = 1500;
  list.heightTwips = 1500;
  list.scale = {1000, 10, 1000, -10};  // rev/min 1000..2000, MAP 0..10 rising upwards
  list.add(plot::Box{1000, 0, 1500, 5, Rgb{0, 128, 128}});
  return list;
}

TEST(PlotWidget, ShowsItsListAndDrawsAddedItemsOverIt) {
  PlotWidget w;
  w.resize(100, 100);
  w.setDrawList(plotOfTen());
  EXPECT_EQ(at(w, 25, 75), QColor(0, 128, 128));
  w.addItems({plot::Line{1250.5, 0, 1250.5, 10, Rgb{0, 0, 0}, 1, plot::PenMode::MergePenNot}});
  EXPECT_EQ(at(w, 25, 75), QColor(255, 127, 127));  // inverted teal
  EXPECT_EQ(at(w, 25, 25), QColor(0, 0, 0));
  // A resize paints the whole list again, added items included.
  w.resize(200, 200);
  EXPECT_EQ(at(w, 50, 150), QColor(255, 127, 127));
  w.setDrawList(plot::DrawList{});
  EXPECT_EQ(at(w, 50, 150), QColor(255, 255, 255));
}

TEST(PlotWidget, ReportsMousePositionsInPlotUnits) {
  PlotWidget w;
  w.resize(100, 100);
  w.setDrawList(plotOfTen());
  EXPECT_EQ(w.toUser(QPointF(25, 75)), QPointF(1250, 2.5));
  EXPECT_EQ(w.toWidget(1500, 5), QPointF(50, 50));
  QSignalSpy moved(&w, &PlotWidget::userMouseMoved);
  QSignalSpy pressed(&w, &PlotWidget::userMousePressed);
  QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(50, 20));
  QTest::mouseMove(&w, QPoint(10, 90));
  ASSERT_EQ(pressed.count(), 1);
  EXPECT_DOUBLE_EQ(pressed.at(0).at(0).toDouble(), 1500);
  EXPECT_DOUBLE_EQ(pressed.at(0).at(1).toDouble(), 8);
  ASSERT_GE(moved.count(), 1);
  EXPECT_DOUBLE_EQ(moved.last().at(0).toDouble(), 1100);
  EXPECT_DOUBLE_EQ(moved.last().at(1).toDouble(), 1);
}

}  // namespace
}  // namespace tallimar::ui
