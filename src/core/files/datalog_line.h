// The three datalog layouts and how one data line becomes a DatalogRecord.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "files/datalog_record.h"

namespace tallimar::files {

enum class DatalogLayout {
  NoLineFeed,  // header first field "Seconds"; lines end with LF only
  Classic,     // header line begins with "Seconds"; lines end with CR or CR LF
  Full,        // header line begins with "Time"; RPM in hundreds; lines end with CR or CR LF
};

// The status line that announces a read in this layout,
// e.g. "Reading DataLog File (Classic - LineFeeds)".
std::string_view layoutStatusLine(DatalogLayout layout);

// Columns a data line must have at least: 11 (no-line-feed, classic) or 16 (full).
std::size_t requiredColumns(DatalogLayout layout);

// Reads a 16-bit column: the whole text, blanks around it allowed, must be one decimal number
// ("." separator, optional sign and exponent); it is rounded down (floor) and must lie in
// -32768..32767. An empty column is not a number.
enum class FieldProblem { None, NotANumber, OutOfRange };
FieldProblem readFlooredField(std::string_view text, std::int32_t& value);

// Reads the O2 column leniently: leading blanks skipped, the number ends at the first
// character that cannot continue it, text without a leading number reads 0 V. Only a value
// beyond the single-precision range is refused (OutOfRange).
FieldProblem readO2Field(std::string_view text, float& volts);

// Fills a record from one data line (without its line end). On a problem the record is
// undefined and the returned text says what was wrong, e.g. "fewer than 11 columns (7)",
// "blank line" or "MAP (column 3) \"abc\" is not a number".
std::optional<std::string> parseDataLine(std::string_view line, DatalogLayout layout,
                                         DatalogRecord& record);

// Stores the checked whole numbers of a line's eleven 16-bit places (Seconds, RPM, MAP, the
// O2 place unused, Status, Gego, three further fields, Gve, GammaE) in the record.
inline void setWholeNumberFields(DatalogRecord& record, const std::array<std::int32_t, 11>& numbers) {
  auto to16 = [&](std::size_t f) { return static_cast<std::int16_t>(numbers[f]); };
  record.seconds = to16(0);
  record.rpm = to16(1);
  record.map = to16(2);
  record.status = to16(4);
  record.gego = to16(5);
  record.further = {to16(6), to16(7), to16(8)};
  record.gve = to16(9);
  record.gammaE = to16(10);
}

}  // namespace tallimar::files
