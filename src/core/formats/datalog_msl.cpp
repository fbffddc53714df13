// Named-column datalogs: header, columns by name, data rows and the streaming read.
#include "formats/datalog_msl.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "common/digits.h"
#include "common/number_text.h"
#include "formats/datalog_line_scanner.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tallimar::formats {
namespace {

constexpr std::size_t kRecordBatch = 1024;
constexpr std::size_t kSniffBytes = std::size_t{64} << 10;

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (upper(a[i]) != upper(b[i])) return false;
  return true;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\r')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> splitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(trimmed(line.substr(start, tab - start)));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

std::size_t findName(const std::vector<std::string_view>& header, std::string_view name) {
  for (std::size_t c = 0; c < header.size(); ++c)
    if (sameIgnoringCase(header[c], name)) return c;
  return MslColumns::kAbsent;
}

std::string missingColumnText(const NamedColumn& named) {
  std::vector<std::string_view> names;
  for (std::string_view name : named.names)
    if (!name.empty()) names.push_back(name);
  const std::string_view what = named.field == DatalogField::Gve  ? "VE"
                                : named.field == DatalogField::O2 ? "O2"
                                                                  : fieldName(named.field);
  std::string text = "has no " + std::string(what) + " column";
  if (names.size() > 1) {
    text += " (";
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (i > 0) text += i + 1 == names.size() ? " or " : ", ";
      text += names[i];
    }
    text += ")";
  }
  return text;
}

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// A decimal number filling the whole text: "-12.5", "1341", "0.000", and through the strict
// general reader also "+1", "1e3" or blanks around it. NaN, empty text and anything else is
// no number. The quick way takes at most 15 digits, so the digits and the power of ten are
// exact doubles and their quotient is the correctly rounded value.
bool readNumber(std::string_view text, double& value) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) ++i;
  std::size_t used = 0;
  std::uint64_t digits = common::leadingDigitsValue(text.substr(i), used, 15);
  std::size_t count = used;
  i += used;
  std::size_t decimals = 0;
  if (i < text.size() && text[i] == '.') {
    const std::uint64_t fraction =
        common::leadingDigitsValue(text.substr(i + 1), decimals, 15 - count);
    digits = digits * static_cast<std::uint64_t>(kPowersOfTen[decimals]) + fraction;
    count += decimals;
    i += 1 + decimals;
  }
  if (count > 0 && i == text.size()) {
    const double magnitude = static_cast<double>(digits) / kPowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    return true;
  }
  const auto general = common::parseDecimal(text);
  if (!general) return false;
  value = *general;
  return true;
}

bool readWholeNumber(std::string_view text, std::int16_t& out) {
  double value;
  if (!readNumber(text, value)) return false;
  const double floored = std::floor(value);
  if (!(floored >= -32768.0 && floored <= 32767.0)) return false;
  out = static_cast<std::int16_t>(floored);
  return true;
}

bool readSingle(std::string_view text, float& out) {
  double value;
  if (!readNumber(text, value) ||
      std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max()))
    return false;
  out = static_cast<float>(value);
  return true;
}

// The cells of the columns a log uses, found by walking the row's tabs up to the last of them.
class RowCells {
 public:
  // False when the row has fewer columns than `needed`.
  bool split(std::string_view line, const std::vector<DatalogField>& fieldOfColumn) {
    const std::size_t needed = fieldOfColumn.size();
    m_column = 0;
    m_start = 0;
    std::size_t at = 0;
#if defined(__SSE2__)
    const __m128i tab = _mm_set1_epi8('\t');
    for (; at + 16 <= line.size() && m_column + 1 < needed; at += 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + at));
      auto tabs = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, tab)));
      while (tabs != 0 && m_column + 1 < needed) {
        take(line, at + static_cast<std::size_t>(std::countr_zero(tabs)), fieldOfColumn);
        tabs &= tabs - 1;
      }
    }
    at = std::max(at, m_start);
