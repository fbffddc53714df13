// Field conversions and column layouts of datalog data lines.
#include "files/datalog_line.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "common/number_text.h"

namespace tallimar::files {
namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};

FieldProblem floorIntoRange(double value, std::int32_t& out) {
  const double floored = std::floor(value);
  if (!(floored >= -32768.0 && floored <= 32767.0)) return FieldProblem::OutOfRange;
  out = static_cast<std::int32_t>(floored);
  return FieldProblem::None;
}

// A field's column and name as the user sees them (columns counted from 1).
struct ColumnName {
  std::size_t column;  // 0-based
  const char* name;
};

// Shows a field's text in a status line: printable ASCII only, at most 24 characters.
std::string shownText(std::string_view text) {
  std::string shown;
  for (char c : text.substr(0, 24)) shown += (c >= ' ' && c <= '~') ? c : '?';
  if (text.size() > 24) shown += "...";
  return "\"" + shown + "\"";
}

std::string fieldProblemText(const ColumnName& column, std::string_view text,
                             FieldProblem problem) {
  return std::string(column.name) + " (column " + std::to_string(column.column + 1) + ") " +
         shownText(text) +
         (problem == FieldProblem::NotANumber ? " is not a number" : " is out of range");
}

// Column of each record field per layout, in the record's order:
// Seconds, RPM, MAP, O2, Status, Gego, further x3, Gve, GammaE.
struct LayoutColumns {
  std::array<ColumnName, 11> fields;
};

constexpr LayoutColumns kShortColumns{{{{0, "Seconds"},
                                        {1, "RPM"},
                                        {2, "MAP"},
                                        {3, "O2"},
                                        {4, "Status"},
                                        {5, "Gego"},
                                        {6, "Gair"},
                                        {7, "Gwarm"},
                                        {8, "Gbaro"},
                                        {9, "Gve"},
                                        {10, "GammaE"}}}};
constexpr LayoutColumns kFullColumns{{{{1, "Seconds"},
                                       {2, "RPM"},
                                       {3, "MAP"},
                                       {5, "O2"},
                                       {8, "Status"},
                                       {9, "Gego"},
                                       {10, "Gair"},
                                       {11, "Gwarm"},
                                       {12, "Gbaro"},
                                       {15, "Gve"},
                                       {13, "GammaE"}}}};

}  // namespace

std::string_view layoutStatusLine(DatalogLayout layout) {
  switch (layout) {
    case DatalogLayout::NoLineFeed:
      return "Reading DataLog File (No Line Feeds)";
    case DatalogLayout::Classic:
      return "Reading DataLog File (Classic - LineFeeds)";
    case DatalogLayout::Full:
      return "Reading DataLog File (Full - LineFeeds)";
  }
  return {};
}

std::size_t requiredColumns(DatalogLayout layout) {
  return layout == DatalogLayout::Full ? 16 : 11;
}

FieldProblem readFlooredField(std::string_view text, std::int32_t& value) {
  const auto parsed = common::parseDecimal(text);
  if (!parsed) {
    // parseDecimal also refuses numbers beyond the double range ("1e999"): far out of range.
    return std::isinf(common::parseLeadingNumber(text)) ? FieldProblem::OutOfRange
                                                        : FieldProblem::NotANumber;
  }
  return floorIntoRange(*parsed, value);
}

FieldProblem readO2Field(std::string_view text, float& volts) {
  const double value = common::parseLeadingNumber(text);
  if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max()))
    return FieldProblem::OutOfRange;
  volts = static_cast<float>(value);
  return FieldProblem::None;
}

namespace {

// What a column of a layout holds: nothing read, one of the 16-bit fields (by its place in
// the record order of LayoutColumns), or the O2 voltage.
constexpr int kSkip = -1;
constexpr int kO2 = 3;
constexpr std::array<int, 16> kShortRoles{0, 1, 2,  kO2,   4,     5,     6,     7,
                                          8, 9, 10, kSkip, kSkip, kSkip, kSkip, kSkip};
constexpr std::array<int, 16> kFullRoles{kSkip, 0, 1, 2, kSkip, kO2, kSkip, kSkip,
                                         4,     5, 6, 7, 8,     10,  kSkip, 9};

// Eight bytes of a line; the caller guarantees they are readable (a padded copy).
std::uint64_t load8(const char* p) {
  std::uint64_t bytes;
  std::memcpy(&bytes, p, 8);
  return bytes;
}

// How many of the eight bytes (first byte lowest, little-endian) are ASCII digits in a row
// from the first. A byte is a digit when its high nibble is 3 and adding 6 keeps it there;
// carries from the addition only run from a non-digit byte upwards, past the answer.
int leadingDigits(std::uint64_t bytes) {
  constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0ULL;
  constexpr std::uint64_t kThrees = 0x3030303030303030ULL;
  const std::uint64_t nonDigit =
      ((bytes & kHigh) ^ kThrees) | (((bytes + 0x0606060606060606ULL) & kHigh) ^ kThrees);
  return nonDigit ? std::countr_zero(nonDigit) / 8 : 8;
}

// The value of the first count (1..8) bytes, all digits: they are moved to the top and
// padded with "0" in front, then combined pairwise by multiplication.
std::uint32_t digitsValue(std::uint64_t bytes, int count) {
  if (count < 8) {
    const int shift = 8 * (8 - count);
    bytes = (bytes << shift) | (0x3030303030303030ULL >> (64 - shift));
  }
  bytes -= 0x3030303030303030ULL;
  bytes = bytes * 10 + (bytes >> 8);
  bytes = (((bytes & 0x000000FF000000FFULL) * 0x000F424000000064ULL) +
           (((bytes >> 16) & 0x000000FF000000FFULL) * 0x0000271000000001ULL)) >>
          32;
  return static_cast<std::uint32_t>(bytes);
}

// Marks the tab bytes among eight: the high bit of each byte that is a tab. Exact per byte
// (no carries between bytes).
std::uint64_t tabBytes(std::uint64_t bytes) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
  const std::uint64_t x = bytes ^ 0x0909090909090909ULL;  // tabs become zero bytes
  return ~(((x & kLow7) + kLow7) | x) & ~kLow7;
}

