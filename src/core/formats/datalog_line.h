// The datalog layouts, their column table, and how one data line becomes a DatalogRecord.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/datalog_record.h"

namespace tallimar::formats {

enum class DatalogLayout {
  NoLineFeed,  // header first field "Seconds"; lines end with LF only
  Classic,     // header line begins with "Seconds"; lines end with CR or CR LF
  Full,        // header line begins with "Time"; RPM in hundreds; lines end with CR or CR LF
  Msl,         // columns found by name in a header among the first lines (datalog_msl.h)
};

// Lines longer than this (line end not counted) are refused: no datalog line comes near it,
// and the limit keeps a hostile file from making the reader hold a huge line.
inline constexpr std::size_t kMaxDatalogLineBytes = std::size_t{1} << 20;

// The record fields a datalog column can fill. The whole-number fields keep their place in
// this order in the readers' number arrays (O2 has a place there that stays unused).
enum class DatalogField : std::uint8_t {
  Seconds,
  Rpm,
  Map,
  O2,
  Status,
  Gego,
  Gair,
  Gwarm,
  Gbaro,
  Gve,
  GammaE,
  O2Target,  // what the O2 signal crosses at stoichiometric (named-column logs)
  None,      // a column that is not read
};
inline constexpr std::size_t kDatalogFieldCount = 12;  // the fields before None

// Which field each column fills, columns counted from 0; a data line needs at least as many
// columns as its layout lists, and the columns after them are not read.
inline constexpr std::array<DatalogField, 11> kShortLayoutColumns{
    DatalogField::Seconds, DatalogField::Rpm,  DatalogField::Map,   DatalogField::O2,
    DatalogField::Status,  DatalogField::Gego, DatalogField::Gair,  DatalogField::Gwarm,
    DatalogField::Gbaro,   DatalogField::Gve,  DatalogField::GammaE};
inline constexpr std::array<DatalogField, 16> kFullLayoutColumns{
    DatalogField::None,   DatalogField::Seconds, DatalogField::Rpm,  DatalogField::Map,
    DatalogField::None,   DatalogField::O2,      DatalogField::None, DatalogField::None,
    DatalogField::Status, DatalogField::Gego,    DatalogField::Gair, DatalogField::Gwarm,
    DatalogField::Gbaro,  DatalogField::GammaE,  DatalogField::None, DatalogField::Gve};

// Named-column logs have no fixed columns: an empty table.
constexpr std::span<const DatalogField> layoutColumns(DatalogLayout layout) {
  if (layout == DatalogLayout::Full) return kFullLayoutColumns;
  if (layout == DatalogLayout::Msl) return {};
  return kShortLayoutColumns;
}

// The full layout logs RPM in hundreds of rev/min; the record holds rev/min.
constexpr std::int32_t rpmFactor(DatalogLayout layout) {
  return layout == DatalogLayout::Full ? 100 : 1;
}

// The field's name as status lines show it ("Gve", "GammaE").
std::string_view fieldName(DatalogField field);

// The record's 16-bit field of a whole-number DatalogField (not O2 or None).
template <DatalogField kField>
constexpr std::int16_t& wholeNumberField(engine::DatalogRecord& record) {
  static_assert(kField != DatalogField::O2 && kField != DatalogField::O2Target &&
                kField != DatalogField::None);
  if constexpr (kField == DatalogField::Seconds) return record.seconds;
  if constexpr (kField == DatalogField::Rpm) return record.rpm;
  if constexpr (kField == DatalogField::Map) return record.map;
  if constexpr (kField == DatalogField::Status) return record.status;
  if constexpr (kField == DatalogField::Gego) return record.gego;
  if constexpr (kField == DatalogField::Gair) return record.gair;
  if constexpr (kField == DatalogField::Gwarm) return record.gwarm;
  if constexpr (kField == DatalogField::Gbaro) return record.gbaro;
  if constexpr (kField == DatalogField::Gve) return record.gve;
  if constexpr (kField == DatalogField::GammaE) return record.gammaE;
}

// The status line that announces a read in this layout,
// e.g. "Reading DataLog File (Classic - LineFeeds)".
std::string_view layoutStatusLine(DatalogLayout layout);

// Columns a data line must have at least: 11 (no-line-feed, classic) or 16 (full).
constexpr std::size_t requiredColumns(DatalogLayout layout) { return layoutColumns(layout).size(); }

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
                                         engine::DatalogRecord& record);

// Stores the checked whole numbers of a line, indexed by DatalogField, in the record.
void setWholeNumberFields(engine::DatalogRecord& record,
                          const std::array<std::int32_t, kDatalogFieldCount>& numbers);

}  // namespace tallimar::formats