#endif
    for (; at < line.size() && m_column + 1 < needed; ++at)
      if (line[at] == '\t') take(line, at, fieldOfColumn);
    if (m_column + 1 < needed) return false;
    const std::size_t end = line.find('\t', m_start);
    take(line, end == std::string_view::npos ? line.size() : end, fieldOfColumn);
    return true;
  }
  std::string_view operator[](DatalogField field) const {
    return m_cells[static_cast<std::size_t>(field)];
  }

 private:
  void take(std::string_view line, std::size_t end,
            const std::vector<DatalogField>& fieldOfColumn) {
    const DatalogField field = fieldOfColumn[m_column++];
    if (field != DatalogField::None)
      m_cells[static_cast<std::size_t>(field)] = line.substr(m_start, end - m_start);
    m_start = end + 1;
  }
  std::array<std::string_view, kDatalogFieldCount> m_cells{};
  std::size_t m_column = 0;
  std::size_t m_start = 0;
};

// Which field each column up to the last one used fills.
std::vector<DatalogField> fieldsByColumn(const MslColumns& columns) {
  std::vector<DatalogField> fields(columns.needed, DatalogField::None);
  for (std::size_t f = 0; f < kDatalogFieldCount; ++f)
    if (columns.column[f] != MslColumns::kAbsent)
      fields[columns.column[f]] = static_cast<DatalogField>(f);
  return fields;
}

// Fills `record` from a split data row; false for a gap: a needed cell that is not a decimal
// number (a MARK line's text, NaN, empty) or does not fit its field. Whole-number fields are
// rounded down ("38.9" kPa is 38), RPM and MAP must fit 16 bits, Gego and GammaE are 100
// without their columns, Status is engineStatus(Engine), or 1 whenever RPM > 0 without an
// Engine column. o2Target is the row's AFR target for a wide-band AFR log that has one, else
// `target`. A row with too few columns is a gap already at the split.
bool rowFromCells(const RowCells& cells, const MslColumns& columns, float target,
                  engine::DatalogRecord& record) {
  double time;
  if (!readNumber(cells[DatalogField::Seconds], time)) return false;
  // The time stamp is not used further: a long log's seconds are held at the 16-bit limit.
  record.seconds = static_cast<std::int16_t>(std::clamp(std::floor(time), -32768.0, 32767.0));
  if (!readWholeNumber(cells[DatalogField::Rpm], record.rpm) ||
      !readWholeNumber(cells[DatalogField::Map], record.map) ||
      !readWholeNumber(cells[DatalogField::Gve], record.gve) ||
      !readSingle(cells[DatalogField::O2], record.o2))
    return false;
  record.gego = 100;
  record.gammaE = 100;
  if (columns.has(DatalogField::Gego) && !readWholeNumber(cells[DatalogField::Gego], record.gego))
    return false;
  if (columns.has(DatalogField::GammaE) &&
      !readWholeNumber(cells[DatalogField::GammaE], record.gammaE))
    return false;
  record.o2Target = target;
  if (columns.has(DatalogField::O2Target) &&
      !readSingle(cells[DatalogField::O2Target], record.o2Target))
    return false;
  if (columns.has(DatalogField::Status)) {
    double engine;
    if (!readNumber(cells[DatalogField::Status], engine)) return false;
    record.status = engineStatus(static_cast<std::int32_t>(std::clamp(engine, -1.0, 65535.0)));
  } else {
    record.status = record.rpm > 0 ? 1 : 0;
  }
  return true;
}

// What the streaming read keeps between lines.
class MslRead {
 public:
  MslRead(DatalogRecordSink& sink, const MslColumns& columns, float target, std::int16_t rpmMin)
      : m_sink(sink),
        m_columns(columns),
        m_fields(fieldsByColumn(columns)),
        m_target(target),
        m_rpmMin(rpmMin) {}

