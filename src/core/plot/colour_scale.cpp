// Band edges of the VE and VE delta colour scales.
#include "plot/colour_scale.h"

namespace tallimar::plot {

int veBand(double ve) {
  // Lower edges are inclusive: 10 is the first value of band 1, 100 of band 10.
  for (int band = kBandCount - 1; band > 0; --band)
    if (ve >= 10.0 * band) return band;
  return 0;
}

int veDeltaBand(double delta) {
  // Upper edges are inclusive: a delta of exactly 1 is still the middle band.
  static constexpr std::array<double, kBandCount - 1> kUpperEdges{-10, -6, -4, -2, -1,
                                                                  1,   2,  4,  6,  10};
  for (int band = kBandCount - 1; band > 0; --band)
    if (delta > kUpperEdges[static_cast<std::size_t>(band - 1)]) return band;
  return 0;
}

const std::array<std::string_view, kBandCount>& veLegendCaptions() {
  static constexpr std::array<std::string_view, kBandCount> kCaptions{
      "= VE < 10",          "= VE >= 10 && < 20",  "= VE >= 20 && < 30", "= VE >= 30 && < 40",
      "= VE >= 40 && < 50", "= VE >= 50 && < 60",  "= VE >= 60 && < 70", "= VE >= 70 && < 80",
      "= VE >= 80 && < 90", "= VE >= 90 && < 100", "= VE >= 100"};
  return kCaptions;
}

const std::array<std::string_view, kBandCount>& veDeltaLegendCaptions() {
  static constexpr std::array<std::string_view, kBandCount> kCaptions{
      "= VE Delta -10",   "= VE Delta -10 -6", "= VE Delta -6 -4", "= VE Delta -4 -2",
      "= VE Delta -2 -1", "= VE Delta -1 +1",  "= VE Delta +1 +2", "= VE Delta +2 +4",
      "= VE Delta +4 +6", "= VE Delta +6 +10", "= VE Delta +10"};
  return kCaptions;
}

const std::array<std::string_view, kBandCount>& veReportLegendTexts() {
  static constexpr std::array<std::string_view, kBandCount> kTexts{
      "=VE <10",        "=VE >=10 & <20",  "=VE >=20 & <30", "=VE >=30 & <40",
      "=VE >=40 & <50", "=VE >=50 & <60",  "=VE >=60 & <70", "=VE >=70 & <80",
      "=VE >=80 & <90", "=VE >=90 & <100", "=VE >=100"};
  return kTexts;
}

const std::array<std::string_view, kBandCount>& veDeltaReportLegendTexts() {
  static constexpr std::array<std::string_view, kBandCount> kTexts{
      "=VE -10",   "=VE -10 -6", "=VE -6 -4", "=VE -4 -2",  "=VE -2 -1", "=VE -1 +1",
      "=VE +1 +2", "=VE +2 +4",  "=VE +4 +6", "=VE +6 +10", "=VE +10"};
  return kTexts;
}

}  // namespace tallimar::plot
