// The floating read-out of the VE plot and the filtering preview.
#include "plot/read_out.h"

#include <gtest/gtest.h>

#include <tuple>

#include "plot/colour_scale.h"
#include "plot/spline_view.h"
#include "workspace/view_inputs.h"

namespace tallimar::plot {
namespace {

// The mouse position rounds halves to even (RPM 24.5 -> 24, 25.5 -> 26; MAP 50.5 -> 50); the
// filtered view shows its value in shortest form; off the grid reads 0; only the raw and
// filtered views have a read-out.
TEST(ReadOut, RoundsTheMousePositionHalvesToEvenAndReadsZeroOffTheGrid) {
  workspace::Workspace ws;
  ws.settings.mapMax = 100;
  ws.rawMap.at(25, 50).average = 61;
  ws.rawMap.at(26, 50).average = 77;
  ws.filteredMap.at(25, 50) = 62.5f;
  using V = VeView;
  const struct {
    VeView view;
    double x, y;
    const char* text;
  } cases[] = {{V::RawDatalog, 2549, 50, "VE=61\r\nMAP=50\r\nRPM=2500"},
               {V::RawDatalog, 2550, 49.5, "VE=77\r\nMAP=50\r\nRPM=2600"},
               {V::RawDatalog, 2450, 50.5, "VE=0\r\nMAP=50\r\nRPM=2400"},
               {V::FilteredDatalog, 2500, 50, "VE=62.5\r\nMAP=50\r\nRPM=2500"},
               {V::RawDatalog, -300, 50, "VE=0\r\nMAP=50\r\nRPM=-300"},
               {V::RawDatalog, 15049, 100, "VE=0\r\nMAP=0\r\nRPM=15000"},
               {V::LowDensityMap, 2500, 50, "(none)"}};
  for (const auto& c : cases)
    EXPECT_EQ(readOutText(c.view, workspace::viewInputs(ws), c.x, c.y).value_or("(none)"), c.text)
        << c.x << " " << c.y;
}

TEST(ReadOutPlacement, DegenerateSurfaceScaleStaysFinite) {
  DrawList surface;
  surface.scale = {1200, 0, 0, 100};
  const TwipsPoint p = readOutTopLeft(surface, 1000, 500, 5600, 50);
  EXPECT_EQ(std::pair(p.x, p.y), std::pair(1200.0, 220.0));
}

// Red control polygon and black curve over the active MAP bins (10..80) in step 1, over the
// RPM range in step 2; the VE axis grows to fit; curve point boxes swap RPM and MAP by step.
TEST(SplineView, ControlPolygonRedCurveBlackOverTheStepsAxis) {
  vemap::VeTable t;
  t.setStartupBins();
  settings::Settings s;
  const std::vector<CurvePoint> control{{20, 50}, {40, 60}, {60, 55}};
  const DrawList v =
      splineView(FilterStep::AlongMap, control, {{20, 50}, {30, 56}, {60, 55}}, t, s);
  EXPECT_DOUBLE_EQ(v.scale.width, 70);
  EXPECT_EQ(itemsOfKind<Circle>(v).size(), 3u);
  int red = 0, black = 0;
  for (const Line& l : itemsOfKind<Line>(v)) {
    red += l.colour == Rgb{255, 0, 0};
    black += l.colour == Rgb{0, 0, 0};
  }
  EXPECT_EQ(std::pair(red, black), std::pair(2, 2));
  EXPECT_DOUBLE_EQ(splineView(FilterStep::AlongRpm, control, {}, t, s).scale.width, 100);
  EXPECT_GT(splineView(FilterStep::AlongMap, {{20, 170}}, {}, t, s).scale.top, 170);
  const Box column = filterCurvePointBox(FilterStep::AlongMap, 30, {62.5, 71.2}, s);
  EXPECT_EQ(std::tuple(column.x1, column.y1, column.fill),
            std::tuple(3000.0, 37.5, veColour(71.2)));
  const Box row = filterCurvePointBox(FilterStep::AlongRpm, 40, {31.5, 55}, s);
  EXPECT_EQ(std::pair(row.x1, row.y1), std::pair(3150.0, 60.0));
}

}  // namespace
}  // namespace tallimar::plot
