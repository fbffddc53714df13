// The quick way through a datalog: lines whose needed columns are short plain numbers
// ("3450", "98", "0.660", "-5", "35.7"), the shape of nearly every line a datalog holds, read
// straight from the reader's buffer. Every other line is left to parseDataLine.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "engine/datalog_record.h"
#include "formats/datalog_line.h"

namespace tallimar::formats {

// Bytes that must be readable past the end of a block given to readPlainLines: its loads may
// run over the block's last line end (the bytes there are never used).
inline constexpr std::size_t kPlainLinesPadding = 64;

struct PlainLines {
  std::size_t bytes = 0;    // taken from the start of the block, line ends included
  std::size_t records = 0;  // records written, one per line taken
};

// Reads lines from the start of `block` into `records` until the block or the room in
// `records` runs out or a line is not plain; that line and the rest are left unread. A line
// taken gives exactly the record parseDataLine gives for it, and a line parseDataLine refuses
// is never taken.
// The block holds whole lines: each ends with the layout's line end (CR, or LF in the
// no-line-feed layout), and in the CR layouts an LF right after a CR is part of the line end
// and is in the block too. kPlainLinesPadding bytes past the block must be readable.
PlainLines readPlainLines(std::string_view block, DatalogLayout layout,
                          std::span<engine::DatalogRecord> records);

}  // namespace tallimar::formats
