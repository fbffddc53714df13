// Reading the low-density VE table between its bins: straight-line interpolation and the
// bilinear lookup the table plots (screen and paper) sample the table with.
#pragma once

#include "vemap/ve_table.h"

namespace tallimar::plot {

// y1 + (x - x1) * (y2 - y1) / (x2 - x1), in double precision; beyond [x1, x2] the line is
// extended. Two equal positions (x1 == x2) do not define a line: the result is then the
// mean of y1 and y2 whatever x is, which is y1 when both values agree and never infinite.
double InterpolateLinear(double x1, double x2, double y1, double y2, double x);

// Bilinear VE at (map kPa, rpm rev/min) from the first eight bins of each axis (indices
// 0..7), whatever the table's active size. Each axis takes the bin pair k, k+1 whose range
// holds the position (the last such k when the bins do not ascend); a position below bin 0
// uses pair 0, 1 and one at or above bin 7 pair 6, 7, extended as straight lines.
double LookupVE(const vemap::VeTable& table, double map, double rpm);

}  // namespace tallimar::plot
