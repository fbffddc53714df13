// The map tools of the VE table window: "Scale LD Map" (old / new required-fuel pulse width)
// and "Create WB Target AFR Map" (baseline AFR / target AFR per MAP row, as a preview grid
// that "OK" copies into the table). Both change only the active corner of VE values.
#pragma once

#include <array>

#include "vemap/ve_table.h"

namespace tallimar::vemap {

inline constexpr const char* kPulseWidthMessage = "Value must be greater than 0";
inline constexpr const char* kBaselineAfrMessage = "Invalid Value for Baseline AFR";
// Shown when a result would not fit the table's 16-bit values; nothing is changed then.
inline constexpr const char* kVeRangeMessage = "VE values must lie between -32768 and 32767";

enum class ScaleOutcome { Scaled, ZeroPulseWidth, OutOfRange };

// VE(r, m) = oldPw / newPw x VE(r, m) in double precision, rounded halves to even, for every
// active cell. A zero pulse width (ZeroPulseWidth) or a result outside 16 bits (OutOfRange)
// leaves the whole table unchanged. Negative widths are accepted.
ScaleOutcome scaleByPulseWidth(VeTable& table, double oldPw, double newPw);

// The numbers the AFR dialog's grid shows, [RPM index][MAP index]; whole numbers, kept as
// doubles because a preview may show values the table cannot hold.
using AfrGrid = std::array<std::array<double, kMaxBins>, kMaxBins>;

// The grid as the dialog opens: the table's values.
AfrGrid afrGridFromTable(const VeTable& table);

enum class AfrPreviewOutcome { Complete, InvalidBaseline, StoppedAtRow };
struct AfrPreviewResult {
  AfrPreviewOutcome outcome = AfrPreviewOutcome::Complete;
  int stoppedRow = -1;  // MAP row whose target was not positive (StoppedAtRow)
};

// One preview run. A baseline <= 0 (or not finite) changes nothing (InvalidBaseline: the
// dialog shows kBaselineAfrMessage). Otherwise MAP row by row, from the table (never from
// an earlier preview): shown(r, m) = VE(r, m) x baseline / target(m), rounded halves to
// even; a row whose target is <= 0 stops the run, rows from it on keep what they showed.
AfrPreviewResult previewTargetAfr(const VeTable& table, double baseline,
                                  const std::array<double, kMaxBins>& targets, AfrGrid& shown);

// "OK": every active VE value becomes the number its cell shows. If any of them does not
// fit 16 bits nothing is written and false is returned.
bool applyTargetAfr(VeTable& table, const AfrGrid& shown);

}  // namespace tallimar::vemap
