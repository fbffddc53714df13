// Field conversions and column layouts of datalog data lines.
#include "formats/datalog_line.h"

#include <array>
#include <cmath>
#include <limits>

#include "common/number_text.h"

namespace tallimar::formats {
namespace {

FieldProblem floorIntoRange(double value, std::int32_t& out) {
  const double floored = std::floor(value);
  if (!(floored >= -32768.0 && floored <= 32767.0)) return FieldProblem::OutOfRange;
  out = static_cast<std::int32_t>(floored);
  return FieldProblem::None;
}

// Shows a field's text in a status line: printable ASCII only, at most 24 characters.
std::string shownText(std::string_view text) {
  std::string shown;
  for (char c : text.substr(0, 24)) shown += (c >= ' ' && c <= '~') ? c : '?';
  if (text.size() > 24) shown += "...";
  return "\"" + shown + "\"";
}

// The column of each field, the layout's column table turned round.
constexpr std::size_t kNotInLayout = ~std::size_t{0};
template <std::size_t kColumns>
constexpr std::array<std::size_t, kDatalogFieldCount> columnOfField(
    const std::array<DatalogField, kColumns>& columns) {
  std::array<std::size_t, kDatalogFieldCount> of{};
  of.fill(kNotInLayout);
  for (std::size_t c = 0; c < kColumns; ++c)
    if (columns[c] != DatalogField::None) of[static_cast<std::size_t>(columns[c])] = c;
  return of;
}
constexpr auto kShortFieldColumns = columnOfField(kShortLayoutColumns);
constexpr auto kFullFieldColumns = columnOfField(kFullLayoutColumns);

std::string fieldProblemText(DatalogField field, std::size_t column, std::string_view text,
                             FieldProblem problem) {
  return std::string(fieldName(field)) + " (column " + std::to_string(column + 1) + ") " +
         shownText(text) +
         (problem == FieldProblem::NotANumber ? " is not a number" : " is out of range");
}

}  // namespace

std::string_view layoutStatusLine(DatalogLayout layout) {
  switch (layout) {
    case DatalogLayout::NoLineFeed:
      return "Reading DataLog File (No Line Feeds)";
    case DatalogLayout::Classic:
      return "Reading DataLog File (Classic - LineFeeds)";
    case DatalogLayout::Full:
      return "Reading DataLog File (Full - LineFeeds)";
    case DatalogLayout::Msl:
      return "Reading DataLog File (MSL - Named Columns)";
  }
  return {};
}

std::string_view fieldName(DatalogField field) {
  static constexpr std::array<std::string_view, kDatalogFieldCount> kNames{
      "Seconds", "RPM",   "MAP",   "O2",  "Status", "Gego",
      "Gair",    "Gwarm", "Gbaro", "Gve", "GammaE", "O2 target"};
  const auto index = static_cast<std::size_t>(field);
  return index < kNames.size() ? kNames[index] : std::string_view{};
}

void setWholeNumberFields(engine::DatalogRecord& record,
                          const std::array<std::int32_t, kDatalogFieldCount>& numbers) {
  auto to16 = [&](DatalogField f) {
    return static_cast<std::int16_t>(numbers[static_cast<std::size_t>(f)]);
  };
  record.seconds = to16(DatalogField::Seconds);
  record.rpm = to16(DatalogField::Rpm);
  record.map = to16(DatalogField::Map);
  record.status = to16(DatalogField::Status);
  record.gego = to16(DatalogField::Gego);
  record.gair = to16(DatalogField::Gair);
  record.gwarm = to16(DatalogField::Gwarm);
  record.gbaro = to16(DatalogField::Gbaro);
  record.gve = to16(DatalogField::Gve);
  record.gammaE = to16(DatalogField::GammaE);
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
                                         engine::DatalogRecord& record) {
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
  const auto& fieldColumns = layout == DatalogLayout::Full ? kFullFieldColumns : kShortFieldColumns;
  std::array<std::int32_t, kDatalogFieldCount> numbers{};
  // Field by field, so that the first field in the record's order is the one reported.
  for (std::size_t f = 0; f < kDatalogFieldCount; ++f) {
    const auto field = static_cast<DatalogField>(f);
    const std::size_t column = fieldColumns[f];
    if (column == kNotInLayout) continue;
    const std::string_view text = columns[column];
    FieldProblem problem;
    if (field == DatalogField::O2) {
      problem = readO2Field(text, record.o2);
    } else {
      std::int32_t& number = numbers[static_cast<std::size_t>(field)];
      problem = readFlooredField(text, number);
      if (problem == FieldProblem::None && field == DatalogField::Rpm) {
        number *= rpmFactor(layout);
        if (number < -32768 || number > 32767) problem = FieldProblem::OutOfRange;
      }
    }
    if (problem != FieldProblem::None) return fieldProblemText(field, column, text, problem);
  }
  setWholeNumberFields(record, numbers);
  return std::nullopt;
}

}  // namespace tallimar::formats
