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

// The VE scale includes each band's lower edge; zero, negatives and NaN are the lowest band.
TEST(ColourScales, BandEdges) {
  const double nan = std::nan("");
  const std::pair<double, Rgb> ve[] = {
      {nan, kDarkRed}, {-32768, kDarkRed}, {9.999, kDarkRed}, {10, kRed},    {20, kOlive},
      {30, kYellow},   {40, kDarkGreen},   {50, kGreen},      {62.9, kTeal}, {70, kCyan},
      {80, kNavy},     {99.99, kBlue},     {100, kMagenta}};
  for (const auto& [value, colour] : ve) EXPECT_EQ(veColour(value), colour) << value;
  // The delta scale includes each band's upper edge.
  const std::pair<double, Rgb> delta[] = {
      {10.001, kMagenta}, {10, kBlue},     {6, kNavy},       {4, kCyan},    {2, kTeal},
      {1, kGreen},        {-0.99, kGreen}, {-1, kDarkGreen}, {-2, kYellow}, {-5.9, kOlive},
      {-6, kRed},         {-9.99, kRed},   {-10, kDarkRed}};
  for (const auto& [value, colour] : delta) EXPECT_EQ(veDeltaColour(value), colour) << value;
}

// Each legend row's swatch is the colour of the values inside its band, lowest band on top.
TEST(Legends, ElevenRowsTopDownFromTheLowestBand) {
  const double veInside[kBandCount] = {5, 15, 25, 35, 45, 55, 65, 75, 85, 95, 105};
  const double deltaInside[kBandCount] = {-11, -8, -5, -3, -1.5, 0, 1.5, 3, 5, 8, 11};
  const DrawList legend = colourLegend(LegendKind::VeDelta);
  const auto boxes = itemsOfKind<Box>(legend);
  const auto texts = itemsOfKind<Text>(legend);
  ASSERT_EQ(boxes.size(), 11u);
  ASSERT_EQ(texts.size(), 11u);
  for (std::size_t row = 0; row < 11; ++row) {
    EXPECT_EQ(veBand(veInside[row]), static_cast<int>(row));
    EXPECT_EQ(boxes[row].fill, veDeltaColour(deltaInside[row]));
    EXPECT_EQ(texts[row].text, veDeltaLegendCaptions()[row]);
    if (row > 0) {
      EXPECT_GT(boxes[row].y1, boxes[row - 1].y1);
    }
  }
  EXPECT_EQ(legendFor(VeView::FilteredDatalog), LegendKind::Ve);
  EXPECT_EQ(legendFor(VeView::RawLowDelta), LegendKind::VeDelta);
}

}  // namespace
}  // namespace tallimar::plot