// A field of one to four digits, the shape of nearly every 16-bit column ("3450", "98",
// "1"): checked and converted four bytes at once. False for anything else.
bool readShortDigits(const char* field, std::size_t length, std::int32_t& value) {
  if (length - 1 >= 4) return false;  // also refuses an empty field
  std::uint32_t bytes;
  std::memcpy(&bytes, field, 4);
  const auto unused = static_cast<unsigned>(8 * (4 - length));  // bits beyond the field
  const std::uint32_t mask = ~0u >> unused;
  const std::uint32_t nonDigit = (((bytes & 0xF0F0F0F0u) ^ 0x30303030u) |
                                  (((bytes + 0x06060606u) & 0xF0F0F0F0u) ^ 0x30303030u)) &
                                 mask;
  if (nonDigit != 0) return false;
  // The digits moved to the top and "0"-padded in front, then paired: 10 d0 + d1 and
  // 10 d2 + d3 in the two 16-bit lanes, then 100 x the first + the second.
  bytes = ((bytes & mask) << unused) | (0x30303030u & ~(~0u << unused));
  bytes -= 0x30303030u;
  bytes = bytes * 10 + (bytes >> 8);
  value = static_cast<std::int32_t>((((bytes & 0x00FF00FFu) * 0x00640001u) >> 16) & 0xFFFFu);
  return true;
}

// A field of plain digits with an optional "." and decimals ("1234", "-5", "35.7", "0.456"),
// read without a branch per digit. False for anything else.
struct PlainNumber {
  bool negative = false;
  std::uint32_t whole = 0;
  int decimals = 0;
  std::uint64_t fractionBytes = 0;  // the decimals' bytes, first lowest
};
bool readPlainNumber(const char* field, std::size_t length, PlainNumber& number) {
  number.negative = length > 0 && field[0] == '-';
  const std::size_t sign = number.negative ? 1 : 0;
  if (length - sign == 0 || length - sign > 16) return false;
  const std::uint64_t wholeBytes = load8(field + sign);
  const int digits = leadingDigits(wholeBytes);
  if (digits == 0 || digits == 8) return false;
  number.whole = digitsValue(wholeBytes, digits);
  const std::size_t rest = length - sign - static_cast<std::size_t>(digits);
  number.decimals = 0;
  number.fractionBytes = 0;
  if (rest == 0) return true;
  if (field[sign + static_cast<std::size_t>(digits)] != '.' || rest > 8) return false;
  number.decimals = static_cast<int>(rest - 1);
  number.fractionBytes = load8(field + sign + static_cast<std::size_t>(digits) + 1);
  return leadingDigits(number.fractionBytes) >= number.decimals;
}

