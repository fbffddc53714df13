// The six views of the VE plot surface, checked as display lists.
#include "plot/ve_views.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>

#include "core/plot/plot_fixtures.h"
#include "plot/report_page.h"
#include "plot/spline_view.h"

namespace tallimar::plot {
namespace {

using Lines = std::vector<std::string>;
constexpr Rgb kBlack{0, 0, 0}, kRed{255, 0, 0}, kNavy{0, 0, 128}, kDarkRed{128, 0, 0},
    kDarkGreen{0, 128, 0}, kGreen{0, 255, 0};

class VeViews : public ::testing::Test {
 protected:
  // Settings 1200..10000 rev/min and 100 kPa; table 8 x 8: 500..4000 rev/min, 10..80 kPa.
  VeViews() { ws.veTable.setStartupBins(); }
  void flatTable(std::int16_t ve) {
    for (auto& column : ws.veTable.ve) column.fill(ve);
  }
  ViewPlot plot(VeView view) const { return plotVeView(view, workspace::viewInputs(ws)); }
  std::vector<Rgb> fills(VeView view) const {
    std::vector<Rgb> out;
    for (const Box& b : itemsOfKind<Box>(plot(view).drawing)) out.push_back(b.fill);
    return out;
  }

  workspace::Workspace ws;
};

auto corners(const Box& b) { return std::tuple(b.x1, b.y1, b.x2, b.y2, b.fill); }

// Views 1, 2 and 5 draw a box one kPa high and 176 rev/min wide above its MAP for each cell:
// by VE above zero in the raw and filtered views, and in view 5 by filtered - raw, black
// where only one map has the cell; the bin lines follow in black MergePenNot.
TEST_F(VeViews, CellViewsColourEachCellThenDrawTheBinLines) {
  ws.rawMap.at(30, 80).average = 9;
  ws.rawMap.at(31, 80).average = -4;
  const ViewPlot p = plot(VeView::RawDatalog);
  EXPECT_EQ(p.statusLines, Lines{"Finished Plotting"});
  ASSERT_EQ(p.drawing.size(), 1u + 16u);
  EXPECT_EQ(corners(std::get<Box>(p.drawing.items[0])), corners(Box{3000, 20, 3176, 19, kDarkRed}));
  for (const Line& line : itemsOfKind<Line>(p.drawing))
    EXPECT_TRUE(line.mode == PenMode::MergePenNot && line.colour == kBlack);
  ws.rawMap = engine::RawDataMap();
  ws.filteredMap.at(30, 50) = 40.0f;  // raw 0
  ws.rawMap.at(31, 50).average = 40;  // filtered 0
  ws.rawMap.at(32, 50).average = 40;  // d = 5
  ws.filteredMap.at(32, 50) = 45.0f;
  ws.rawMap.at(33, 50).average = 50;  // d = 0 is not black
  ws.filteredMap.at(33, 50) = 50.0f;
  ws.filteredMap.at(34, 50) = 0.4f;
  EXPECT_EQ(fills(VeView::FilteredDatalog),
            (std::vector<Rgb>{kDarkGreen, kDarkGreen, kGreen, kDarkRed}));
  EXPECT_EQ(fills(VeView::FilteredRawDelta),
            (std::vector<Rgb>{kBlack, kBlack, kNavy, kGreen, kBlack}));
}

// The filter's curve points: step 1 runs along MAP at RPM index `line`, step 2 along RPM.
TEST_F(VeViews, FilterCurvePointBoxesSitAtTheirRpmAndMap) {
  const Box column = filterCurvePointBox(FilterStep::AlongMap, 30, {62.5, 71.2}, ws.settings);
  const Box row = filterCurvePointBox(FilterStep::AlongRpm, 40, {31.5, 55}, ws.settings);
  EXPECT_EQ(std::tuple(column.x1, column.y1, row.x1, row.y1),
            std::tuple(3000.0, 37.5, 3150.0, 60.0));
  EXPECT_EQ(column.fill, veColour(71.2));
}

// Table 50 against cells of 56 (d = -6, red) and 50 (black), sampled every 34 rev/min with
// the cell at rev/min / 100 rounded: 600 rev/min of 56, 100 of 50. The filtered view reads
// only the filtered map (d = 4.5, navy).
TEST_F(VeViews, TableDeltaViewsColourTheTableMinusTheCellAndEqualValuesBlack) {
  flatTable(50);
  for (int j = 20; j <= 25; ++j) ws.rawMap.at(j, 50).average = 56;
  ws.rawMap.at(30, 40).average = 50;
  ws.filteredMap.at(40, 30) = 45.5f;
  const ViewPlot p = plot(VeView::RawLowDelta);
  EXPECT_EQ(p.statusLines, (Lines{"Plotting VE Map", "Finished Plotting"}));
  const auto boxes = itemsOfKind<Box>(p.drawing);
  const auto count = [&](double y, Rgb fill) {
    return std::count_if(boxes.begin(), boxes.end(),
                         [&](const Box& b) { return b.y1 == y && b.fill == fill; });
  };
  EXPECT_EQ(boxes.size(), 21u);
  EXPECT_EQ(std::pair(count(50, kRed), count(60, kBlack)), std::pair(18L, 3L));
  const auto filtered = fills(VeView::FilteredLowDelta);
  EXPECT_TRUE(!filtered.empty() && std::ranges::count(filtered, kNavy) == std::ssize(filtered));
}

// Boxes two kPa high every 39 rev/min (10000 / 256) and every kPa between the active bins;
// without MAP bins the view says so and draws nothing.
TEST_F(VeViews, LowDensityViewSamplesEveryStepAndMapBetweenTheActiveBins) {
  ws.settings.rpmMin = 0;
  flatTable(50);
  const ViewPlot p = plot(VeView::LowDensityMap);
  EXPECT_EQ(p.statusLines, (Lines{"Plotting VE Map", "Finished Plotting"}));
  const auto boxes = itemsOfKind<Box>(p.drawing);
  ASSERT_EQ(boxes.size(), 90u * 71u);  // 500, 539, ... 3971; 10..80 kPa
  EXPECT_EQ(corners(boxes[0]), corners(Box{500, 90, 700, 88, Rgb{0, 255, 0}}));
  ws.veTable.mapBins[0] = ws.veTable.mapBins[7] = 0;
  const ViewPlot none = plot(VeView::LowDensityMap);
  EXPECT_EQ(none.statusLines, (Lines{"Plotting VE Map", "No Map to Plot"}));
  EXPECT_TRUE(none.drawing.items.empty());
}

// The screen's step is the RPM range over 256, the printed one the table's RPM span over 500;
// both round halves to even and are at least 1.
TEST(SamplingSteps, RoundHalvesToEvenAndNeverFallBelowOne) {
  settings::Settings s;
  vemap::VeTable t;
  t.sizeRpm = 8;
  s.rpmMin = t.rpmBins[0] = 1000;
  const std::array<int, 3> cases[] = {{640, 2, 1}, {896, 4, 2}, {1250, 5, 2}, {100, 1, 1}};
  for (const auto& [span, screen, printed] : cases) {  // span, screen step, printed step
    s.rpmMax = t.rpmBins[7] = static_cast<std::int16_t>(1000 + span);
    EXPECT_EQ(std::pair(samplingStep(s), reportSamplingStep(t)), std::pair(screen, printed))
        << span;
  }
}

// Bins from -32768 up and sizes out of range: the table views stay bounded and on the grid.
TEST_F(VeViews, WildBinsAndSizesStayInsideTheMapAndTheSurface) {
  fixtures::fillRawMap(ws.rawMap);
  fixtures::fillFilteredMap(ws.filteredMap);
  ws.settings.rpmMin = 0;
  ws.settings.rpmMax = 32767;
  ws.settings.mapMax = 400;
  auto& t = ws.veTable;
  t.sizeRpm = t.sizeMap = 16;
  for (std::size_t k = 0; k < 16; ++k)
    t.rpmBins[k] = t.mapBins[k] = static_cast<std::int16_t>(-32768 + static_cast<int>(k) * 4369);
  flatTable(60);
  for (VeView v : {VeView::LowDensityMap, VeView::RawLowDelta, VeView::FilteredLowDelta}) {
    const auto boxes = itemsOfKind<Box>(plot(v).drawing);
    EXPECT_TRUE(!boxes.empty() && boxes.size() <= 262u * 403u);  // visible columns (step 128), kPa
    for (const Box& b : boxes)
      ASSERT_TRUE(std::max(b.x1, b.x2) >= 0 && std::min(b.y1, b.y2) <= 400);
  }
  for (std::int16_t size : {std::int16_t{0}, std::int16_t{-3}, std::int16_t{40}}) {
    t.sizeRpm = t.sizeMap = size;
    for (int v = 0; v < kVeViewCount; ++v) plot(static_cast<VeView>(v));  // must not read outside
  }
}

}  // namespace
}  // namespace tallimar::plot
