// The raw data map file (*.HDMAP): the whole 151 x 257 grid, binary and little-endian,
// without header or trailer. Cell [r, m] is record number m x 151 + r (MAP outer, RPM inner),
// each record a 2-byte text length L, the L bytes of the cell's value list, then Average and
// Median as 2-byte signed numbers. An empty map gives a file of 232,842 bytes.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "common/expected.h"
#include "engine/raw_data_map.h"

namespace tallimar::formats {

inline constexpr std::size_t kRawMapRecords = engine::kRawRpmCells * engine::kRawMapCells;
inline constexpr std::size_t kEmptyRawMapFileBytes = kRawMapRecords * 6;  // 232,842
inline constexpr std::size_t kMaxRawMapValuesBytes = 65535;               // the 2-byte length field

// Checks that every cell's value list fits the file's 2-byte length field: the first cell in
// file order holding more than 65,535 bytes fails, named in the reason.
common::Outcome checkRawMapFits(const engine::RawDataMap& map);

// Writes the file's bytes for a map to out, cell by cell, never holding the file in memory.
// Refused as checkRawMapFits refuses, before anything is written; a failing stream is left for
// the stream's owner to report.
common::Outcome writeRawMapFile(const engine::RawDataMap& map, std::ostream& out);

// The file's bytes for a map, in memory (writeRawMapFile into a string).
common::Expected<std::string> encodeRawMapFile(const engine::RawDataMap& map);

// Reads a raw data map file (a regular file only, opened by common::openUserFile). The file
// must hold the 38,807 records: a file that ends inside a record is refused with a reason
// naming the record (to be shown after the file's name). Bytes after the last record are
// not the map's: they are left unread and their count goes to extraBytes (0 for none). Every
// byte of a value list is kept as it is, so saving the map again writes the same bytes.
common::Expected<engine::RawDataMap> loadRawMapFile(const std::string& path,
                                                    std::uint64_t* extraBytes = nullptr);

}  // namespace tallimar::formats
