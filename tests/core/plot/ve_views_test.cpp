// The six views of the VE plot surface, checked as display lists.
#include "plot/ve_views.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "core/plot/plot_fixtures.h"

namespace tallimar::plot {
namespace {

constexpr Rgb kBlack{0, 0, 0};

class VeViews : public ::testing::Test {
 protected:
  VeViews() {
    ws.settings.rpmMin = 1200;
    ws.settings.rpmMax = 10000;
    ws.settings.mapMax = 100;
    ws.veTable.setStartupBins();  // 8 x 8: 500..4000 rev/min, 10..80 kPa
  }
  void flatTable(std::int16_t ve) {
    for (auto& column : ws.veTable.ve) column.fill(ve);
  }
  ViewPlot plot(VeView view) const { return plotVeView(view, workspace::viewInputs(ws)); }
  static std::vector<std::string> lines(std::initializer_list<std::string_view> l) {
    return {l.begin(), l.end()};
  }

  workspace::Workspace ws;
};

TEST_F(VeViews, RawViewDrawsCellsAboveZeroAboveTheirMapThenTheBinLines) {
  ws.rawMap.at(30, 80).average = 9;
  ws.rawMap.at(31, 80).average = 0;
  ws.rawMap.at(32, 80).average = 100;
  ws.rawMap.at(33, 80).average = -4;
  const ViewPlot p = plot(VeView::RawDatalog);
  EXPECT_EQ(p.statusLines, lines({"Finished Plotting"}));
  ASSERT_EQ(p.drawing.size(), 2u + 16u);
  const Box first = std::get<Box>(p.drawing.items[0]);
  EXPECT_EQ(first.fill, (Rgb{128, 0, 0}));
  // RPM from RPMMin to the right, MAP rising upwards, boxes one kPa high and 176 rev/min wide.
  EXPECT_EQ((std::array{first.x1, first.x2, first.y1, first.y2}),
            (std::array{3000.0, 3176.0, 20.0, 19.0}));
  EXPECT_EQ(std::get<Box>(p.drawing.items[1]).fill, (Rgb{255, 0, 255}));
  // Then the bin lines cross the surface, black in MergePenNot mode.
  const auto l = itemsOfKind<Line>(p.drawing);
  ASSERT_TRUE(std::holds_alternative<Line>(p.drawing.items[2]));
  EXPECT_EQ((std::array{l[0].y1, l[8].x1}), (std::array{90.0, 500.0}));  // MAP 10, RPM 500
  for (const Line& line : l)
    EXPECT_TRUE(line.mode == PenMode::MergePenNot && line.colour == kBlack);
}

TEST_F(VeViews, FilteredViewColoursTheSingleValues) {
  ws.filteredMap.at(40, 30) = 62.5f;
  ws.filteredMap.at(41, 30) = 0.4f;
  ws.filteredMap.at(42, 30) = -1.0f;
  const auto boxes = itemsOfKind<Box>(plot(VeView::FilteredDatalog).drawing);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].fill, (Rgb{0, 128, 128}));
  EXPECT_EQ(boxes[1].fill, (Rgb{128, 0, 0}));
  EXPECT_DOUBLE_EQ(boxes[1].x1, 4100);
}

TEST_F(VeViews, RawLowDeltaOfTable50AndCell56IsRedAndEqualValuesAreBlack) {
  flatTable(50);
  for (int j = 20; j <= 25; ++j) ws.rawMap.at(j, 50).average = 56;
  ws.rawMap.at(30, 40).average = 50;
  const ViewPlot p = plot(VeView::RawLowDelta);
  EXPECT_EQ(p.statusLines, lines({"Plotting VE Map", "Finished Plotting"}));
  const auto boxes = itemsOfKind<Box>(p.drawing);
  const auto count = [&](double y, Rgb fill) {
    return std::count_if(boxes.begin(), boxes.end(),
                         [&](const Box& b) { return b.y1 == y && b.fill == fill; });
  };
  // d = 50 - 56 = -6 is red, d = 0 black. Columns every 34 rev/min: 600 rev/min of cells at
  // 56, 100 (both ends rounding to 30) at 50.
  EXPECT_EQ(boxes.size(), 21u);
  EXPECT_EQ(std::pair(count(50, Rgb{255, 0, 0}), count(60, kBlack)), std::pair(18L, 3L));
}

TEST_F(VeViews, FilteredLowDeltaComparesTheFilteredValues) {
  flatTable(50);
  ws.filteredMap.at(20, 50) = 56.0f;
  ws.filteredMap.at(30, 40) = 50.0f;
  ws.filteredMap.at(40, 30) = 45.5f;  // d = 4.5
  ws.rawMap.at(40, 30).average = 99;  // raw data plays no part
  std::vector<Rgb> colours;
  for (const Box& b : itemsOfKind<Box>(plot(VeView::FilteredLowDelta).drawing)) {
    if (std::find(colours.begin(), colours.end(), b.fill) == colours.end())
      colours.push_back(b.fill);
  }
  EXPECT_EQ(colours, (std::vector<Rgb>{{255, 0, 0}, kBlack, {0, 0, 128}}));
}

