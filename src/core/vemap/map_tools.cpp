// Pulse-width scaling and target-AFR recomputation of the VE table.
#include "vemap/map_tools.h"

#include <cmath>
#include <optional>

#include "common/number_text.h"

namespace tallimar::vemap {

ScaleOutcome scaleByPulseWidth(VeTable& table, double oldPw, double newPw) {
  if (oldPw == 0 || newPw == 0) return ScaleOutcome::ZeroPulseWidth;
  VeTable scaled = table;
  for (int r = 0; r < table.activeRpm(); ++r) {
    for (int m = 0; m < table.activeMap(); ++m) {
      const auto value = common::toInt16(oldPw / newPw * table.at(r, m));
      if (!value) return ScaleOutcome::OutOfRange;
      scaled.at(r, m) = *value;
    }
  }
  table = scaled;
  return ScaleOutcome::Scaled;
}

AfrGrid afrGridFromTable(const VeTable& table) {
  AfrGrid grid{};
  for (int r = 0; r < kMaxBins; ++r) {
    for (int m = 0; m < kMaxBins; ++m) {
      grid[static_cast<std::size_t>(r)][static_cast<std::size_t>(m)] = table.at(r, m);
    }
  }
  return grid;
}

AfrPreviewResult previewTargetAfr(const VeTable& table, double baseline,
                                  const std::array<double, kMaxBins>& targets, AfrGrid& shown) {
  if (!(baseline > 0) || !std::isfinite(baseline)) {
    return {AfrPreviewOutcome::InvalidBaseline, -1};
  }
  for (int m = 0; m < table.activeMap(); ++m) {
    const double target = targets[static_cast<std::size_t>(m)];
    if (!(target > 0)) return {AfrPreviewOutcome::StoppedAtRow, m};
    for (int r = 0; r < table.activeRpm(); ++r) {
      shown[static_cast<std::size_t>(r)][static_cast<std::size_t>(m)] =
          common::roundHalfEven(table.at(r, m) * baseline / target);
    }
  }
  return {};
}

bool applyTargetAfr(VeTable& table, const AfrGrid& shown) {
  VeTable applied = table;
  for (int r = 0; r < table.activeRpm(); ++r) {
    for (int m = 0; m < table.activeMap(); ++m) {
      const auto value =
          common::toInt16(shown[static_cast<std::size_t>(r)][static_cast<std::size_t>(m)]);
      if (!value) return false;
      applied.at(r, m) = *value;
    }
  }
  table = applied;
  return true;
}

}  // namespace tallimar::vemap
