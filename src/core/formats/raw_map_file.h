// The raw data map file (*.HDMAP): the whole 151 x 257 grid, binary and little-endian,
// without header or trailer. Cell [r, m] is record number m x 151 + r (MAP outer, RPM inner),
// each record a 2-byte text length L, the L bytes of the cell's value list, then Average and
// Median as 2-byte signed numbers. An empty map gives a file of 232,842 bytes.
#pragma once

#include <cstdint>
#include <string>

#include "common/expected.h"
#include "engine/raw_data_map.h"

namespace tallimar::formats {

inline constexpr std::size_t kRawMapRecords = engine::kRawRpmCells * engine::kRawMapCells;
inline constexpr std::size_t kEmptyRawMapFileBytes = kRawMapRecords * 6;  // 232,842
inline constexpr std::size_t kMaxRawMapValuesBytes = 65535;               // the 2-byte length field

// The file's bytes for a map. A value list longer than 65,535 bytes could not be read back:
// the first such cell in file order fails the encoding, named in the reason.
common::Expected<std::string> encodeRawMapFile(const engine::RawDataMap& map);

// Reads a raw data map file. The file must hold exactly the 38,807 records: a file that ends
// inside a record, or that goes on after the last one, is refused with a reason naming the
// record (to be shown after the file's name). Every byte of a value list is kept as it is, so
// saving the map again writes the same bytes.
common::Expected<engine::RawDataMap> loadRawMapFile(const std::string& path);

}  // namespace tallimar::formats
