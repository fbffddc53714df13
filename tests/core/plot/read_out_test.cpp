// The floating read-out of the VE plot.
#include "plot/read_out.h"

#include <gtest/gtest.h>

#include "workspace/view_inputs.h"

namespace tallimar::plot {
namespace {

// The mouse position rounds halves to even (RPM 24.5 -> 24, 25.5 -> 26; MAP 50.5 -> 50); the
// filtered view shows its value in shortest form; off the grid reads 0; only the raw and
// filtered views have a read-out.
TEST(ReadOut, RoundsTheMousePositionHalvesToEvenAndReadsZeroOffTheGrid) {
  workspace::Workspace ws;
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

}  // namespace
}  // namespace tallimar::plot