// A line of plain numbers, the shape of nearly every datalog line: each field's end is found
// among its next eight bytes at once, and its digits are converted without a branch per
// digit. Gives exactly what the general path gives, or false to leave anything else (and
// every refusal with its reason) to it.
bool parsePlainLine(std::string_view line, DatalogLayout layout, DatalogRecord& record) {
  constexpr std::size_t kPadding = 16;
  std::array<char, 2048> copy;
  if (line.size() > copy.size() - kPadding) return false;
  std::memcpy(copy.data(), line.data(), line.size());
  std::memset(copy.data() + line.size(), 0, kPadding);
  const std::size_t needed = requiredColumns(layout);

  const auto& roles = layout == DatalogLayout::Full ? kFullRoles : kShortRoles;
  std::array<std::int32_t, 11> numbers{};
  const char* p = copy.data();
  const char* const end = p + line.size();
  for (std::size_t column = 0; column < needed; ++column) {
    if (p > end) return false;  // too few columns
    // The field runs to the next tab among the next eight bytes, or to the line end.
    const std::uint64_t marks = tabBytes(load8(p));
    const auto left = static_cast<std::size_t>(end - p);
    const std::size_t tab = static_cast<std::size_t>(std::countr_zero(marks)) / 8;  // 8: none
    std::size_t length = std::min(tab, left);
    if (length == 8) {
      const void* found = std::memchr(p, '\t', left);
      length = found ? static_cast<std::size_t>(static_cast<const char*>(found) - p) : left;
    }
    const char* const field = p;
    p += length + 1;
    const int role = roles[column];
    if (role == kSkip) continue;
    if (role != kO2 && readShortDigits(field, length, numbers[static_cast<std::size_t>(role)])) {
      if (role == 1 && layout == DatalogLayout::Full) {
        numbers[1] *= 100;
        if (numbers[1] > 32767) return false;
      }
      continue;
    }
    PlainNumber number;
    if (!readPlainNumber(field, length, number)) return false;
    if (role == kO2) {
      // At most 14 digits: both operands are exact doubles, so the quotient is the correctly
      // rounded value of the decimal number.
      double mantissa = number.whole;
      if (number.decimals > 0)
        mantissa = mantissa * kPowersOfTen[number.decimals] +
                   digitsValue(number.fractionBytes, number.decimals);
      const double volts = mantissa / kPowersOfTen[number.decimals];
      record.o2 = static_cast<float>(number.negative ? -volts : volts);
      continue;
    }
    const std::uint64_t decimalMask =
        number.decimals == 0 ? 0 : (~0ULL >> (64 - 8 * number.decimals));
    const bool fraction = (number.fractionBytes & 0x0F0F0F0F0F0F0F0FULL & decimalMask) != 0;
    std::int64_t floored = number.negative
                               ? -static_cast<std::int64_t>(number.whole) - (fraction ? 1 : 0)
                               : number.whole;
    if (role == 1 && layout == DatalogLayout::Full) floored *= 100;
    if (floored < -32768 || floored > 32767) return false;
    numbers[static_cast<std::size_t>(role)] = static_cast<std::int32_t>(floored);
  }
  auto to16 = [&](std::size_t f) { return static_cast<std::int16_t>(numbers[f]); };
  record.seconds = to16(0);
  record.rpm = to16(1);
  record.map = to16(2);
  record.status = to16(4);
  record.gego = to16(5);
  record.further = {to16(6), to16(7), to16(8)};
  record.gve = to16(9);
  record.gammaE = to16(10);
  return true;
}

// Column by column with the general field readers; says what is wrong with a line.
std::optional<std::string> parseAnyLine(std::string_view line, DatalogLayout layout,
                                        DatalogRecord& record) {
  const std::size_t needed = requiredColumns(layout);
  std::array<std::string_view, 16> columns;
  std::size_t found = 0;
  std::size_t start = 0;
  while (found < needed) {
    const std::size_t tab = line.find('\t', start);
    if (tab == std::string_view::npos) {
      columns[found++] = line.substr(start);
      break;
    }
    columns[found++] = line.substr(start, tab - start);
    start = tab + 1;
  }
  if (found < needed) {
    if (line.empty()) return std::string("blank line");
    return "fewer than " + std::to_string(needed) + " columns (" + std::to_string(found) + ")";
  }
  const LayoutColumns& layoutColumns = layout == DatalogLayout::Full ? kFullColumns : kShortColumns;
  std::array<std::int32_t, 11> numbers{};
  for (std::size_t f = 0; f < layoutColumns.fields.size(); ++f) {
    const ColumnName& column = layoutColumns.fields[f];
    const std::string_view text = columns[column.column];
    FieldProblem problem;
    if (f == 3) {
      problem = readO2Field(text, record.o2);
    } else {
      problem = readFlooredField(text, numbers[f]);
      // The full layout logs RPM in hundreds of rev/min.
      if (problem == FieldProblem::None && f == 1 && layout == DatalogLayout::Full) {
        numbers[f] *= 100;
        if (numbers[f] < -32768 || numbers[f] > 32767) problem = FieldProblem::OutOfRange;
      }
    }
    if (problem != FieldProblem::None) return fieldProblemText(column, text, problem);
  }
  auto to16 = [&](std::size_t f) { return static_cast<std::int16_t>(numbers[f]); };
  record.seconds = to16(0);
  record.rpm = to16(1);
  record.map = to16(2);
  record.status = to16(4);
  record.gego = to16(5);
  record.further = {to16(6), to16(7), to16(8)};
  record.gve = to16(9);
  record.gammaE = to16(10);
  return std::nullopt;
}

}  // namespace

std::optional<std::string> parseDataLine(std::string_view line, DatalogLayout layout,
                                         DatalogRecord& record) {
  if (parsePlainLine(line, layout, record)) return std::nullopt;
  return parseAnyLine(line, layout, record);
}

}  // namespace tallimar::files
