// The raw data map file (*.HDMAP): the whole 151 x 257 grid, binary and little-endian,
// without header or trailer. Cell [r, m] is record number m x 151 + r (MAP outer, RPM inner),
// each record a 2-byte text length L, the L bytes of the cell's value list, then Average and
// Median as 2-byte signed numbers. An empty map gives a file of 232,842 bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/raw_data_map.h"

namespace tallimar::files {

inline constexpr std::size_t kRawMapRecords = engine::kRawRpmCells * engine::kRawMapCells;
inline constexpr std::size_t kEmptyRawMapFileBytes = kRawMapRecords * 6;  // 232,842
inline constexpr std::size_t kMaxRawMapValuesBytes = 65535;               // the 2-byte length field

// A cell whose value list is too long for the file's 2-byte length field.
struct OverfullCell {
  int rpmIndex = 0;
  int mapKpa = 0;
  std::size_t bytes = 0;
};

// The file's bytes for a map; nullopt (with the first overfull cell in file order) when a
// value list is longer than 65,535 bytes, since such a file could not be read back.
std::optional<std::string> encodeRawMapFile(const engine::RawDataMap& map,
                                            OverfullCell* overfull = nullptr);

// Reads a raw data map file into `into` (which is only changed on success). The file must
// hold exactly the 38,807 records: a file that ends inside a record, or that goes on after
// the last one, is refused with a problem text naming the record. Every byte of a value list
// is kept as it is, so saving the map again writes the same bytes.
bool loadRawMapFile(const std::string& path, engine::RawDataMap& into, std::string& problem);

}  // namespace tallimar::files
