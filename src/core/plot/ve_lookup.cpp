// Bilinear lookup in the low-density VE table.
#include "plot/ve_lookup.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace tallimar::plot {

namespace {

constexpr int kLookupBins = 8;  // the lookup always spans the first eight bins

// Index k of the bin pair k, k+1 used for `position`.
int bracket(const std::array<std::int16_t, vemap::kMaxBins>& bins, double position) {
  if (position < bins[0]) return 0;
  if (position >= bins[kLookupBins - 1]) return kLookupBins - 2;
  int found = 0;
  for (int k = 0; k < kLookupBins - 1; ++k) {
    const auto lower = bins[static_cast<std::size_t>(k)];
    const auto upper = bins[static_cast<std::size_t>(k + 1)];
    if (lower <= position && position < upper) found = k;
  }
  return found;
}

}  // namespace

double InterpolateLinear(double x1, double x2, double y1, double y2, double x) {
  if (x1 == x2) return (y1 + y2) / 2.0;
  return y1 + (x - x1) * (y2 - y1) / (x2 - x1);
}

double LookupVE(const vemap::VeTable& table, double map, double rpm) {
  const auto a = static_cast<std::size_t>(bracket(table.rpmBins, rpm));
  const auto b = static_cast<std::size_t>(bracket(table.mapBins, map));
  const double rpmLow = table.rpmBins[a];
  const double rpmHigh = table.rpmBins[a + 1];
  const double lowerRow =
      InterpolateLinear(rpmLow, rpmHigh, table.ve[a][b], table.ve[a + 1][b], rpm);
  const double upperRow =
      InterpolateLinear(rpmLow, rpmHigh, table.ve[a][b + 1], table.ve[a + 1][b + 1], rpm);
  return InterpolateLinear(table.mapBins[b], table.mapBins[b + 1], lowerRow, upperRow, map);
}

}  // namespace tallimar::plot
