// Which colour legend a view shows beside the plot, and its eleven captions, lowest band
// first (the VE plot window's caption frames `frmKeyChromatic` / `frmKeyChromaticDelta`).
#pragma once

#include <array>
#include <string_view>

#include "plot/colour_scale.h"
#include "plot/ve_views.h"

namespace tallimar::plot {

enum class LegendKind { Ve, VeDelta };

constexpr LegendKind legendFor(VeView view) {
  return showsDelta(view) ? LegendKind::VeDelta : LegendKind::Ve;
}
const std::array<std::string_view, kBandCount>& legendCaptions(LegendKind kind);

}  // namespace tallimar::plot
