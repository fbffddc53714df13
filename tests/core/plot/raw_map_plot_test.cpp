// The main window's raw data map plot, checked as a display list.
#include "plot/raw_map_plot.h"

#include <gtest/gtest.h>

#include <tuple>

#include "engine/raw_data_map.h"

namespace tallimar::plot {
namespace {

// VE 65 at (30, 80) is a teal box one kPa high below its MAP and 8800 / 4500 rev/min wide;
// negative averages, RPM index 0 and MAP 0 are never drawn; the grid's last cell is listed
// although it is off the surface.
TEST(RawMapPlot, DrawsPositiveCellsOffTheGridEdgesAsBoxesBelowTheirMap) {
  const settings::Settings s;  // 1200..10000 rev/min, 100 kPa
  engine::RawDataMap raw;
  raw.at(30, 80).average = 65;
  raw.at(24, 30).average = -7;
  raw.at(0, 30).average = 50;
  raw.at(25, 0).average = 50;
  raw.at(150, 256).average = 40;
  const DrawList list = rawMapPlot(raw, s);
  ASSERT_EQ(list.size(), 2u);
  const Box box = std::get<Box>(list.items[0]);
  EXPECT_EQ(std::tuple(box.fill, box.x1, box.y1, box.y2),
            std::tuple(Rgb{0, 128, 128}, 30.0, 20.0, 21.0));
  EXPECT_NEAR(box.x2, 31.96, 0.005);
  EXPECT_DOUBLE_EQ(std::get<Box>(list.items[1]).y1, -156);
}

}  // namespace
}  // namespace tallimar::plot
