// Synthetic maps for the plot tests, benchmarks and picture checks: a smooth VE surface over
// the whole fine grid, a noisy raw data map around it, and tables sampled from it.
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

// VE percent at RPM index j (hundreds of rev/min) and MAP i kPa: rises with MAP, peaks
// in the middle of the speed range; spans every colour band below 100 kPa.
inline double smoothVe(double j, double i) {
  return 8.0 + 0.8 * i + 14.0 * std::sin(j / 150.0 * 3.14159265358979);
}

// Every cell of RPM index 1..150 and MAP 1..256 holds data: the smooth surface with a
// deterministic wobble of up to +/-4.
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

// A table of the given size with bins spread over the settings' visible range, its values
// read off the smooth surface.
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

// A workspace with every map full: raw and filtered data in every cell and a 16 x 16 table
// spanning the default plot range (1200..10000 rev/min, 0..100 kPa).
inline void fillWorkspace(workspace::Workspace& ws, int tableSize = 16) {
  fillRawMap(ws.rawMap);
  fillFilteredMap(ws.filteredMap);
  ws.veTable = sampledTable(tableSize, tableSize, 1500, 9500, 15, 100);
  ws.rawDataMapPresent = true;
}

// One full workspace (16 x 16 table) per process, for the plot and report benchmarks.
inline const workspace::Workspace& fullWorkspace() {
  static const workspace::Workspace* ws = [] {
    auto* w = new workspace::Workspace;
    fillWorkspace(*w, 16);
    return w;
  }();
  return *ws;
}

}  // namespace tallimar::plot::fixtures
