// The report page's layout: the fixed 8 x 8 table, the raw data map page, plot area bounds.
#include "plot/report_page.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
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
  DrawList page(VeView view) { return reportPage(view, viewInputs(ws), surface, metrics); }
  DrawList rawPage() { return rawMapReportPage(ws.rawMap, ws.settings, surface, metrics); }
  // A text's width and height in page units on the preview surface.
  double width(const std::string& text) const {
    return metrics.widthTwips(text, font()) * SW / surface.widthTwips;
  }
  double height() const { return metrics.heightTwips(font()) * SH / surface.heightTwips; }
  common::FontSpec font() const { return {std::string(kReportFont), surface.pointSize, false}; }

  template <class T = Text>
  static std::vector<T> kept(const DrawList& list, auto keep) {
    std::vector<T> found;
    for (const T& item : itemsOfKind<T>(list))
      if (keep(item)) found.push_back(item);
    return found;
  }
  // The plot's boxes: everything left of the legend swatches at 0.825 SW.
  static std::vector<Box> plotBoxes(const DrawList& list) {
    return kept<Box>(list, [](const Box& b) { return b.x1 < 0.81 * SW; });
  }

  workspace::Workspace ws;
  ReportSurface surface;
  common::FixedPitchTextMetrics metrics;
};

// A 16 x 16 table: VE(c, r) centred in column c (from 0.15 SW) and row r (from 0.05 SH, MAP 0
// on top), RPM bins under the table and MAP bins left of it, all from indices 0..7.
TEST_F(ReportPage, UpperTableAlwaysShowsIndicesZeroToSevenOfTheTable) {
  auto& t = ws.veTable;
  t = fixtures::sampledTable(16, 16, 1000, 9000, 20, 180);
  for (int r = 0; r < 16; ++r)
    for (int m = 0; m < 16; ++m) t.at(r, m) = static_cast<std::int16_t>(100 + 16 * r + m);
  const DrawList p = page(VeView::LowDensityMap);
  const auto body = kept(p, [](const Text& x) {
    return x.y > 0.04 * SH && x.y < 0.375 * SH && x.x > 0.15 * SW && x.x < 0.95 * SW;
  });
  ASSERT_EQ(body.size(), 64u);
  for (const Text& cell : body) {
    const int c = static_cast<int>((cell.x + width(cell.text) / 2 - 0.15 * SW) / (0.1 * SW));
    const int r = static_cast<int>((cell.y + height() / 2 - 0.05 * SH) / ((0.325 * SH) / 8));
    EXPECT_EQ(cell.text, std::to_string(100 + 16 * c + r));
  }
  // Labels of bins 0..7: the eighth is bin 7, not the table's last.
  const auto rpm = kept(p, [](const Text& x) { return x.y > 0.39 * SH && x.y < 0.45 * SH; });
  const auto map = kept(p, [](const Text& x) { return x.x < 0.125 * SW && x.y < 0.4 * SH; });
  ASSERT_EQ(std::pair(rpm.size(), map.size()), std::pair(8ul, 8ul));
  EXPECT_EQ(std::pair(rpm[7].text, map[7].text),
            std::pair(std::to_string(t.rpmBins[7]), std::to_string(t.mapBins[7])));
}

// RPM labels in hundreds at tenths of RPMMax.
TEST_F(ReportPage, RawMapPageHasRoundedRpmLabels) {
  const DrawList p = rawPage();  // 1200..10000 rev/min
  const PlotArea a;
  std::vector<std::string> under;
  for (const Text& t : itemsOfKind<Text>(p))
    if (t.y > a.bottom() && t.y < a.bottom() + 3 * height()) under.push_back(t.text);
  EXPECT_EQ(under, (std::vector<std::string>{"12", "21", "30", "38", "47", "56", "65", "74", "82",
                                             "91", "100"}));
}

// Data beyond bin 7, cells above RPMMax or MAPMax, and hostile bins and settings never draw
// outside the plot area or at coordinates that are not finite, nor more than a page can show.
TEST_F(ReportPage, PlotContentStaysInsideThePlotAreaWhateverTheBinsAndSettings) {
  const auto check = [](const DrawList& p, const char* what) {
    const PlotArea a;
    for (const Box& b : plotBoxes(p))
      ASSERT_TRUE(std::isfinite(b.x1 + b.y1 + b.x2 + b.y2) && b.x1 >= a.left && b.x2 <= a.right() &&
                  b.y1 >= a.top && b.y2 <= a.bottom())
          << what << " box " << b.x1 << "," << b.y1 << " " << b.x2 << "," << b.y2;
    for (const Line& l : itemsOfKind<Line>(p))
      ASSERT_TRUE(std::isfinite(l.x1) && std::isfinite(l.y1) && l.x1 >= 0 && l.x2 <= SW) << what;
    EXPECT_LT(p.size(), 2'000'000u) << what;
  };
  const auto allViews = [&](const char* what) {
    for (int v = 0; v < kVeViewCount; ++v) check(page(static_cast<VeView>(v)), what);
  };
  fixtures::fillRawMap(ws.rawMap);
  fixtures::fillFilteredMap(ws.filteredMap);
  vemap::VeTable& t = ws.veTable;
  t = fixtures::sampledTable(16, 16, 500, 9500, 20, 250);
  allViews("16 x 16");
  t.rpmBins = {-32768, -100, 0, 100, 200, 300, 400, 32767, 0, 0, 0, 0, 0, 0, 0, 0};
  t.mapBins = {-32768, 0, 0, 0, 0, 0, 0, 32767, 0, 0, 0, 0, 0, 0, 0, 0};
  t.sizeRpm = t.sizeMap = 8;
  allViews("wild bins");
  t.sizeRpm = 0;
  t.sizeMap = 40;
  check(page(VeView::RawLowDelta), "sizes out of range");
  const std::int16_t settings[][3] = {
      {1200, -5000, 100}, {10000, 1200, -4}, {-32768, 32767, 32767}};
  for (const auto& [rpmMin, rpmMax, mapMax] : settings) {
    std::tie(ws.settings.rpmMin, ws.settings.rpmMax, ws.settings.mapMax) =
        std::tie(rpmMin, rpmMax, mapMax);
    check(rawPage(), "raw map settings");
  }
}

}  // namespace
}  // namespace tallimar::plot
