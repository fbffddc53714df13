// The colour legend beside a plot: eleven swatches, lowest band at the top, each with its
// caption to the right (the main window's `ColorChart` and the VE plot window's caption
// frames `frmKeyChromatic` / `frmKeyChromaticDelta`).
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "plot/colour_scale.h"
#include "plot/draw_list.h"
#include "plot/ve_views.h"

namespace tallimar::plot {

enum class LegendKind { Ve, VeDelta };

constexpr LegendKind legendFor(VeView view) {
  return showsDelta(view) ? LegendKind::VeDelta : LegendKind::Ve;
}
const std::array<std::string_view, kBandCount>& legendCaptions(LegendKind kind);

// Geometry of the legend, in twips; the list's user units are twips from its top-left.
struct LegendLayout {
  double rowTwips = 240;  // distance between the tops of two rows
  double swatchWidthTwips = 240;
  double swatchHeightTwips = 195;
  double captionGapTwips = 90;  // between a swatch and its caption
  double widthTwips = 2400;
  std::string fontFamily = "Arial";
  double pointSize = 8;
  Rgb background{255, 255, 255};
  Rgb textColour{0, 0, 0};
};

DrawList colourLegend(LegendKind kind, const LegendLayout& layout = {});

}  // namespace tallimar::plot
