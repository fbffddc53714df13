// Field conversions and column layouts of datalog data lines.
#include "files/datalog_line.h"

#include <array>
#include <cmath>
#include <limits>

#include "common/number_text.h"

namespace tallimar::files {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

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

std::string fieldProblemText(const ColumnName& column, std::string_view text, FieldProblem problem) {
  return std::string(column.name) + " (column " + std::to_string(column.column + 1) + ") " +
         shownText(text) + (problem == FieldProblem::NotANumber ? " is not a number"
                                                                : " is out of range");
}

// Column of each record field per layout, in the record's order:
// Seconds, RPM, MAP, O2, Status, Gego, further x3, Gve, GammaE.
struct LayoutColumns {
  std::array<ColumnName, 11> fields;
};

constexpr LayoutColumns kShortColumns{{{{0, "Seconds"}, {1, "RPM"}, {2, "MAP"}, {3, "O2"},
                                        {4, "Status"}, {5, "Gego"}, {6, "Gair"}, {7, "Gwarm"},
                                        {8, "Gbaro"}, {9, "Gve"}, {10, "GammaE"}}}};
constexpr LayoutColumns kFullColumns{{{{1, "Seconds"}, {2, "RPM"}, {3, "MAP"}, {5, "O2"},
                                       {8, "Status"}, {9, "Gego"}, {10, "Gair"}, {11, "Gwarm"},
                                       {12, "Gbaro"}, {15, "Gve"}, {13, "GammaE"}}}};

}  // namespace

std::string_view layoutStatusLine(DatalogLayout layout) {
  switch (layout) {
    case DatalogLayout::NoLineFeed: return "Reading DataLog File (No Line Feeds)";
    case DatalogLayout::Classic: return "Reading DataLog File (Classic - LineFeeds)";
    case DatalogLayout::Full: return "Reading DataLog File (Full - LineFeeds)";
  }
  return {};
}

std::size_t requiredColumns(DatalogLayout layout) {
  return layout == DatalogLayout::Full ? 16 : 11;
}

FieldProblem readFlooredField(std::string_view text, std::int32_t& value) {
  // Fast path for the usual "1234", "-12", "35.7": at most 9 integer and 9 decimal digits, so
  // the exact decimal floor equals the floor of the nearest double for every in-range value.
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  std::int64_t whole = 0;
  std::size_t digits = 0;
  while (i < text.size() && isDigit(text[i]) && digits < 9)
    whole = whole * 10 + (text[i++] - '0'), ++digits;
  bool fraction = false;
  std::size_t decimals = 0;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i]) && decimals < 9) {
      fraction = fraction || text[i] != '0';
      ++i, ++decimals;
    }
  }
  std::size_t end = i;
  while (end < text.size() && isBlank(text[end])) ++end;
  if (end == text.size() && digits + decimals > 0) {
    std::int64_t floored = negative ? -whole - (fraction ? 1 : 0) : whole;
    if (floored < -32768 || floored > 32767) return FieldProblem::OutOfRange;
    value = static_cast<std::int32_t>(floored);
    return FieldProblem::None;
  }
  const auto parsed = common::parseDecimal(text);
  if (!parsed) {
    // parseDecimal also refuses numbers beyond the double range ("1e999"): far out of range.
    return std::isinf(common::parseLeadingNumber(text)) ? FieldProblem::OutOfRange
                                                        : FieldProblem::NotANumber;
  }
  return floorIntoRange(*parsed, value);
}

FieldProblem readO2Field(std::string_view text, float& volts) {
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  std::int64_t mantissa = 0;
  std::size_t digits = 0;
  std::size_t decimals = 0;
  while (i < text.size() && isDigit(text[i]) && digits < 15)
    mantissa = mantissa * 10 + (text[i++] - '0'), ++digits;
  if (i < text.size() && text[i] == '.' && digits < 15) {
    ++i;
    while (i < text.size() && isDigit(text[i]) && digits < 15)
      mantissa = mantissa * 10 + (text[i++] - '0'), ++digits, ++decimals;
  }
  const bool stops = i == text.size() || !(isDigit(text[i]) || text[i] == '.' ||
                                           text[i] == 'e' || text[i] == 'E');
  double value = 0.0;
  if (stops && digits > 0) {
    // Both operands are exact doubles, so the quotient is the correctly rounded value.
    value = static_cast<double>(mantissa) / kPowersOfTen[decimals];
    if (negative) value = -value;
  } else {
    value = common::parseLeadingNumber(text);
  }
  if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max()))
    return FieldProblem::OutOfRange;
  volts = static_cast<float>(value);
  return FieldProblem::None;
}

std::optional<std::string> parseDataLine(std::string_view line, DatalogLayout layout,
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
  const LayoutColumns& layoutColumns =
      layout == DatalogLayout::Full ? kFullColumns : kShortColumns;
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

}  // namespace tallimar::files
