// Text <-> number rules shared by every reader, writer and window of the program.
//
// Unless a caller names another rule, text typed or stored by the user is read leniently
// (parseLeadingNumber), decimal values become whole numbers by rounding halves to the even
// neighbour (roundHalfEven), and 16-bit fields are range-checked on the way in (toInt16).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tallimar::common {

// Lenient leading-number parse. Leading blanks (space, tab) are skipped; then an optional
// sign, digits, an optional "." with digits, and an optional exponent ("e"/"E", optional
// sign, at least one digit). The number ends at the first character that cannot continue
// it. "." is the only decimal separator; there is no hexadecimal. Text that does not start
// with a number reads 0. A value too large for a double reads as +/-infinity, which
// toInt16 then refuses. Examples: " 7500abc" -> 7500, "abc" -> 0, "-.5x" -> -0.5,
// "1e3" -> 1000, "1e" -> 1.
double parseLeadingNumber(std::string_view text);

// Strict decimal parse of a single field (the settings' single-precision values): the whole
// text, apart from surrounding blanks, must be one number written with "." as the decimal
// separator (the program's fixed choice, so that saved texts read back on every machine).
// Returns nullopt for empty text, trailing garbage or a value out of double range.
std::optional<double> parseDecimal(std::string_view text);

// Rounds to the nearest whole number, exact halves to the even neighbour (2.5 -> 2,
// 3.5 -> 4, -2.5 -> -2). NaN and infinities are returned unchanged.
double roundHalfEven(double value);

// Half-to-even rounding into a 16-bit signed integer; nullopt when the rounded value lies
// outside -32768..32767 or the value is not a number.
std::optional<std::int16_t> toInt16(double value);

// The lenient parse followed by toInt16, as 16-bit settings and table entries are read.
std::optional<std::int16_t> parseInt16(std::string_view text);

// True/false held as 16-bit numbers: true = -1 (all bits set), false = 0.
constexpr std::int16_t kTrue = -1;
constexpr std::int16_t kFalse = 0;
constexpr std::int16_t toFlag(bool value) { return value ? kTrue : kFalse; }

// "True" / "False", the stored text of a boolean.
std::string boolText(bool value);

// General text-to-boolean reading: "True"/"False" in any letter case (surrounding blanks
// allowed), or a number read strictly (non-zero = true). nullopt for anything else.
std::optional<bool> parseGeneralBool(std::string_view text);

// Shortest decimal text that reads back to the same single-precision value ("0.5", "2",
// "0.45", "-1.25", "1E-05"). Exponents, when the shorter form needs one, are written with
// a capital "E" and a two-digit minimum exponent.
std::string shortestText(float value);
// The same for a double-precision value ("general" form).
std::string shortestText(double value);

// Formats value with a digit-placeholder pattern: "0" forces a digit, "#" shows a digit only
// when significant, "." sets the decimals. Used patterns: "0", "0.0", "0.00", "0.000",
// "0.0000", ".0", "000", "0.####", "####0.###". Decimals are rounded half away from zero on
// the value's 15-significant-digit decimal form; the integer part is never cut ("000" with
// 1234 gives "1234"); a result that rounds to zero carries no minus sign; optional decimals
// that come out as zeros are dropped together with a then-trailing ".".
std::string formatPattern(double value, std::string_view pattern);

}  // namespace tallimar::common
