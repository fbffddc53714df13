// The wide-band O2 factor table: a wide-band controller's calibration (output voltage and
// air-fuel ratio pairs) turned into the ECU's table of AFR x 10 for every 8-bit ADC count,
// written as the firmware's "diywbfactor.inc" source file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/expected.h"

namespace tallimar::tools {

inline constexpr int kWbRowCount = 40;    // calibration rows of the window
inline constexpr int kWbMinRows = 6;      // fewer used rows are refused
inline constexpr int kWbPositions = 512;  // the fine table: one entry per 5/511 V step
inline constexpr const char* kWbFactorFileName = "diywbfactor.inc";

// One calibration row as typed: voltage and AFR texts.
struct WbRow {
  std::string volts;
  std::string afr;
};

// The rows as the window shows them on opening: rows 0..30 hold 1.40 V .. 2.90 V in 0.05 V
// steps with their AFRs, rows 31..39 are empty.
std::array<WbRow, kWbRowCount> initialWbRows();

// The rows in use: those before the first row whose voltage text is empty.
int usedWbRows(const std::vector<WbRow>& rows);

// One used row as a calibration point: position = floor(volts x 511 / 5), the step of the
// voltage, and the AFR in single precision. A voltage outside 0 .. 5 + 5/511 V gives
// position 0 and AFR 0. Texts are read as leading numbers.
struct WbPoint {
  int position = 0;
  float afr = 0.0f;
};
WbPoint wbPoint(const WbRow& row);

// The fine table T[0..511] for points in row order: 0 up to the first point's position,
// 25.5 from the last point's position on, and straight lines between consecutive points
// (a pair whose second position is lower sets nothing). Entries nothing sets are 0.
// Consecutive points must not share a position (see checkWbPoints).
std::array<float, kWbPositions> wbFineTable(const std::vector<WbPoint>& points);

// Refuses a calibration the table cannot be made from: two consecutive used rows in the same
// voltage step (the line between them would divide by zero), or an AFR whose corrFac would
// not fit a 16-bit table entry. The reason names the rows as the window numbers them ("#3").
common::Outcome checkWbPoints(const std::vector<WbPoint>& points);

// The corrFac of ADC count a (0..255): 10 x T[2a + 1], rounded half to even.
std::int32_t wbCorrFac(const std::array<float, kWbPositions>& table, int adc);

// The whole file: two header lines and 256 data lines "<TAB>DB<TAB>101T<TAB>; 071 - 1.392",
// every line ended by CR LF.
std::string wbFactorFileText(const std::array<float, kWbPositions>& table);

}  // namespace tallimar::tools
