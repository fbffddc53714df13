// Readers of VE table files: the VE exchange file (*.vex), the MegaTune dump (*.dmp) and
// the MSQ tune (*.msq, of which only the first line is read; the table is not changed).
//
// Lines may end in CR LF, LF or CR. Line tests compare the first characters of a line,
// lower-cased, with a key; a line too short for a key does not match. Fixed columns are
// counted from 1; a field reads as the number it starts with (blanks skipped, 0 when it
// does not start with one), rounded halves to even.
//
// Every reader works on a copy of the table and commits it only when the whole file was
// read: a file that ends inside a block, a size outside 1 to 16 or a number that does not
// fit 16 bits leaves the table exactly as it was and fails with the reason, for the status
// list.
#pragma once

#include <string>
#include <string_view>

#include "common/expected.h"
#include "vemap/ve_table.h"

namespace tallimar::formats {

// Exchange file: "page" lines are ignored; "ve table load" sets the MAP size (the two
// characters after the first "[" from column 12 on) and reads that many MAP bins from
// columns 11-14; "ve table rpm" sets the RPM size and reads RPM bins as 100 x the number
// after the first "="; "ve table" + four blanks skips the column header and reads
// VESizeMAP rows, VE(r, m) from the three columns starting at 13 + 6 r. Each test runs on
// the current line, which after a block is the block's last line.
common::Outcome readVeExchange(std::string_view text, vemap::VeTable& table);

// Dump file: sizes are not changed; "ve table map" -> 8 MAP bins (columns 11-14),
// "ve table rpm" -> 8 RPM bins (100 x columns 11-14), "ve table" + four blanks -> skip a
// line, then 8 rows with VE(r, m) in the four columns starting at 11 + 8 r, r = 0..7.
common::Outcome readMegaTuneDump(std::string_view text, vemap::VeTable& table);

enum class VeFileKind { Exchange, Dump, Msq, Other };

// By the last three characters of the path, in lower case: "vex", "dmp", "msq".
VeFileKind veFileKindOf(std::string_view path);

}  // namespace tallimar::formats
