// Synthetic maps for the plot tests, benchmarks and pictures: a smooth VE surface, noisy raw data.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/raw_data_map.h"
#include "vemap/filtered_map.h"
#include "vemap/ve_table.h"
#include "workspace/view_inputs.h"
#include "workspace/workspace.h"

namespace tallimar::plot::fixtures {

// VE at RPM index j and MAP i kPa, spanning every colour band below 100 kPa.
inline double smoothVe(double j, double i) {
  return 8.0 + 0.8 * i + 14.0 * std::sin(j / 150.0 * 3.14159265358979);
}

// Every cell of the grid: the smooth surface with a deterministic wobble of up to +/-4.
inline void fillRawMap(engine::RawDataMap& raw) {
  for (int j = 1; j < engine::kRawRpmCells; ++j)
    for (int i = 1; i < engine::kRawMapCells; ++i) {
      const int wobble = (j * 7 + i * 13) % 9 - 4;
      const auto ve = static_cast<std::int16_t>(std::lround(smoothVe(j, i)) + wobble);
      auto& cell = raw.at(j, i);
      cell.average = ve > 0 ? ve : std::int16_t{1};
      cell.median = cell.average;
    }
}

inline void fillFilteredMap(vemap::FilteredMap& filtered) {
  for (int j = 1; j < engine::kRawRpmCells; ++j)
    for (int i = 1; i < engine::kRawMapCells; ++i)
      filtered.at(j, i) = static_cast<float>(std::round(smoothVe(j, i) * 2.0) / 2.0);
}

// A table with bins spread evenly over the given ranges, its values read off the surface.
inline vemap::VeTable sampledTable(int sizeRpm, int sizeMap, int firstRpm, int lastRpm,
                                   int firstMap, int lastMap) {
  vemap::VeTable t;
  t.setStartupBins();
  t.sizeRpm = static_cast<std::int16_t>(sizeRpm);
  t.sizeMap = static_cast<std::int16_t>(sizeMap);
  for (int k = 0; k < sizeRpm; ++k)
    t.rpmBins[static_cast<std::size_t>(k)] = static_cast<std::int16_t>(
        firstRpm + (lastRpm - firstRpm) * k / std::max(1, sizeRpm - 1) / 100 * 100);
  for (int k = 0; k < sizeMap; ++k)
    t.mapBins[static_cast<std::size_t>(k)] =
        static_cast<std::int16_t>(firstMap + (lastMap - firstMap) * k / std::max(1, sizeMap - 1));
  for (int r = 0; r < sizeRpm; ++r)
    for (int m = 0; m < sizeMap; ++m)
      t.ve[static_cast<std::size_t>(r)][static_cast<std::size_t>(m)] = static_cast<std::int16_t>(
          std::lround(smoothVe(t.rpmBins[static_cast<std::size_t>(r)] / 100.0,
                               t.mapBins[static_cast<std::size_t>(m)])));
  t.lowDensityMapPresent = true;
  t.filteredMapPresent = true;
  return t;
}

// Every map full: raw and filtered data in every cell, a table over 1500..9500 rev/min.
inline void fillWorkspace(workspace::Workspace& ws, int tableSize = 16) {
  fillRawMap(ws.rawMap);
  fillFilteredMap(ws.filteredMap);
  ws.veTable = sampledTable(tableSize, tableSize, 1500, 9500, 15, 100);
  ws.rawDataMapPresent = true;
}

// One full workspace (16 x 16 table) per process, for the benchmarks.
inline const workspace::Workspace& fullWorkspace() {
  static const workspace::Workspace* ws = [] {
    auto* w = new workspace::Workspace;
    fillWorkspace(*w, 16);
    return w;
  }();
  return *ws;
}

}  // namespace tallimar::plot::fixtures
