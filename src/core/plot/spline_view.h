// What "Filter Raw Datalog" shows while it works: the preview `SplineView` of the line being
// fitted (its data points and fitted curve) and, on the VE plot surface, one coloured box
// per accepted curve point. Progress only: nothing here changes the result.
#pragma once

#include <vector>

#include "plot/draw_list.h"
#include "settings/settings.h"
#include "vemap/ve_table.h"

namespace tallimar::plot {

struct CurvePoint {
  double x = 0;
  double y = 0;
};

// Step 1 fits each RPM column along MAP (x = MAP kPa); step 2 each MAP row along RPM
// (x = RPM index, hundreds of rev/min).
enum class FilterStep { AlongMap = 1, AlongRpm = 2 };

inline constexpr double kSplineViewWidthTwips = 5235;
inline constexpr double kSplineViewHeightTwips = 2655;

// The preview of one line: green guide lines, the control points joined by red lines with a
// red circle of radius 0.5 at each, and the fitted curve as black segments. Horizontally it
// spans the active MAP bins, first to last (step 1), or 0 to RPMMax / 100 (step 2); VE rises
// upwards from 0 to a round value above the highest point (at least 120).
DrawList splineView(FilterStep step, const std::vector<CurvePoint>& controlPoints,
                    const std::vector<CurvePoint>& curve, const vemap::VeTable& table,
                    const settings::Settings& settings);

// The box drawn on the VE plot surface for an accepted curve point q of the given line
// (RPM index of the column in step 1, MAP kPa of the row in step 2), in the VE colour of q.y.
Box filterCurvePointBox(FilterStep step, int line, CurvePoint q,
                        const settings::Settings& settings);

}  // namespace tallimar::plot
