// Field conversions and column layouts of datalog data lines.
#include "files/datalog_line.h"

#include <array>
#include <cmath>
#include <limits>

#include "common/number_text.h"

namespace tallimar::files {
namespace {

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

// Column by column with the general field readers. The reader takes plain lines the quick
// way (readPlainLines) and only the others here.
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
  setWholeNumberFields(record, numbers);
  return std::nullopt;
}

}  // namespace tallimar::files
