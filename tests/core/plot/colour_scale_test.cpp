// Colours: the bands of the VE and VE delta scales, and what merge pens leave on paper.
#include "plot/colour_scale.h"

#include <gtest/gtest.h>

#include <cmath>

#include "plot/legend.h"

namespace tallimar::plot {
namespace {

// VE bands include their lower edge (NaN is the lowest band); delta bands their upper edge.
TEST(ColourScales, BandEdges) {
  const std::pair<double, int> ve[] = {{std::nan(""), 0}, {9.999, 0}, {10, 1}, {100, 10}};
  for (const auto& [value, band] : ve) EXPECT_EQ(veBand(value), band) << value;
  const std::pair<double, int> delta[] = {{10.001, 10}, {10, 9}, {-0.99, 5}, {-1, 4}, {-10, 0}};
  for (const auto& [value, band] : delta) EXPECT_EQ(veDeltaBand(value), band) << value;
  EXPECT_EQ(veDeltaColour(-6), (Rgb{255, 0, 0}));
  EXPECT_EQ(legendFor(VeView::RawLowDelta), LegendKind::VeDelta);
}

// Printers have no raster operations: a merge line takes the colour it would leave on paper.
TEST(PenModes, MergePenNotInvertsUnderABlackPenAndMergeNotPaintsItWhite) {
  constexpr Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0}, kGreen{0, 255, 0};
  EXPECT_EQ(combinePen(PenMode::MergePenNot, Rgb{0, 128, 1}, Rgb{0, 128, 128}),
            (Rgb{255, 255, 127}));
  EXPECT_EQ(combinePen(PenMode::MergeNot, kBlack, kGreen), kWhite);
  EXPECT_EQ(combinePen(PenMode::Copy, kGreen, kWhite), kGreen);
}

}  // namespace
}  // namespace tallimar::plot