  // Takes one line after the header as the next record. False when the line ends the read
  // (NUL bytes): nothing is taken from it.
  bool takeLine(std::string_view text, DatalogRead& read) {
    engine::DatalogRecord& record = m_batch[m_batched];
    if (m_cells.split(text, m_fields) && rowFromCells(m_cells, m_columns, m_target, record)) {
      if (record.status != 1)
        ++read.statusSkipped;
      else if (record.rpm < m_rpmMin)
        ++read.belowRpmMin;
      ++read.entries;
    } else {
      if (std::memchr(text.data(), '\0', text.size()) != nullptr) return false;
      record = {};  // a gap: Status 0
      ++read.gapLines;
    }
    ++m_batched;
    return true;
  }
  bool batchFull() const { return m_batched == m_batch.size(); }
  // Hands the batch to the sink; false when the sink stopped at a record.
  bool handOver() {
    const std::size_t taken =
        m_batched ? m_sink.take(std::span(m_batch.data(), m_batched), m_records + 1) : 0;
    const bool all = taken >= m_batched;
    m_records += static_cast<std::int64_t>(std::min(taken, m_batched));
    m_batched = 0;
    return all;
  }
  std::int64_t records() const { return m_records; }
  std::int64_t recordsSeen() const { return m_records + static_cast<std::int64_t>(m_batched); }

 private:
  DatalogRecordSink& m_sink;
  const MslColumns& m_columns;
  std::vector<DatalogField> m_fields;
  float m_target;
  std::int16_t m_rpmMin;
  RowCells m_cells;
  std::array<engine::DatalogRecord, kRecordBatch> m_batch{};
  std::size_t m_batched = 0;
  std::int64_t m_records = 0;
};

// The line end of a file: LF when its first part holds one, else CR when it holds one.
char lineEndOf(std::FILE* file) {
  std::vector<char> start(kSniffBytes);
  const std::size_t read = std::fread(start.data(), 1, start.size(), file);
  std::rewind(file);
  const std::string_view bytes(start.data(), read);
  return bytes.find('\n') == std::string_view::npos && bytes.find('\r') != std::string_view::npos
             ? '\r'
             : '\n';
}

std::string_view withoutCr(std::string_view text) {
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  return text;
}

bool cutShort(std::string_view text, std::size_t headerColumns) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\t')) + 1 < headerColumns;
}

}  // namespace

bool isMslHeader(std::string_view line) {
  const auto fields = splitTabs(line);
  return sameIgnoringCase(fields.front(), "Time") &&
         findName(fields, "RPM") != MslColumns::kAbsent &&
         findName(fields, "MAP") != MslColumns::kAbsent;
}

common::Expected<MslColumns> mslColumns(std::string_view header) {
  const auto fields = splitTabs(header);
  MslColumns columns;
  columns.column.fill(MslColumns::kAbsent);
  columns.headerColumns = fields.size();
  for (const NamedColumn& named : kMslColumns) {
    for (std::size_t n = 0; n < named.names.size() && !named.names[n].empty(); ++n) {
      const std::size_t at = findName(fields, named.names[n]);
      if (at == MslColumns::kAbsent) continue;
      columns.column[static_cast<std::size_t>(named.field)] = at;
      if (named.field == DatalogField::O2)
        columns.signal = n < 2    ? O2Signal::Afr
                         : n == 2 ? O2Signal::Lambda
                                  : O2Signal::NarrowBandVolts;
      break;
    }
    if (named.required && !columns.has(named.field)) return common::fail(missingColumnText(named));
  }
  // The AFR target is in AFR: it is the crossing point of a wide-band AFR signal only.
  if (columns.signal != O2Signal::Afr)
    columns.column[static_cast<std::size_t>(DatalogField::O2Target)] = MslColumns::kAbsent;
  for (std::size_t column : columns.column)
    if (column != MslColumns::kAbsent) columns.needed = std::max(columns.needed, column + 1);
  return columns;
}

std::int16_t engineStatus(std::int32_t engine) {
  constexpr std::int32_t kRunning = 0x01;
  // Cranking, after-start enrichment, warm-up, TPS and MAP acceleration.
  constexpr std::int32_t kNotSteady = 0x02 | 0x04 | 0x08 | 0x10 | 0x40;
  return (engine & kRunning) != 0 && (engine & kNotSteady) == 0 ? 1 : 0;
}

