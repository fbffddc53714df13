// The raw-map filter written the plain way (literal basis, a list of values per cell), as a
// reference for the tests and the benchmark.
#pragma once

#include <vector>

#include "common/number_text.h"
#include "engine/raw_data_map.h"
#include "vemap/bspline.h"
#include "vemap/filtered_map.h"
#include "vemap/raw_filter.h"

namespace tallimar::vemap::reference {

inline FilteredMap literalFilter(const engine::RawDataMap& raw, const FilterOptions& options) {
  using engine::kRawMapCells;
  using engine::kRawRpmCells;
  FilteredMap result;
  std::vector<std::vector<double>> pending(static_cast<std::size_t>(kRawRpmCells * kRawMapCells));
  auto cellIndex = [](int r, int m) { return static_cast<std::size_t>(r * kRawMapCells + m); };
  auto close = [&] {
    for (int r = 0; r < kRawRpmCells; ++r) {
      for (int m = 0; m < kRawMapCells; ++m) {
        auto& list = pending[cellIndex(r, m)];
        if (list.empty()) continue;
        result.at(r, m) = static_cast<float>(meanOfValues(list));
        list.clear();
      }
    }
  };
  // One line: positions 1..count along it, value(position), deposit(position, y).
  auto fitLine = [&](int count, int percent, auto value, auto deposit) {
    std::vector<Point> control;
    for (int p = 1; p <= count; ++p) {
      if (value(p) > 0) control.push_back({static_cast<double>(p), value(p)});
    }
    if (control.size() <= 3) return;
    const int order = filterOrder(static_cast<int>(control.size()), percent);
    for (const Point& q : bSplineCurveLiteral(control, order, kFilterCurvePoints - 1)) {
      if (!(q.y > 0)) continue;
      const int cell = static_cast<int>(common::roundHalfEven(q.x));
      deposit(cell, q.y);
    }
  };
  for (int c = 1; c < kRawRpmCells; ++c) {
    fitLine(
        kRawMapCells - 1, options.smoothingStep1,
        [&](int p) { return static_cast<double>(raw.at(c, p).average); },
        [&](int m, double y) { pending[cellIndex(c, m)].push_back(y); });
  }
  close();
  if (options.twoStep) {
    for (int p = 1; p < kRawMapCells; ++p) {
      fitLine(
          kRawRpmCells - 1, options.smoothingStep2,
          [&](int c) { return static_cast<double>(result.at(c, p)); },
          [&](int r, double y) { pending[cellIndex(r, p)].push_back(y); });
    }
    close();
  }
  return result;
}

}  // namespace tallimar::vemap::reference