TEST_F(VeViews, FilteredRawDeltaMarksCellsInOnlyOneMapBlack) {
  ws.filteredMap.at(30, 50) = 40.0f;  // raw 0: black
  ws.rawMap.at(31, 50).average = 40;  // filtered 0: black
  ws.rawMap.at(32, 50).average = 40;  // d = 5
  ws.filteredMap.at(32, 50) = 45.0f;
  ws.rawMap.at(33, 50).average = 50;  // d = 0 is not black in this view
  ws.filteredMap.at(33, 50) = 50.0f;
  const ViewPlot p = plot(VeView::FilteredRawDelta);
  EXPECT_EQ(p.statusLines, lines({"Finished Plotting"}));
  const auto boxes = itemsOfKind<Box>(p.drawing);
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ((std::vector{boxes[0].fill, boxes[1].fill, boxes[2].fill, boxes[3].fill}),
            (std::vector<Rgb>{kBlack, kBlack, {0, 0, 128}, {0, 255, 0}}));
}

TEST_F(VeViews, LowDensityViewSamplesEveryStepAndMapBetweenTheActiveBins) {
  ws.settings.rpmMin = 0;  // RPM bin 0 (500) is on the surface
  flatTable(50);
  const ViewPlot p = plot(VeView::LowDensityMap);
  EXPECT_EQ(p.statusLines, lines({"Plotting VE Map", "Finished Plotting"}));
  const auto boxes = itemsOfKind<Box>(p.drawing);
  ASSERT_EQ(samplingStep(ws.settings), 39);  // 10000 / 256 = 39.06
  ASSERT_EQ(boxes.size(), 90u * 71u);        // 500, 539, ... 3971; 10..80 kPa
  // Two kPa high, above the sample.
  EXPECT_EQ((std::array{boxes[0].x1, boxes[0].y1, boxes[0].x2, boxes[0].y2}),
            (std::array{500.0, 90.0, 700.0, 88.0}));
  EXPECT_DOUBLE_EQ(boxes[71].x1, 539);
  EXPECT_DOUBLE_EQ(boxes.back().x1, 3971);
  for (const Box& b : boxes) EXPECT_EQ(b.fill, (Rgb{0, 255, 0}));
  EXPECT_EQ(itemsOfKind<Line>(p.drawing).size(), 16u);
}

TEST_F(VeViews, LowDensityViewWithoutMapBinsSaysSoAndDrawsNothing) {
  ws.veTable.mapBins[0] = 0;
  ws.veTable.mapBins[7] = 0;
  flatTable(50);
  const ViewPlot p = plot(VeView::LowDensityMap);
  EXPECT_EQ(p.statusLines, lines({"Plotting VE Map", "No Map to Plot"}));
  EXPECT_TRUE(p.drawing.items.empty());
}

TEST(SamplingStep, RoundsHalvesToEvenAndNeverFallsBelowOne) {
  settings::Settings s;
  auto step = [&](int min, int max) {
    s.rpmMin = static_cast<std::int16_t>(min);
    s.rpmMax = static_cast<std::int16_t>(max);
    return samplingStep(s);
  };
  EXPECT_EQ(step(1200, 10000), 34);  // 34.375
  EXPECT_EQ(step(0, 640), 2);        // 2.5
  EXPECT_EQ(step(0, 896), 4);        // 3.5
  EXPECT_EQ(step(1000, 1100), 1);    // 0.39 would never advance
  EXPECT_EQ(step(5000, 1000), 1);
}

TEST_F(VeViews, WildBinsAndSizesStayInsideTheMapAndTheSurface) {
  fixtures::fillRawMap(ws.rawMap);
  fixtures::fillFilteredMap(ws.filteredMap);
  ws.settings.rpmMin = 0;
  ws.settings.rpmMax = 32767;
  ws.settings.mapMax = 400;
  auto& t = ws.veTable;
  t.sizeRpm = t.sizeMap = 16;
  for (std::size_t k = 0; k < 16; ++k) {
    t.rpmBins[k] = static_cast<std::int16_t>(-32768 + static_cast<int>(k) * 4369);
    t.mapBins[k] = static_cast<std::int16_t>(-32768 + static_cast<int>(k) * 4369);
  }
  flatTable(60);
  for (VeView v : {VeView::LowDensityMap, VeView::RawLowDelta, VeView::FilteredLowDelta}) {
    const auto boxes = itemsOfKind<Box>(plot(v).drawing);
    EXPECT_FALSE(boxes.empty());
    // At most every visible column (step 128) times every visible kPa.
    EXPECT_LE(boxes.size(), 262u * 403u);
    for (const Box& b : boxes) {
      ASSERT_GE(std::max(b.x1, b.x2), 0);
      ASSERT_LE(std::min(b.y1, b.y2), 400);
    }
  }
  for (std::int16_t size : {std::int16_t{0}, std::int16_t{-3}, std::int16_t{40}}) {
    t.sizeRpm = t.sizeMap = size;
    for (int v = 0; v < kVeViewCount; ++v) plot(static_cast<VeView>(v));  // must not read outside
  }
}

}  // namespace
}  // namespace tallimar::plot
