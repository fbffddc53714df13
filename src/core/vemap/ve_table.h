// The low-density VE table the ECU uses: up to 16 x 16 VE values over RPM and MAP bins.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

namespace tallimar::vemap {

inline constexpr int kMaxBins = 16;

struct VeTable {
  std::int16_t sizeRpm = 8;                                       // active RPM bins, 1..16
  std::int16_t sizeMap = 8;                                       // active MAP bins, 1..16
  std::array<std::int16_t, kMaxBins> rpmBins{};                   // rev/min
  std::array<std::int16_t, kMaxBins> mapBins{};                   // kPa
  std::array<std::array<std::int16_t, kMaxBins>, kMaxBins> ve{};  // [rpm index][map index], percent
  bool lowDensityMapPresent = false;
  bool filteredMapPresent = false;

  static constexpr bool validSize(int size) { return size >= 1 && size <= kMaxBins; }
  // The active bin counts, bounded to the arrays even if a size was set out of range.
  int activeRpm() const { return std::clamp<int>(sizeRpm, 0, kMaxBins); }
  int activeMap() const { return std::clamp<int>(sizeMap, 0, kMaxBins); }
  std::int16_t& at(int rpmIndex, int mapIndex) {
    return ve[static_cast<std::size_t>(rpmIndex)][static_cast<std::size_t>(mapIndex)];
  }
  std::int16_t at(int rpmIndex, int mapIndex) const {
    return ve[static_cast<std::size_t>(rpmIndex)][static_cast<std::size_t>(mapIndex)];
  }

  // The start-up bins: MAP bin i = (i+1) x 10 kPa, RPM bin i = (i+1) x 500 rev/min.
  void setStartupBins() {
    for (int i = 0; i < kMaxBins; ++i) {
      mapBins[static_cast<std::size_t>(i)] = static_cast<std::int16_t>((i + 1) * 10);
      rpmBins[static_cast<std::size_t>(i)] = static_cast<std::int16_t>((i + 1) * 500);
    }
  }
};

}  // namespace tallimar::vemap
