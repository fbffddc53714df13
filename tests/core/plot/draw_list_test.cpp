// Pen modes: the colour a merge line leaves, which printers use in place of raster operations.
#include "plot/draw_list.h"

#include <gtest/gtest.h>

namespace tallimar::plot {
namespace {

constexpr Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0}, kGreen{0, 255, 0}, kMagenta{255, 0, 255};

TEST(PenModes, MergePenNotInvertsUnderABlackPenAndMergeNotPaintsItWhite) {
  EXPECT_EQ(combinePen(PenMode::MergePenNot, kBlack, kWhite), kBlack);
  EXPECT_EQ(combinePen(PenMode::MergePenNot, kBlack, kGreen), kMagenta);
  EXPECT_EQ(
      combinePen(PenMode::MergePenNot, kBlack, combinePen(PenMode::MergePenNot, kBlack, kGreen)),
      kGreen);
  EXPECT_EQ(combinePen(PenMode::MergePenNot, Rgb{0, 128, 1}, Rgb{0, 128, 128}),
            (Rgb{255, 255, 127}));
  EXPECT_EQ(combinePen(PenMode::MergeNot, kBlack, kGreen), kWhite);
  EXPECT_EQ(combinePen(PenMode::MergeNot, kWhite, kGreen), kGreen);
  EXPECT_EQ(combinePen(PenMode::Copy, kGreen, kWhite), kGreen);
}

}  // namespace
}  // namespace tallimar::plot
