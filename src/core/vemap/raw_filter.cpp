// The two filtering steps over the fine grid, with per-cell pending values and shared bases.
#include "vemap/raw_filter.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "common/number_text.h"

namespace tallimar::vemap {

namespace {

using engine::kRawMapCells;
using engine::kRawRpmCells;

constexpr int kLastRpm = kRawRpmCells - 1;  // 150
constexpr int kLastMap = kRawMapCells - 1;  // 256

double roundedMean(double sum, int count) {
  return common::roundHalfEven(sum / static_cast<double>(count));
}

// The values a step collects per cell. Only their running sum (in arrival order, which is
// the order of a list summed from its start) and their count are needed for the mean.
class PendingValues {
 public:
  PendingValues()
      : m_sum(static_cast<std::size_t>(kRawRpmCells * kRawMapCells), 0.0),
        m_count(m_sum.size(), 0) {}

  void add(int rpmIndex, int mapKpa, double value) {
    if (!engine::RawDataMap::inside(rpmIndex, mapKpa)) return;
    const auto i = static_cast<std::size_t>(rpmIndex * kRawMapCells + mapKpa);
    m_sum[i] += value;
    ++m_count[i];
  }

  // Every cell with pending values takes their rounded mean; the lists are emptied.
  void close(FilteredMap& map) {
    for (int r = 0; r < kRawRpmCells; ++r) {
      for (int m = 0; m < kRawMapCells; ++m) {
        const auto i = static_cast<std::size_t>(r * kRawMapCells + m);
        if (m_count[i] == 0) continue;
        map.at(r, m) = static_cast<float>(roundedMean(m_sum[i], m_count[i]));
        m_sum[i] = 0.0;
        m_count[i] = 0;
      }
    }
  }

 private:
  std::vector<double> m_sum;
  std::vector<int> m_count;
};

using Shape = std::pair<int, int>;  // (n, order): n + 1 control points

// Bases shared by every line of one shape. Only the shapes of the current batch of lines
// are kept, which bounds the memory when every line has its own point count.
class BasisCache {
 public:
  void prepare(const std::set<Shape>& shapes) {
    for (auto it = m_tables.begin(); it != m_tables.end();) {
      it = shapes.count(it->first) ? std::next(it) : m_tables.erase(it);
    }
    for (const Shape& shape : shapes) {
      auto& slot = m_tables[shape];
      if (!slot) {
        slot = std::make_unique<BasisTable>(shape.first, shape.second, kFilterCurvePoints - 1);
      }
    }
  }
  const BasisTable& get(int n, int k) const { return *m_tables.at({n, k}); }

 private:
  std::map<Shape, std::unique_ptr<BasisTable>> m_tables;
};

struct StepShape {
  int step;
  int lineCount;   // 150 columns or 256 rows
  int pointCount;  // positions along a line: 256 MAP or 150 RPM
  int percent;
  double axisFrom, axisTo;
};

constexpr int kLinesPerBatch = 16;  // lines whose bases are kept at a time

// Runs one step. valueAt(line, position) gives a cell's input value; a curve point (x, y)
// of line L adds y to cell (L, round x) in step 1 and (round x, L) in step 2.
template <typename ValueAt>
bool runStep(const StepShape& shape, ValueAt valueAt, PendingValues& pending, int& fitted,
             const FilterProgress& progress) {
  BasisCache cache;
  std::vector<std::vector<Point>> controls(kLinesPerBatch);
  std::vector<Point> curve;
  for (int first = 1; first <= shape.lineCount; first += kLinesPerBatch) {
    const int last = std::min(shape.lineCount, first + kLinesPerBatch - 1);
    std::set<Shape> shapes;
    for (int line = first; line <= last; ++line) {
      auto& control = controls[static_cast<std::size_t>(line - first)];
      control.clear();
      for (int position = 1; position <= shape.pointCount; ++position) {
        const double value = valueAt(line, position);
        if (value > 0) control.push_back({static_cast<double>(position), value});
      }
      const int count = static_cast<int>(control.size());
      if (count > 3) shapes.insert({count - 1, filterOrder(count, shape.percent)});
    }
    cache.prepare(shapes);
    for (int line = first; line <= last; ++line) {
      const auto& control = controls[static_cast<std::size_t>(line - first)];
      const int count = static_cast<int>(control.size());
      const int order = count > 3 ? filterOrder(count, shape.percent) : 0;
      curve.clear();
      if (count > 3) {
        bSplineCurve(control, cache.get(count - 1, order), curve);
        for (const Point& point : curve) {
          if (!(point.y > 0)) continue;
          const int cell = filterCellOf(point.x);
          if (shape.step == 1)
            pending.add(line, cell, point.y);
          else
            pending.add(cell, line, point.y);
        }
        ++fitted;
      }
      if (progress) {
        const FilterLine view{shape.step, line,    line,  shape.lineCount, count > 3,
                              order,      control, curve, shape.axisFrom,  shape.axisTo};
        if (!progress(view)) return false;
      }
    }
  }
  return true;
}

}  // namespace

int filterCellOf(double position) {
  const double cell = common::roundHalfEven(position);
  // Positions far outside the grid (never produced by a curve through grid points) map to
  // a cell the pending lists ignore.
  if (!(cell >= -1.0 && cell <= static_cast<double>(kRawMapCells))) return -1;
  return static_cast<int>(cell);
}

double meanOfValues(std::span<const double> values) {
  if (values.empty()) return 0.0;
  double sum = 0.0;
  for (const double value : values) sum += value;
  return roundedMean(sum, static_cast<int>(values.size()));
}

int filterOrder(int pointCount, int percent) {
  int order = static_cast<int>(static_cast<long long>(pointCount) * percent / 100);
  if (order < 2) order = 2;
  if (order > pointCount) order = pointCount;
  return order;
}

FilterOutcome filterRawMap(const engine::RawDataMap& raw, const FilterOptions& options,
                           FilteredMap& out, const FilterProgress& progress) {
  FilterOutcome outcome;
  FilteredMap result;
  PendingValues pending;

  const StepShape alongMap{
      1, kLastRpm, kLastMap, options.smoothingStep1, options.step1AxisFrom, options.step1AxisTo};
  auto rawValue = [&raw](int column, int mapKpa) {
    return static_cast<double>(raw.at(column, mapKpa).average);
  };
  if (!runStep(alongMap, rawValue, pending, outcome.fittedStep1, progress)) return outcome;
  pending.close(result);

  if (options.twoStep) {
    const StepShape alongRpm{
        2, kLastMap, kLastRpm, options.smoothingStep2, options.step2AxisFrom, options.step2AxisTo};
    auto stepOneValue = [&result](int row, int column) {
      return static_cast<double>(result.at(column, row));
    };
    if (!runStep(alongRpm, stepOneValue, pending, outcome.fittedStep2, progress)) {
      return outcome;
    }
  }
  // The closing pass runs after one-step filtering too, where it finds nothing pending.
  pending.close(result);

  out = std::move(result);
  outcome.completed = true;
  return outcome;
}

}  // namespace tallimar::vemap
