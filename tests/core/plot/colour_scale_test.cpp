// The colour scales decide every pixel of every chromatic display; their edges matter.
#include "plot/colour_scale.h"

#include <gtest/gtest.h>

#include <cmath>

#include "plot/legend.h"

namespace tallimar::plot {
namespace {

constexpr Rgb kDarkRed{128, 0, 0}, kRed{255, 0, 0}, kOlive{128, 128, 0}, kYellow{255, 255, 0},
    kDarkGreen{0, 128, 0}, kGreen{0, 255, 0}, kTeal{0, 128, 128}, kCyan{0, 255, 255},
    kNavy{0, 0, 128}, kBlue{0, 0, 255}, kMagenta{255, 0, 255};

TEST(VeColourScale, LowerBandEdgesAreInclusive) {
  EXPECT_EQ(veColour(9), kDarkRed);
  EXPECT_EQ(veColour(9.999), kDarkRed);
  EXPECT_EQ(veColour(10), kRed);
  EXPECT_EQ(veColour(19.5), kRed);
  EXPECT_EQ(veColour(20), kOlive);
  EXPECT_EQ(veColour(30), kYellow);
  EXPECT_EQ(veColour(40), kDarkGreen);
  EXPECT_EQ(veColour(50), kGreen);
  EXPECT_EQ(veColour(60), kTeal);
  EXPECT_EQ(veColour(62.9), kTeal);
  EXPECT_EQ(veColour(65), kTeal);
  EXPECT_EQ(veColour(70), kCyan);
  EXPECT_EQ(veColour(80), kNavy);
  EXPECT_EQ(veColour(90), kBlue);
  EXPECT_EQ(veColour(99), kBlue);
  EXPECT_EQ(veColour(99.99), kBlue);
  EXPECT_EQ(veColour(100), kMagenta);
  EXPECT_EQ(veColour(32767), kMagenta);
}

TEST(VeColourScale, ZeroNegativeAndNotANumberAreTheLowestBand) {
  EXPECT_EQ(veColour(0), kDarkRed);
  EXPECT_EQ(veColour(-5), kDarkRed);
  EXPECT_EQ(veColour(-32768), kDarkRed);
  EXPECT_EQ(veColour(std::nan("")), kDarkRed);
}

TEST(VeDeltaColourScale, UpperBandEdgesAreInclusive) {
  EXPECT_EQ(veDeltaColour(10.001), kMagenta);
  EXPECT_EQ(veDeltaColour(10), kBlue);
  EXPECT_EQ(veDeltaColour(6.5), kBlue);
  EXPECT_EQ(veDeltaColour(6), kNavy);
  EXPECT_EQ(veDeltaColour(4), kCyan);
  EXPECT_EQ(veDeltaColour(2), kTeal);
  EXPECT_EQ(veDeltaColour(1.5), kTeal);
  EXPECT_EQ(veDeltaColour(1), kGreen);
  EXPECT_EQ(veDeltaColour(0), kGreen);
  EXPECT_EQ(veDeltaColour(-0.99), kGreen);
  EXPECT_EQ(veDeltaColour(-1), kDarkGreen);
  EXPECT_EQ(veDeltaColour(-2), kYellow);
  EXPECT_EQ(veDeltaColour(-4), kOlive);
  EXPECT_EQ(veDeltaColour(-5.9), kOlive);
  EXPECT_EQ(veDeltaColour(-6), kRed);
  EXPECT_EQ(veDeltaColour(-9.99), kRed);
  EXPECT_EQ(veDeltaColour(-10), kDarkRed);
  EXPECT_EQ(veDeltaColour(-500), kDarkRed);
}

TEST(Legends, SwatchesCaptionsAndBandsLineUpLowestFirst) {
  // The swatch of each row must be the colour its caption names: a value inside each band
  // of each scale takes that row's swatch.
  const double veInside[kBandCount] = {5, 15, 25, 35, 45, 55, 65, 75, 85, 95, 105};
  const double deltaInside[kBandCount] = {-11, -8, -5, -3, -1.5, 0, 1.5, 3, 5, 8, 11};
  for (int band = 0; band < kBandCount; ++band) {
    EXPECT_EQ(veBand(veInside[band]), band);
    EXPECT_EQ(veDeltaBand(deltaInside[band]), band);
  }
  EXPECT_EQ(veLegendCaptions().front(), "= VE < 10");
  EXPECT_EQ(veLegendCaptions()[5], "= VE >= 50 && < 60");
  EXPECT_EQ(veLegendCaptions().back(), "= VE >= 100");
  EXPECT_EQ(veDeltaLegendCaptions().front(), "= VE Delta -10");
  EXPECT_EQ(veDeltaLegendCaptions()[5], "= VE Delta -1 +1");
  EXPECT_EQ(veDeltaLegendCaptions().back(), "= VE Delta +10");
  EXPECT_EQ(veReportLegendTexts()[9], "=VE >=90 & <100");
  EXPECT_EQ(veDeltaReportLegendTexts()[1], "=VE -10 -6");
}

TEST(Legends, DrawListHasElevenRowsTopDownFromTheLowestBand) {
  const DrawList legend = colourLegend(LegendKind::VeDelta);
  const auto boxes = itemsOfKind<Box>(legend);
  const auto texts = itemsOfKind<Text>(legend);
  ASSERT_EQ(boxes.size(), 11u);
  ASSERT_EQ(texts.size(), 11u);
  for (std::size_t row = 0; row < 11; ++row) {
    EXPECT_EQ(boxes[row].fill, kBandColours[row]);
    EXPECT_EQ(texts[row].text, veDeltaLegendCaptions()[row]);
    if (row > 0) {
      EXPECT_GT(boxes[row].y1, boxes[row - 1].y1);
    }
  }
  EXPECT_EQ(itemsOfKind<Text>(colourLegend(LegendKind::Ve)).back().text, "= VE >= 100");
  EXPECT_EQ(legendFor(VeView::FilteredDatalog), LegendKind::Ve);
  EXPECT_EQ(legendFor(VeView::RawLowDelta), LegendKind::VeDelta);
}

}  // namespace
}  // namespace tallimar::plot
