// The main window's raw data map plot, checked as a display list.
#include "plot/raw_map_plot.h"

#include <gtest/gtest.h>

#include <array>

#include "engine/raw_data_map.h"

namespace tallimar::plot {
namespace {

settings::Settings plotSettings() {
  settings::Settings s;
  s.rpmMin = 1200;
  s.rpmMax = 10000;
  s.mapMax = 100;
  return s;
}

// VE 65 at (30, 80) is a teal box one kPa high hanging below its MAP; negative averages,
// RPM index 0 and MAP 0 are never drawn.
TEST(RawMapPlot, DrawsPositiveCellsOffTheGridEdgesAsBoxesBelowTheirMap) {
  engine::RawDataMap raw;
  raw.at(30, 80).average = 65;
  raw.at(24, 30).average = -7;
  raw.at(0, 30).average = 50;
  raw.at(25, 0).average = 50;
  const DrawList list = rawMapPlot(raw, plotSettings());
  ASSERT_EQ(list.size(), 1u);
  const Box box = std::get<Box>(list.items[0]);
  EXPECT_EQ(box.fill, (Rgb{0, 128, 128}));
  EXPECT_EQ((std::array{box.x1, box.y1, box.y2}), (std::array{30.0, 20.0, 21.0}));
  EXPECT_NEAR(box.x2, 31.96, 0.005);
}

TEST(RawMapPlot, CellsOutsideTheSettingsRangeAreListedOffTheSurface) {
  engine::RawDataMap raw;
  raw.at(5, 50).average = 40;     // 500 rev/min, below RPMMin
  raw.at(60, 150).average = 40;   // 150 kPa, above MAPMax
  raw.at(150, 256).average = 40;  // the last cell of the grid
  const DrawList list = rawMapPlot(raw, plotSettings());
  const auto boxes = itemsOfKind<Box>(list);
  ASSERT_EQ(boxes.size(), 3u);
  // MAP is the outer loop: the 50 kPa cell comes first.
  EXPECT_LT(boxes[0].x2, list.scale.left);
  EXPECT_LT(boxes[1].y2, 0);  // above the top edge
  EXPECT_DOUBLE_EQ(boxes[2].x1, 150);
  EXPECT_DOUBLE_EQ(boxes[2].y1, -156);
}

}  // namespace
}  // namespace tallimar::plot
