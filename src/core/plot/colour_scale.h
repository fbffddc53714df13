// The two eleven-band colour scales of every chromatic display: the VE scale (VE percent)
// and the VE delta scale (difference of two VE values), with the captions that name the
// bands on screen and on the report page.
#pragma once

#include <array>
#include <string_view>

#include "common/rgb.h"

namespace tallimar::plot {

using common::Rgb;

inline constexpr int kBandCount = 11;

// The band colours from the lowest band (index 0) to the highest (index 10). Both scales
// share them; the legend swatches show them in this order from top to bottom.
inline constexpr std::array<Rgb, kBandCount> kBandColours{{{128, 0, 0},
                                                           {255, 0, 0},
                                                           {128, 128, 0},
                                                           {255, 255, 0},
                                                           {0, 128, 0},
                                                           {0, 255, 0},
                                                           {0, 128, 128},
                                                           {0, 255, 255},
                                                           {0, 0, 128},
                                                           {0, 0, 255},
                                                           {255, 0, 255}}};

// VE band: 0 under 10 (negative values and NaN included), k for 10k to under 10(k+1),
// 10 for 100 or more.
int veBand(double ve);
// Delta band: 0 for d <= -10, then the bands end (upper edge included) at -6, -4, -2, -1,
// 1, 2, 4, 6, 10; 10 for d > 10. NaN falls in band 0.
int veDeltaBand(double delta);

inline Rgb veColour(double ve) { return kBandColours[static_cast<std::size_t>(veBand(ve))]; }
inline Rgb veDeltaColour(double delta) {
  return kBandColours[static_cast<std::size_t>(veDeltaBand(delta))];
}

// Captions of the screen legends ("= VE < 10" ... "= VE >= 100" and "= VE Delta -10" ...
// "= VE Delta +10"), lowest band first.
const std::array<std::string_view, kBandCount>& veLegendCaptions();
const std::array<std::string_view, kBandCount>& veDeltaLegendCaptions();
// The shorter texts of the printed report's legend ("=VE <10" ..., "=VE -10" ...).
const std::array<std::string_view, kBandCount>& veReportLegendTexts();
const std::array<std::string_view, kBandCount>& veDeltaReportLegendTexts();

}  // namespace tallimar::plot
