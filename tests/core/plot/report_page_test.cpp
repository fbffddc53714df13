// The report page's layout rules: legend rows and texts, the fixed 8 x 8 table, the raw data
// map page's grid, the printed sampling, and plot content kept inside the plot area.
#include "plot/report_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/text_metrics.h"
#include "plot/colour_scale.h"
#include "plot_fixtures.h"

namespace tallimar::plot {
namespace {

constexpr double SW = kReportPageWidth;
constexpr double SH = kReportPageHeight;

class ReportPage : public ::testing::Test {
 protected:
  ReportPage() {
    ws.veTable = fixtures::sampledTable(8, 8, 1500, 6000, 20, 100);
    fixtures::fillRawMap(ws.rawMap);
    fixtures::fillFilteredMap(ws.filteredMap);
    surface.time = "12:34";
    surface.date = "07/12/2026";
  }
  DrawList page(VeView view) { return reportPage(view, viewInputs(ws), surface, metrics); }
  DrawList rawPage() { return rawMapReportPage(ws.rawMap, ws.settings, surface, metrics); }
  // Page units of a text's width and height on the preview surface.
  double width(const std::string& text) const {
    return metrics.widthTwips(text, font()) * SW / surface.widthTwips;
  }
  double height() const { return metrics.heightTwips(font()) * SH / surface.heightTwips; }
  common::FontSpec font() const { return {std::string(kReportFont), surface.pointSize, false}; }

  static std::vector<Text> textsWhere(const DrawList& list, auto keep) {
    std::vector<Text> found;
    for (const Text& t : itemsOfKind<Text>(list))
      if (keep(t)) found.push_back(t);
    return found;
  }
  static std::vector<Box> plotBoxes(const DrawList& list) {
    std::vector<Box> found;
    const PlotArea a;
    for (const Box& b : itemsOfKind<Box>(list))
      if (b.x1 < 0.81 * SW) found.push_back(b);  // the legend swatches start at 0.825 SW
    (void)a;
    return found;
  }

