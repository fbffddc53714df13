// The 3 x 3 neighbourhood mean of every active bin, in single precision as the table keeps it.
#include "vemap/map_calculation.h"

#include "common/number_text.h"

namespace tallimar::vemap {

std::array<int, 3> mapNeighbourRows(int mapKpa) {
  const int below = mapKpa > 1 ? mapKpa - 1 : 0;
  const int above = mapKpa < 255 ? mapKpa + 1 : 0;
  return {below, mapKpa, above};
}

std::array<int, 3> rpmNeighbourColumns(int rpm) {
  const double r = rpm * 0.01;
  const double below = r > 1 ? r - 1 : 0;
  const double above = r < 150 ? r + 1 : 0;
  auto column = [](double position) { return static_cast<int>(common::roundHalfEven(position)); };
  return {column(below), column(r), column(above)};
}

CalculationReport calculateMap(VeTable& table, const engine::RawDataMap& raw,
                               const FilteredMap& filtered) {
  CalculationReport report;
  report.fromFilteredMap = table.filteredMapPresent;
  auto valueAt = [&](int column, int row) -> float {
    if (report.fromFilteredMap) return filtered.at(column, row);
    return static_cast<float>(raw.at(column, row).average);
  };
  for (int m = 0; m < table.activeMap(); ++m) {
    for (int r = 0; r < table.activeRpm(); ++r) {
      const auto rows = mapNeighbourRows(table.mapBins[static_cast<std::size_t>(m)]);
      const auto columns = rpmNeighbourColumns(table.rpmBins[static_cast<std::size_t>(r)]);
      float sum = 0.0f;
      int count = 0;
      bool outside = false;
      for (const int column : columns) {
        for (const int row : rows) {
          if (!engine::RawDataMap::inside(column, row)) {
            outside = true;  // skipped: no cell there
            continue;
          }
          const float value = valueAt(column, row);
          sum += value;
          if (value > 0) ++count;
        }
      }
      if (outside) report.binsOutsideGrid.emplace_back(r, m);
      if (count == 0) {
        ++report.binsWithoutData;
        continue;
      }
      const auto mean = common::toInt16(static_cast<double>(sum) / count);
      if (!mean) {
        report.binsOutOfRange.emplace_back(r, m);
        continue;
      }
      table.at(r, m) = *mean;
      ++report.binsComputed;
    }
  }
  return report;
}

}  // namespace tallimar::vemap
