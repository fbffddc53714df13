// The floating read-out of the VE plot and the filtering preview.
#include "plot/read_out.h"

#include <gtest/gtest.h>

#include <tuple>

#include "plot/colour_scale.h"
#include "plot/spline_view.h"
#include "workspace/view_inputs.h"

namespace tallimar::plot {
namespace {

class ReadOut : public ::testing::Test {
 protected:
  ReadOut() {
    ws.settings.mapMax = 100;
    ws.rawMap.at(25, 50).average = 61;
    ws.rawMap.at(26, 50).average = 77;
    ws.filteredMap.at(25, 50) = 62.5f;
  }
  std::string text(VeView view, double x, double y) const {
    return readOutText(view, workspace::viewInputs(ws), x, y).value_or("(none)");
  }
  workspace::Workspace ws;
};

TEST_F(ReadOut, RoundsTheMousePositionHalvesToEvenAndReadsZeroOffTheGrid) {
  // 25.5 goes to 26 and MAP 50.5 to 50 (halves to the even neighbour); the filtered view shows
  // its single value in shortest form; off the grid reads 0; only the raw and filtered views
  // have a read-out.
  using V = VeView;
  const struct {
    VeView view;
    double x, y;
    const char* text;
  } cases[] = {{V::RawDatalog, 2549, 50, "VE=61\r\nMAP=50\r\nRPM=2500"},
               {V::RawDatalog, 2551, 50, "VE=77\r\nMAP=50\r\nRPM=2600"},
               {V::RawDatalog, 2550, 49.5, "VE=77\r\nMAP=50\r\nRPM=2600"},
               {V::RawDatalog, 2450, 50.5, "VE=0\r\nMAP=50\r\nRPM=2400"},
               {V::FilteredDatalog, 2500, 50, "VE=62.5\r\nMAP=50\r\nRPM=2500"},
               {V::RawDatalog, -300, 50, "VE=0\r\nMAP=50\r\nRPM=-300"},
               {V::FilteredDatalog, 20000, -200, "VE=0\r\nMAP=300\r\nRPM=20000"},
               {V::RawDatalog, 15049, 100, "VE=0\r\nMAP=0\r\nRPM=15000"},
               {V::LowDensityMap, 2500, 50, "(none)"},
               {V::FilteredRawDelta, 2500, 50, "(none)"}};
  for (const auto& c : cases) EXPECT_EQ(text(c.view, c.x, c.y), c.text) << c.x << " " << c.y;
}

TEST(ReadOutPlacement, DegenerateSurfaceScaleStaysFinite) {
  DrawList surface;
  surface.widthTwips = 5235;
  surface.heightTwips = 2655;
  surface.scale = {1200, 0, 0, 100};
  const TwipsPoint p = readOutTopLeft(surface, 1000, 500, 5600, 50);
  EXPECT_DOUBLE_EQ(p.x, 1200);
  EXPECT_DOUBLE_EQ(p.y, 220);
}

TEST(SplineView, ShowsTheControlPolygonInRedAndTheCurveInBlackOverTheActiveMapBins) {
  vemap::VeTable t;
  t.setStartupBins();  // MAP bins 10..80 active
  settings::Settings s;
  const std::vector<CurvePoint> control{{20, 50}, {40, 60}, {60, 55}};
  const std::vector<CurvePoint> curve{{20, 50}, {30, 56}, {45, 58}, {60, 55}};
  const DrawList v = splineView(FilterStep::AlongMap, control, curve, t, s);
  EXPECT_DOUBLE_EQ(v.scale.width, 70);
  ASSERT_EQ(itemsOfKind<Circle>(v).size(), 3u);
  int red = 0, black = 0;
  for (const Line& l : itemsOfKind<Line>(v)) {
    red += l.colour == Rgb{255, 0, 0};
    black += l.colour == Rgb{0, 0, 0};
  }
  EXPECT_EQ(red, 2);
  EXPECT_EQ(black, 3);
  EXPECT_DOUBLE_EQ(splineView(FilterStep::AlongRpm, control, {}, t, s).scale.width, 100);
  EXPECT_GT(splineView(FilterStep::AlongMap, {{20, 170}}, {}, t, s).scale.top, 170);
}

TEST(SplineView, CurvePointBoxesSitAtTheirRpmAndMapInTheirVeColour) {
  settings::Settings s;  // 1200..10000 rev/min, 100 kPa
  const Box column = filterCurvePointBox(FilterStep::AlongMap, 30, {62.5, 71.2}, s);
  EXPECT_EQ(std::tuple(column.x1, column.y1, column.fill),
            std::tuple(3000.0, 37.5, veColour(71.2)));
  const Box row = filterCurvePointBox(FilterStep::AlongRpm, 40, {31.5, 55}, s);
  EXPECT_EQ(std::pair(row.x1, row.y1), std::pair(3150.0, 60.0));
}

}  // namespace
}  // namespace tallimar::plot
