// The VE exchange file (*.vex) writer: the active corner of the low-density VE table as
// text lines ending in CR LF.
//
// Layout (columns counted from 1), exactly as the readers expect it:
//   "VUZAR 1.0 ", "Page 0",
//   "VE Table RPM Range              [08]"   ("[" of the three headers in column 33)
//   "   [  0] =  5 "                          RPM bin / 100 as a decimal number ("12.5")
//   "VE Table Load Range (MAP)       [08]"
//   "   [  0] =  30"                          MAP bin, read back from columns 11-14
//   "VE Table                        [ 8 ][ 8 ]"
//   "           [  0] [ 1 ] [ 2 ] ..."
//   "   [  0] =   19    16   ..."             VE(r, m), read back from the three columns
//                                             starting at column 13 + 6 r
// A value field is the number with a sign position (a blank, or "-") laid left into three
// characters and padded with blanks: " 5 ", " 45", "-5 ", "-45".
//
// Beyond that layout (the rule this writer keeps so that nothing loses digits):
//  - A value of 100 to 999 drops its sign blank and fills the three characters ("100"), so
//    the fixed columns still hold every digit (as other programs' exchange files do).
//  - A MAP bin that needs four characters (1000 to 9999, -100 to -999) also takes the blank
//    after "=", ending in column 14 like every MAP bin.
//  - Bin and row indices of 10 and more take one blank less before them ("   [ 10]"), so
//    the "]" stays in column 8 and every fixed column stays where the readers look.
//  - RPM bins are read from everything after "=", so any width is written in full.
//  - A VE value outside -99..999 or a MAP bin outside -999..9999 cannot be held by its
//    columns: the table is refused (no file), with a message naming the value.
#pragma once

#include <optional>
#include <string>

#include "common/expected.h"
#include "vemap/ve_table.h"

namespace tallimar::formats {

// The value field of a whole number as the table lines write it; nullopt when the number
// needs more than three characters even without its sign blank.
std::optional<std::string> exchangeValueField(int value);

// The decimal text of an RPM bin in hundreds of rev/min: 500 -> "5", 1250 -> "12.5",
// 1234 -> "12.34", -50 -> "-0.5".
std::string rpmHundredsText(int rpm);

// The whole file text; fails saying which value or size does not fit.
common::Expected<std::string> veExchangeText(const vemap::VeTable& table);

}  // namespace tallimar::formats
