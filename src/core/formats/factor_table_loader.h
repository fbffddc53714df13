// Loading the seven conversion factor tables from the firmware's *.inc files.
//
// A line takes part when it holds the capital letters "DB"; its value is the text from just
// after the first "DB" up to the line's first capital "T", read as a lenient leading
// number and rounded half-to-even to 16 bits. The k-th taking-part line gives entry k.
// Lines may end in CR LF, LF or CR. A load writes entries from index 0 upward and stops at
// the first failure; entries written before it keep their new values, the rest keep the
// values they had (a load never resets a table to the identity first).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "common/status_log.h"
#include "formats/factor_tables.h"

namespace tallimar::formats {

// One table's file (name under INCPath, found ignoring letter case) and the name the status
// lines give it: "<shownName> Loaded" / "Failed Loading <shownName>".
struct FactorFile {
  const char* fileName;
  const char* shownName;
  FactorKind kind;
};

inline constexpr std::array<FactorFile, kFactorTableCount> kFactorFiles{{
    {"kpafactor.inc", "kPaFactor.inc", FactorKind::Kpa},
    {"airdenfactor.inc", "AirDenFactor.inc", FactorKind::AirDensity},
    {"barofactor.inc", "BaroFactor.inc", FactorKind::Baro},
    {"thermfactor.inc", "ThermFactor.inc", FactorKind::Thermistor},
    {"throttlefactor.inc", "ThrottleFactor.inc", FactorKind::Throttle},
    {"DIYWBFactor.inc", "DIYWBFactor.inc", FactorKind::WideBand},
    {"VSSFactor.inc", "VSSFactor.inc", FactorKind::Vss},
}};

// Files larger than this are refused unread (a real table is a few kilobytes).
inline constexpr std::size_t kMaxFactorFileBytes = std::size_t{4} * 1024 * 1024;

enum class FactorLoadError {
  None,
  Missing,       // no regular file of that name (any letter case) in the folder
  Unreadable,    // it could not be read, or it is larger than kMaxFactorFileBytes
  NoValueText,   // a "DB" line whose first "T" is missing or lies before its first "DB"
  TooManyLines,  // a 257th "DB" line
  OutOfRange,    // a value outside -32768..32767 after rounding
  NoTableLines,  // not a single "DB" line (e.g. a table written with DW words)
};

struct FactorLoadResult {
  FactorLoadError error = FactorLoadError::None;
  int entriesStored = 0;  // entries 0..entriesStored-1 were written
  int failedLine = 0;     // 1-based line number of the failing line, 0 when none
  bool ok() const { return error == FactorLoadError::None; }
};

// Reads table lines from text into table (the part of a load after the file is read).
FactorLoadResult readFactorTableText(std::string_view text, FactorTable& table);

// Loads one file from folder into table. Adds no status line.
FactorLoadResult loadFactorTable(const std::string& folder, const std::string& fileName,
                                 FactorTable& table);

// Loads the seven tables from incPath in their order, adding the success or failure line
// of each to log. A failure ends only that table's load.
std::array<FactorLoadResult, kFactorTableCount> loadAllFactorTables(const std::string& incPath,
                                                                    FactorTables& tables,
                                                                    common::StatusLog& log);

}  // namespace tallimar::formats
