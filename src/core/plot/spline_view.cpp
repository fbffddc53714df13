// The filtering preview.
#include "plot/spline_view.h"

#include <algorithm>
#include <cmath>

#include "plot/colour_scale.h"
#include "plot/ve_views.h"

namespace tallimar::plot {

namespace {

constexpr Rgb kGuide{0, 255, 0};
constexpr Rgb kControl{255, 0, 0};
constexpr Rgb kCurve{0, 0, 0};
constexpr double kVeGuideStep = 20;

double highestVe(const std::vector<CurvePoint>& a, const std::vector<CurvePoint>& b) {
  double top = 0;
  for (const auto* points : {&a, &b})
    for (const CurvePoint& p : *points)
      if (std::isfinite(p.y)) top = std::max(top, p.y);
  return top;
}

// Vertical guide positions: the active MAP bins in step 1, every 1000 rev/min in step 2.
std::vector<double> guidePositions(FilterStep step, const vemap::VeTable& t, double right) {
  std::vector<double> at;
  if (step == FilterStep::AlongMap) {
    const int count = std::clamp<int>(t.sizeMap, 1, vemap::kMaxBins);
    for (int k = 0; k < count; ++k) at.push_back(t.mapBins[static_cast<std::size_t>(k)]);
  } else {
    for (double x = 0; x <= right && at.size() < 400; x += 10) at.push_back(x);
  }
  return at;
}

}  // namespace

DrawList splineView(FilterStep step, const std::vector<CurvePoint>& controlPoints,
                    const std::vector<CurvePoint>& curve, const vemap::VeTable& table,
                    const settings::Settings& settings) {
  double left = 0;
  double right = settings.rpmMax / 100.0;
  if (step == FilterStep::AlongMap) {
    left = table.mapBins[0];
    right = table.mapBins[static_cast<std::size_t>(
        std::clamp<int>(table.sizeMap, 1, vemap::kMaxBins) - 1)];
  }
  if (left > right) std::swap(left, right);
  if (left == right) right = left + 1;
  const double top = std::max(
      120.0, std::ceil((highestVe(controlPoints, curve) + 1) / kVeGuideStep) * kVeGuideStep);

  DrawList list;
  list.widthTwips = kSplineViewWidthTwips;
  list.heightTwips = kSplineViewHeightTwips;
  list.scale = {left, top, right - left, -top};
  for (double x : guidePositions(step, table, right)) list.add(Line{x, 0, x, top, kGuide});
  for (double ve = kVeGuideStep; ve < top; ve += kVeGuideStep)
    list.add(Line{left, ve, right, ve, kGuide});
  for (std::size_t h = 0; h < controlPoints.size(); ++h) {
    const CurvePoint& p = controlPoints[h];
    if (h > 0) list.add(Line{controlPoints[h - 1].x, controlPoints[h - 1].y, p.x, p.y, kControl});
    list.add(Circle{p.x, p.y, 0.5, kControl, false});
  }
  for (std::size_t i = 1; i < curve.size(); ++i)
    list.add(Line{curve[i - 1].x, curve[i - 1].y, curve[i].x, curve[i].y, kCurve});
  return list;
}

Box filterCurvePointBox(FilterStep step, int line, CurvePoint q,
                        const settings::Settings& settings) {
  const bool alongMap = step == FilterStep::AlongMap;
  const double rpm = alongMap ? 100.0 * line : 100.0 * q.x;
  const double map = alongMap ? q.x : static_cast<double>(line);
  return dataPointBox(settings, rpm, map, veColour(q.y));
}

}  // namespace tallimar::plot
