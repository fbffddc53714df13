// The VE table of an XML tune file (*.msq, "<?xml ... <msq ..."), as today's tuning software
// keeps a whole ECU tune: reading the table out of one, and writing a table back into a
// copy of one that changes nothing else.
//
// A tune holds its settings as <constant name="..." rows="R" cols="C" digits="D"> elements
// whose text is R x C numbers, row by row. The VE table is the first constant named
// veTable1 or veBins1 that has rows and cols; its rows are MAP bins from the lowest, its
// columns RPM bins. The RPM axis is the first of frpm_table1, frpm_table, rpmBins1 whose
// length is the table's column count, the MAP axis the same among fmap_table1,
// fmap_table, mapBins1 for its row count.
//
// Both functions take the file's bytes as they are (any encoding the declaration names:
// only ASCII numbers are read and written) and never throw.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/expected.h"
#include "vemap/ve_table.h"

namespace tallimar::formats {

inline constexpr std::size_t kMaxTuneFileBytes = 16u << 20;  // larger files are refused

// The table read from a tune: sizes 1..16, bins and values rounded halves to even.
struct TuneVeTable {
  std::int16_t sizeRpm = 0;
  std::int16_t sizeMap = 0;
  std::array<std::int16_t, vemap::kMaxBins> rpmBins{};                          // rev/min
  std::array<std::int16_t, vemap::kMaxBins> mapBins{};                          // kPa
  std::array<std::array<std::int16_t, vemap::kMaxBins>, vemap::kMaxBins> ve{};  // [rpm][map]
  std::string veName, rpmName, mapName;  // the constants they came from

  // Replaces the table's sizes and its active bins and values; the flags and the entries
  // outside the new sizes are left as they were.
  void copyInto(vemap::VeTable& table) const;
  // "veTable1 (16 x 16), frpm_table1, fmap_table1": the constants, sizes as RPM x MAP.
  std::string constantsText() const;
};

// Reads the VE table. Refused, with the reason as a status line fragment: an empty file,
// any file that is not an XML tune (such as the older binary tunes), XML that does not
// parse, a tune without the table or its axes, sizes outside 1..16, text that is not
// rows x cols numbers, and numbers that do not fit 16 bits.
common::Expected<TuneVeTable> readTuneVeTable(std::string_view bytes);

struct TuneWrite {
  std::string bytes;          // the whole new file
  std::string constantsText;  // as TuneVeTable::constantsText, of the constants replaced
};

// The base tune with the text of its VE table and both axes replaced by table's active
// corner; every other byte is the base's own. Each number takes the place of the one it
// replaces, so indentation and line breaks stay; numbers are written with the constant's
// digits decimals, or as many as the base wrote if that is more (tunes write "42.0" for a
// whole-number constant). Refused as readTuneVeTable refuses the base, and when the
// table's sizes differ from the constant's (the reason names both).
common::Expected<TuneWrite> writeTuneVeTable(std::string_view base, const vemap::VeTable& table);

}  // namespace tallimar::formats
