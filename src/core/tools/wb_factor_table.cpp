// The wide-band O2 factor table and its *.inc file text.
//
// The fine table and the corrFac products are computed in single precision, as the
// calibration's AFRs are held, so that a value on a rounding boundary comes out the same
// way every time the table is made.
#include "tools/wb_factor_table.h"

#include <algorithm>
#include <cmath>

#include "common/number_text.h"

namespace tallimar::tools {
namespace {

// AFR texts of the rows filled on opening (rows 0..30).
constexpr const char* kInitialAfr[] = {
    "10.08", "10.23", "10.38", "10.53", "10.69", "10.86", "11.03", "11.20",
    "11.38", "11.57", "11.76", "11.96", "12.17", "12.38", "12.60", "12.83",
    "13.07", "13.31", "13.57", "13.84", "14.11", "14.40", "14.70", "15.25",
    "15.84", "16.48", "17.18", "17.93", "18.76", "19.66", "20.66"};

// The voltage of one step of the fine table, and the highest voltage a row may hold.
constexpr double kStepVolts = 5.0 / 511.0;
constexpr double kMaxVolts = 5.0 + kStepVolts;
constexpr float kRichLimit = 25.5f;  // AFR from the last calibration point on

}  // namespace

std::array<WbRow, kWbRowCount> initialWbRows() {
  std::array<WbRow, kWbRowCount> rows;
  for (std::size_t i = 0; i < std::size(kInitialAfr); ++i) {
    rows[i].volts = common::formatPattern(1.40 + 0.05 * static_cast<double>(i), "0.00");
    rows[i].afr = kInitialAfr[i];
  }
  return rows;
}

int usedWbRows(const std::vector<WbRow>& rows) {
  const auto empty =
      std::find_if(rows.begin(), rows.end(), [](const WbRow& row) { return row.volts.empty(); });
  return static_cast<int>(empty - rows.begin());
}

WbPoint wbPoint(const WbRow& row) {
  const double volts = common::parseLeadingNumber(row.volts);
  if (!(volts >= 0.0 && volts <= kMaxVolts)) return {};
  // 5 + 5/511 V lies on the top edge of step 511.
  const int position =
      std::min(static_cast<int>(std::floor(volts * 511.0 / 5.0)), kWbPositions - 1);
  return {position, static_cast<float>(common::parseLeadingNumber(row.afr))};
}

std::array<float, kWbPositions> wbFineTable(const std::vector<WbPoint>& points) {
  std::array<float, kWbPositions> table{};
  if (points.empty()) return table;
  for (int p = 0; p <= points.front().position; ++p) table[static_cast<std::size_t>(p)] = 0.0f;
  for (int p = points.back().position; p < kWbPositions; ++p)
    table[static_cast<std::size_t>(p)] = kRichLimit;
  for (std::size_t k = 0; k + 1 < points.size(); ++k) {
    const WbPoint& from = points[k];
    const WbPoint& to = points[k + 1];
    if (to.position == from.position) continue;  // refused by checkWbPoints
    // Multiplied before dividing, so that the line meets the second point exactly.
    const float rise = to.afr - from.afr;
    const auto run = static_cast<float>(to.position - from.position);
    for (int p = from.position; p <= to.position; ++p)
      table[static_cast<std::size_t>(p)] =
          from.afr + static_cast<float>(p - from.position) * rise / run;
  }
  return table;
}

common::Outcome checkWbPoints(const std::vector<WbPoint>& points) {
  for (std::size_t k = 0; k < points.size(); ++k) {
    const float corr = 10.0f * points[k].afr;
    if (!std::isfinite(corr) || std::fabs(corr) > 32767.0f)
      return common::fail("Row #" + std::to_string(k + 1) +
                          ": the A-F Ratio is too large for the table (at most 3276.7).");
    if (k + 1 < points.size() && points[k].position == points[k + 1].position)
      return common::fail("Rows #" + std::to_string(k + 1) + " and #" + std::to_string(k + 2) +
                          " have voltages within the same step of 5/511 V (about 0.01 V), so "
                          "no line can be drawn between them. Change one of the two voltages.");
  }
  return {};
}

std::int32_t wbCorrFac(const std::array<float, kWbPositions>& table, int adc) {
  const float corr = 10.0f * table[static_cast<std::size_t>(2 * adc + 1)];
  return static_cast<std::int32_t>(common::roundHalfEven(static_cast<double>(corr)));
}

std::string wbFactorFileText(const std::array<float, kWbPositions>& table) {
  std::string text;
  text.reserve(256 * 32);
  text += "; DIY-WB AFR * 10 to ADC count\r\n";
  text += "WBO2FAC: ;      corrFac   ADC   Volts (0 corrFac = out of sensor range)\r\n";
  for (int adc = 0; adc < 256; ++adc) {
    text += "\tDB\t";
    text += common::formatPattern(wbCorrFac(table, adc), "000");
    text += "T\t; ";
    text += common::formatPattern(adc, "000");
    text += " - ";
    text += common::formatPattern(adc * 5.0 / 255.0, "0.000");
    text += "\r\n";
  }
  return text;
}

}  // namespace tallimar::tools
