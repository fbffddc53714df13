// "Calculate Map": the low-density VE table from the fine grid, each active bin getting the
// mean of the positive values in the 3 x 3 neighbourhood around its position.
//
// The fine grid is the filtered data map once filtering has run (the table's
// filteredMapPresent flag), the raw data map's Average before that. A bin's MAP position is
// its kPa, its RPM position its rev/min x 0.01 rounded to a column (halves to even). Bins
// are not checked against the grid: a neighbourhood position that falls outside the grid
// (negative bins, MAP above 256 kPa, RPM from 14951 to 14999 or from 15051 rev/min) is
// skipped, read as "no value", so the grid is never read outside its cells; the report
// counts such bins so a caller can say so.
#pragma once

#include <array>
#include <utility>
#include <vector>

#include "engine/raw_data_map.h"
#include "vemap/filtered_map.h"
#include "vemap/ve_table.h"

namespace tallimar::vemap {

// The three MAP rows of a MAP bin: below (M - 1 if M > 1, else 0), centre M, above
// (M + 1 if M < 255, else 0). Rows may lie outside 0..256 for bins outside the grid.
std::array<int, 3> mapNeighbourRows(int mapKpa);

// The three RPM columns of an RPM bin: R = rpm x 0.01; below R - 1 if R > 1, else 0;
// centre R; above R + 1 if R < 150, else 0; each rounded halves to even.
std::array<int, 3> rpmNeighbourColumns(int rpm);

struct CalculationReport {
  bool fromFilteredMap = false;
  int binsComputed = 0;     // bins given a new value
  int binsWithoutData = 0;  // no positive value around them: kept unchanged
  // Bins (RPM index, MAP index) whose mean lies outside 16 bits (only with extreme data, such
  // as a filtered map far out of range): kept unchanged.
  std::vector<std::pair<int, int>> binsOutOfRange;
  // Bins (RPM index, MAP index) with at least one neighbourhood position outside the grid.
  std::vector<std::pair<int, int>> binsOutsideGrid;
};

// Recomputes the active corner of table.ve; bins, sizes, flags and inactive cells are not
// touched (the command sets the low-density-map-present flag).
CalculationReport calculateMap(VeTable& table, const engine::RawDataMap& raw,
                               const FilteredMap& filtered);

}  // namespace tallimar::vemap
