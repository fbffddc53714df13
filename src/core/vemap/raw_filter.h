// "Filter Raw Datalog": smooths the raw data map into the filtered data map with B-spline
// curves, first along MAP in every RPM column, then (two-step filtering) along RPM in every
// MAP row of that result.
//
// Each line with more than three data points is fitted with a curve of 256 points whose
// order is the smoothing percentage of its point count. Every curve point above 0 adds its
// VE to the cell it rounds to (halves to even); after a step each cell that received values
// takes their mean, rounded halves to even. Two-step filtering replaces a cell's step-1
// value only where step 2 delivered values.
#pragma once

#include <functional>
#include <span>

#include "engine/raw_data_map.h"
#include "vemap/bspline.h"
#include "vemap/filtered_map.h"

namespace tallimar::vemap {

inline constexpr int kFilterCurvePoints = 256;  // curve points per line, Q[0..255]

struct FilterOptions {
  int smoothingStep1 = 50;  // percent ("BSpline")
  int smoothingStep2 = 33;  // percent ("BSpline2")
  bool twoStep = false;     // "BSplineFilter" = 2
  // Horizontal range of the line preview: the active MAP bins in step 1 (kPa), 0 to
  // RPMMax / 100 in step 2 (hundreds of rev/min). Only passed through to FilterLine.
  double step1AxisFrom = 0, step1AxisTo = engine::kRawMapCells - 1;
  double step2AxisFrom = 0, step2AxisTo = engine::kRawRpmCells - 1;
};

// One line as the filter finished it, for a progress display. Step 1 lines are RPM columns
// (x = MAP kPa), step 2 lines are MAP rows (x = RPM in hundreds of rev/min). The spans are
// valid only during the callback. The preview window draws the control polygon (red, with
// a circle at each point) and the curve (black) over [axisFrom, axisTo]; the plot draws
// every curve point with y > 0 as a box in the VE colour of y at that line and x.
struct FilterLine {
  int step = 1;         // 1 or 2
  int line = 0;         // RPM column 1..150 (step 1) or MAP row 1..256 (step 2)
  int linesDone = 0;    // lines finished in this step, this one included
  int lineCount = 0;    // lines of this step (150 or 256)
  bool fitted = false;  // false: 3 or fewer data points, the line contributes nothing
  int order = 0;        // the curve's order when fitted
  std::span<const Point> controlPoints;
  std::span<const Point> curve;  // kFilterCurvePoints points when fitted
  double axisFrom = 0, axisTo = 0;
};

// Called after every line, in line order. Returning false stops the filtering; the output
// map is then left exactly as it was.
using FilterProgress = std::function<bool(const FilterLine&)>;

// The fine-grid cell a curve point's position falls in: the nearest whole number, halves
// to the even neighbour (62.5 -> 62, 63.5 -> 64).
int filterCellOf(double position);

// The mean of a cell's pending values: their sum in arrival order, divided by their count,
// rounded halves to even (61, 62 -> 62; 60, 61 -> 60). 0 for no values.
double meanOfValues(std::span<const double> values);

// The order of a line's curve: the whole part of pointCount x percent / 100, at least 2 and
// at most pointCount (an order above the point count has no curve; it becomes the single
// Bezier piece through all points).
int filterOrder(int pointCount, int percent);

struct FilterOutcome {
  bool completed = false;  // false when the progress callback stopped it
  int fittedStep1 = 0;     // RPM columns fitted
  int fittedStep2 = 0;     // MAP rows fitted (two-step only)
};

// Rebuilds out from raw (every cell's Average, values above 0 are data). out is replaced
// only when the filtering completes.
FilterOutcome filterRawMap(const engine::RawDataMap& raw, const FilterOptions& options,
                           FilteredMap& out, const FilterProgress& progress = {});

}  // namespace tallimar::vemap