float fixedTarget(O2Signal signal, const DatalogReadOptions& options) {
  switch (signal) {
    case O2Signal::NarrowBandVolts:
      return options.o2TransferVolts;
    case O2Signal::Lambda:
      return 1.0f;
    case O2Signal::Afr:
      break;
  }
  return options.wideBandTargetAfr;
}

common::Expected<DatalogRead> readMslDatalog(const std::string& path, DatalogRecordSink& sink,
                                             const DatalogReadOptions& options) {
  DatalogRead read;
  std::string problem;
  std::uint64_t total = 0;
  FilePointer file = openDatalogFile(path, problem, &total);
  if (!file) return common::fail(problem);
  const char lineEnd = lineEndOf(file.get());
  LineScanner scanner(file.get(), lineEnd, lineEnd == '\r');
  LineScanner::Line line;
  std::int64_t lineNumber = 0;
  auto stop = [&](DatalogRead::End end, std::int64_t at, std::string text = {}) {
    read.end = end;
    read.line = at;
    read.problem = std::move(text);
    return read;
  };

  std::optional<MslColumns> columns;
  while (!columns && lineNumber < kMslHeaderSearchLines && scanner.next(line)) {
    ++lineNumber;
    const std::string_view text = withoutCr(line.text);
    if (line.tooLong || !isMslHeader(text)) continue;
    auto found = mslColumns(text);
    if (!found) return stop(DatalogRead::End::MissingColumn, lineNumber, found.reason());
    columns = std::move(*found);
  }
  if (scanner.failed()) return common::fail(readFailure(scanner));
  if (!columns) return stop(DatalogRead::End::MissingHeader, 1);
  read.firstRecordLine = lineNumber + 1;

  MslRead records(sink, *columns, fixedTarget(columns->signal, options), options.rpmMin);
  auto sinkStopped = [&] {
    return stop(DatalogRead::End::SinkStopped, read.firstRecordLine + records.records());
  };
  std::uint64_t reported = 0;
  bool afterHeader = true;
  while (scanner.next(line)) {
    ++lineNumber;
    const std::string_view text = withoutCr(line.text);
    const bool mayBeUnits = std::exchange(afterHeader, false);
    if (mayBeUnits && !line.tooLong) {
      // A units row names the units: its RPM field is not a number.
      const auto fields = splitTabs(text);
      const std::size_t rpm = columns->column[static_cast<std::size_t>(DatalogField::Rpm)];
      double value;
      if (rpm < fields.size() && !readNumber(fields[rpm], value)) {
        ++read.firstRecordLine;
        continue;
      }
    }
    if (line.tooLong) {
      if (!records.handOver()) return sinkStopped();
      return stop(DatalogRead::End::BadLine, lineNumber,
                  "longer than " + std::to_string(kMaxDatalogLineBytes) + " bytes");
    }
    const bool lastCutShort = !line.terminated && cutShort(text, columns->headerColumns);
    if (lastCutShort || !records.takeLine(text, read)) {
      read.warnings.push_back(std::memchr(text.data(), '\0', text.size()) != nullptr
                                  ? "ends in NUL bytes from line " + std::to_string(lineNumber) +
                                        " on, which were not read"
                                  : "line " + std::to_string(lineNumber) +
                                        " is cut short and was not read");
      break;
    }
    if (records.batchFull() && !records.handOver()) return sinkStopped();
    if (options.progress && scanner.consumed() - reported >= kChunkBytes) {
      reported = scanner.consumed();
      const std::int64_t at = lineNumber;
      if (!records.handOver()) return sinkStopped();
      if (!options.progress(reported, total)) return stop(DatalogRead::End::Cancelled, at);
    }
  }
  if (!records.handOver()) return sinkStopped();
  if (scanner.failed()) return common::fail(readFailure(scanner));
  return read;
}

}  // namespace tallimar::formats
