// The ECU's VE page as the tool reads and writes it: the 8 x 8 VE values at offsets 0-63
// (eight rows, one per MAP bin, of eight RPM bins each), the RPM bins at 100-107 in hundreds
// of rev/min and the MAP bins at 108-115 in kPa, one unsigned byte each. Other offsets are
// the ECU's own; the tool never writes them and ignores them when read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "common/expected.h"
#include "vemap/ve_table.h"

namespace tallimar::ecu {

inline constexpr int kEcuBins = 8;  // the ECU's table is always 8 x 8
inline constexpr std::size_t kRpmBinOffset = 100;
inline constexpr std::size_t kMapBinOffset = 108;
// The shortest reply to "V" that holds every offset the tool uses (and what the ECU sends).
inline constexpr std::size_t kPageReplyBytes = 125;
inline constexpr std::size_t kWriteCommandBytes = 3;  // "W", offset, value
inline constexpr std::size_t kWriteCommands = 80;

// The table's size is the ECU's: 8 RPM bins by 8 MAP bins.
bool isEcuSized(const vemap::VeTable& table);

// The byte an RPM bin is sent as: rev/min / 100, exact halves to the even neighbour
// (1250 -> 12, 1350 -> 14), as the ECU counts in hundreds.
int rpmHundreds(int rpm);

// The 80 "W" commands (240 bytes) that store the table's 8 x 8 corner in the ECU's RAM: the
// VE values at offsets 0..63 in order, then the bins interleaved 100, 108, 101, 109 ... 115.
// Refused, naming the first value, when a VE value or a MAP bin lies outside 0-255 or an RPM
// bin's hundreds do: the ECU would store a wrapped byte.
common::Expected<std::vector<std::uint8_t>> encodeVeWrites(const vemap::VeTable& table);

// Replaces the 8 x 8 corner of the table (VE values, RPM bins as byte x 100, MAP bins) with a
// page read from the ECU. Refused, the table unchanged, when the page is shorter than
// kPageReplyBytes. Bytes past offset 115 and entries 8-15 of the table are left alone.
bool decodeVePage(std::span<const std::uint8_t> page, vemap::VeTable& table);

// The read-back check after a send: all 80 positions of the page equal what the table sends
// and would read back (an RPM bin of 1250 reads back as 1200 and so differs). False for a
// page shorter than kPageReplyBytes.
bool pageMatches(const vemap::VeTable& table, std::span<const std::uint8_t> page);

}  // namespace tallimar::ecu