  workspace::Workspace ws;
  ReportSurface surface;
  common::FixedPitchTextMetrics metrics;
};

TEST_F(ReportPage, LegendHasElevenRowsWithTheTextsOfEachView) {
  const std::vector<std::string> ve(veReportLegendTexts().begin(), veReportLegendTexts().end());
  const std::vector<std::string> delta(veDeltaReportLegendTexts().begin(),
                                       veDeltaReportLegendTexts().end());
  ASSERT_EQ(ve.front(), "=VE <10");
  ASSERT_EQ(delta.back(), "=VE +10");
  struct Case {
    DrawList page;
    const std::vector<std::string>& texts;
  };
  const Case cases[] = {{page(VeView::LowDensityMap), ve},
                        {page(VeView::RawDatalog), ve},
                        {page(VeView::FilteredDatalog), ve},
                        {page(VeView::RawLowDelta), delta},
                        {page(VeView::FilteredLowDelta), delta},
                        {page(VeView::FilteredRawDelta), delta},
                        {rawPage(), ve}};
  const double span = (0.91 - 0.5125) * SH;
  for (const Case& c : cases) {
    std::vector<std::string> texts;
    for (const Text& t :
         textsWhere(c.page, [](const Text& t) { return t.text.starts_with("=VE"); }))
      texts.push_back(t.text);
    EXPECT_EQ(texts, c.texts);
    std::vector<Box> swatches;
    for (const Box& b : itemsOfKind<Box>(c.page))
      if (b.x1 == 0.825 * SW) swatches.push_back(b);
    ASSERT_EQ(swatches.size(), 11u);
    for (std::size_t k = 0; k < 11; ++k) {
      const double top = 0.5125 * SH + static_cast<double>(k) * span / 11;
      EXPECT_EQ(swatches[k].fill, kBandColours[k]) << k;
      EXPECT_DOUBLE_EQ(swatches[k].y1, top);
      EXPECT_DOUBLE_EQ(swatches[k].y2, top + span / 15);
    }
  }
}

TEST_F(ReportPage, UpperTableAlwaysShowsIndicesZeroToSevenOfTheTable) {
  for (int size : {8, 12, 16}) {
    auto& t = ws.veTable;
    t = fixtures::sampledTable(size, size, 1000, 9000, 20, 180);
    for (int r = 0; r < 16; ++r)
      for (int m = 0; m < 16; ++m) t.at(r, m) = static_cast<std::int16_t>(100 + 16 * r + m);
    const DrawList p = page(VeView::LowDensityMap);
    const double rowHeight = (0.375 - 0.05) * SH / 8;
    // Body: VE(c, r) centred in column c (from 0.15 SW) and row r (from 0.05 SH, MAP 0 on top).
    const auto body = textsWhere(p, [](const Text& x) {
      return x.y > 0.04 * SH && x.y < 0.375 * SH && x.x > 0.15 * SW && x.x < 0.95 * SW;
    });
    ASSERT_EQ(body.size(), 64u) << size;
    for (const Text& cell : body) {
      const int c = static_cast<int>((cell.x + width(cell.text) / 2 - 0.15 * SW) / (0.1 * SW));
      const int r = static_cast<int>((cell.y + height() / 2 - 0.05 * SH) / rowHeight);
      EXPECT_EQ(cell.text, std::to_string(100 + 16 * c + r)) << size;
    }
    const auto rpmHeadings =
        textsWhere(p, [](const Text& x) { return x.y > 0.39 * SH && x.y < 0.45 * SH; });
    const auto mapHeadings =
        textsWhere(p, [](const Text& x) { return x.x < 0.125 * SW && x.y < 0.4 * SH; });
    ASSERT_EQ(rpmHeadings.size(), 8u);
    ASSERT_EQ(mapHeadings.size(), 8u);
    for (std::size_t k = 0; k < 8; ++k) {
      EXPECT_EQ(rpmHeadings[k].text, std::to_string(t.rpmBins[k]));
      EXPECT_EQ(mapHeadings[k].text, std::to_string(t.mapBins[k]));
    }
  }
}

TEST_F(ReportPage, RawMapPageHasElevenGridLinesPerAxisAtTenthsOfTheRange) {
  ws.settings.rpmMin = 1200;
  ws.settings.rpmMax = 10000;
  ws.settings.mapMax = 100;
  const DrawList p = rawPage();
  const PlotArea a;
  const double xscale = 0.75 * SW / 10000;
  std::vector<double> xs;
  std::vector<double> ys;
  for (const Line& l : itemsOfKind<Line>(p)) {
    // The thin lines across the plot area.
    if (l.widthPixels != 1 || l.y1 < a.top - 1 || l.y2 > a.bottom() + 1 || l.x2 > a.right() + 1)
      continue;
    if (l.x1 == l.x2) xs.push_back(l.x1);
    if (l.y1 == l.y2) ys.push_back(l.y1);
  }
  ASSERT_EQ(xs.size(), 11u);
  ASSERT_EQ(ys.size(), 11u);
  for (std::size_t k = 0; k < 11; ++k) {
    EXPECT_NEAR(xs[k], a.left + (1200 + 880.0 * static_cast<double>(k)) * xscale, 1e-9);
    EXPECT_NEAR(ys[k], a.top + 10.0 * static_cast<double>(k) * (0.4 * SH / 100), 1e-9);
  }
  std::vector<std::string> under;
  std::vector<std::string> left;
  for (const Text& t : itemsOfKind<Text>(p)) {
    if (t.y > a.bottom() && t.y < a.bottom() + 3 * height()) under.push_back(t.text);
    if (t.x < a.left && t.y > a.top - height()) left.push_back(t.text);
  }
  EXPECT_EQ(under, (std::vector<std::string>{"12", "21", "30", "38", "47", "56", "65", "74", "82",
                                             "91", "100"}));
  EXPECT_EQ(left, (std::vector<std::string>{"0", "10", "20", "30", "40", "50", "60", "70", "80",
                                            "90", "100"}));
  // A label sits half its width left of its line, 0.75 of its height below the plot.
  const auto label21 = textsWhere(p, [](const Text& t) { return t.text == "21"; });
  ASSERT_EQ(label21.size(), 1u);
  EXPECT_NEAR(label21[0].x, xs[1] - width("21") / 2, 1e-9);
  EXPECT_NEAR(label21[0].y, a.bottom() + 0.75 * height(), 1e-9);
}

TEST_F(ReportPage, RawMapCellIsASixtyUnitBoxInItsVeColour) {
  ws.rawMap = engine::RawDataMap();
  ws.settings.rpmMax = 10000;
  ws.settings.mapMax = 100;
  ws.rawMap.at(30, 80).average = 65;
  const auto boxes = plotBoxes(rawPage());
  ASSERT_EQ(boxes.size(), 1u);
  const double x = 0.05 * SW + 3000 * (0.75 * SW / 10000);
  const double ys = 0.4 * SH / 100;
  EXPECT_EQ(boxes[0].fill, (Rgb{0, 128, 128}));
  EXPECT_DOUBLE_EQ(boxes[0].x1, x - 50);
  EXPECT_DOUBLE_EQ(boxes[0].x2, x + 10);
  EXPECT_DOUBLE_EQ(boxes[0].y1, 0.5125 * SH + 79 * ys);
  EXPECT_DOUBLE_EQ(boxes[0].y2, 0.5125 * SH + 80 * ys);
}

TEST_F(ReportPage, TitleHeadingAndFooterAreCentredOnTheirRules) {
  const DrawList p = page(VeView::FilteredLowDelta);
  const auto texts = itemsOfKind<Text>(p);
  const auto find = [&](const std::string& s) {
    return *std::find_if(texts.begin(), texts.end(), [&](const Text& t) { return t.text == s; });
  };
  const double h = height();
  const Text title = find("Filtered/Low Density Delta Map");
  EXPECT_NEAR(title.x + width(title.text) / 2, SW / 2, 1e-9);
  EXPECT_NEAR(title.y, h, 1e-9);
  EXPECT_EQ(title.fontFamily, "Courier New");
  EXPECT_EQ(title.pointSize, kPreviewPointSize);
  const Text heading = find("Chromatic VE Plot");
  EXPECT_NEAR(heading.y, SH / 2 - h, 1e-9);
  const Text footer = find("Tallimar VE Table Tuner 12:34 07/12/2026");
  EXPECT_NEAR(footer.x + width(footer.text) / 2, SW / 2, 1e-9);
  EXPECT_NEAR(footer.y, SH - h, 1e-9);
  std::vector<double> rules;
  for (const Line& l : itemsOfKind<Line>(p))
    if (l.x1 == 0 && l.x2 == SW) rules.push_back(l.y1);
  EXPECT_EQ(rules, (std::vector<double>{h + 10, SH / 2 - h - 10, SH - h - 10}));
}

TEST_F(ReportPage, SamplingStepIsTheBinSpanOverFiveHundredAndAtLeastOne) {
  struct Case {
    int first, last, step;
  };
  for (const Case c : {Case{1000, 1250, 1}, Case{1000, 1100, 1}, Case{1000, 1750, 2},
                       Case{1000, 2250, 2}, Case{500, 8000, 15}, Case{4000, 1000, 1}}) {
    vemap::VeTable t;
    t.sizeRpm = 8;
    t.rpmBins[0] = static_cast<std::int16_t>(c.first);
    t.rpmBins[7] = static_cast<std::int16_t>(c.last);
    EXPECT_EQ(reportSamplingStep(t), c.step) << c.first << ".." << c.last;
  }
  // A narrow table is still sampled every rev/min, and the plot ends.
  ws.veTable = fixtures::sampledTable(8, 8, 1000, 1200, 20, 100);
  const auto boxes = plotBoxes(page(VeView::LowDensityMap));
  ASSERT_FALSE(boxes.empty());
  const double xscale = 0.75 * SW / 1200;
  EXPECT_NEAR(boxes[0].x2 - boxes[0].x1, xscale, 1e-9);
}

TEST_F(ReportPage, DeltaViewsColourTheDifferenceOfTableAndData) {
  auto& t = ws.veTable;
  for (auto& column : t.ve) column.fill(50);
  ws.rawMap = engine::RawDataMap();
  const int rpm = t.rpmBins[2];
  const int map = t.mapBins[3];
  ws.rawMap.at(rpm / 100, map).average = 56;      // table 50 - data 56 = -6
  ws.rawMap.at(rpm / 100, map + 1).average = 50;  // no difference: black
  // Every sample whose rpm rounds to the cell compares with it.
  const auto boxes = plotBoxes(page(VeView::RawLowDelta));
  const double ys = 0.4 * SH / t.mapBins[7];
  int red = 0;
  int black = 0;
  for (const Box& b : boxes) {
    if (b.fill == Rgb{255, 0, 0} && b.y1 == 0.5125 * SH + map * ys) ++red;
    if (b.fill == Rgb{0, 0, 0} && b.y1 == 0.5125 * SH + (map + 1) * ys) ++black;
  }
  EXPECT_GT(red, 0);
  EXPECT_EQ(red, black);
  EXPECT_EQ(static_cast<std::size_t>(red + black), boxes.size());
}

// Data beyond bin 7 (a 16 x 16 table, cells above RPMMax or MAPMax) and hostile bins and
// settings never draw outside the plot area, never produce coordinates that are not
// finite, and stay within what the page can show.
TEST_F(ReportPage, PlotContentStaysInsideThePlotAreaWhateverTheBinsAndSettings) {
  const auto check = [](const DrawList& p, const char* what) {
    const PlotArea a;
    for (const Box& b : plotBoxes(p)) {
      ASSERT_TRUE(std::isfinite(b.x1) && std::isfinite(b.y1) && std::isfinite(b.x2) &&
                  std::isfinite(b.y2))
          << what;
      ASSERT_TRUE(b.x1 >= a.left && b.x2 <= a.right() && b.y1 >= a.top && b.y2 <= a.bottom())
          << what << " box " << b.x1 << "," << b.y1 << " " << b.x2 << "," << b.y2;
    }
    for (const Line& l : itemsOfKind<Line>(p))
      ASSERT_TRUE(std::isfinite(l.x1) && std::isfinite(l.y1) && l.x1 >= 0 && l.x2 <= SW) << what;
    EXPECT_LT(p.size(), 2'000'000u) << what;
  };
  ws.veTable = fixtures::sampledTable(16, 16, 500, 9500, 20, 250);
  for (int v = 0; v < kVeViewCount; ++v) check(page(static_cast<VeView>(v)), "16 x 16");

  vemap::VeTable& t = ws.veTable;
  t.rpmBins = {-32768, -100, 0, 100, 200, 300, 400, 32767, 0, 0, 0, 0, 0, 0, 0, 0};
  t.mapBins = {-32768, 0, 0, 0, 0, 0, 0, 32767, 0, 0, 0, 0, 0, 0, 0, 0};
  t.sizeRpm = 8;
  t.sizeMap = 8;
  for (int v = 0; v < kVeViewCount; ++v) check(page(static_cast<VeView>(v)), "wild bins");
  t.rpmBins.fill(0);
  t.mapBins.fill(0);
  for (int v = 0; v < kVeViewCount; ++v) check(page(static_cast<VeView>(v)), "zero bins");
  t.sizeRpm = 0;
  t.sizeMap = 40;
  check(page(VeView::RawLowDelta), "sizes out of range");

  for (const auto [rpmMin, rpmMax, mapMax] : {std::array<int, 3>{1200, 0, 100},
                                              {1200, -5000, 100},
                                              {1200, 10000, 0},
                                              {10000, 1200, -4},
                                              {-32768, 32767, 32767},
                                              {1200, 1200, 100}}) {
    ws.settings.rpmMin = static_cast<std::int16_t>(rpmMin);
    ws.settings.rpmMax = static_cast<std::int16_t>(rpmMax);
    ws.settings.mapMax = static_cast<std::int16_t>(mapMax);
    check(rawPage(), "raw map settings");
  }
}

}  // namespace
}  // namespace tallimar::plot
