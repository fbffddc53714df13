// The low-density VE table the ECU uses: up to 16 x 16 VE values over RPM and MAP bins.
#pragma once

#include <array>
#include <cstdint>

namespace tallimar::vemap {

inline constexpr int kMaxBins = 16;

struct VeTable {
  std::int16_t sizeRpm = 8;  // active RPM bins, 1..16
  std::int16_t sizeMap = 8;  // active MAP bins, 1..16
  std::array<std::int16_t, kMaxBins> rpmBins{};  // rev/min
  std::array<std::int16_t, kMaxBins> mapBins{};  // kPa
  std::array<std::array<std::int16_t, kMaxBins>, kMaxBins> ve{};  // [rpm index][map index], percent
  bool lowDensityMapPresent = false;
  bool filteredMapPresent = false;

  // The start-up bins: MAP bin i = (i+1) x 10 kPa, RPM bin i = (i+1) x 500 rev/min.
  void setStartupBins() {
    for (int i = 0; i < kMaxBins; ++i) {
      mapBins[static_cast<std::size_t>(i)] = static_cast<std::int16_t>((i + 1) * 10);
      rpmBins[static_cast<std::size_t>(i)] = static_cast<std::int16_t>((i + 1) * 500);
    }
  }
};

}  // namespace tallimar::vemap
