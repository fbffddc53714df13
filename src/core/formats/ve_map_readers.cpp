// The VE exchange, dump and MSQ readers, each over a copy of the table.
#include "formats/ve_map_readers.h"

#include <cctype>
#include <optional>
#include <vector>

#include "common/number_text.h"
#include "common/text_lines.h"

namespace tallimar::formats {

namespace {

using Lines = std::vector<std::string>;

bool startsWith(std::string_view line, std::string_view key) {
  if (line.size() < key.size()) return false;
  for (std::size_t i = 0; i < key.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(line[i])) != key[i]) return false;
  }
  return true;
}

// Columns first .. first + count - 1 (from 1), cut at the end of the line.
std::string_view columns(std::string_view line, std::size_t first, std::size_t count) {
  if (first - 1 >= line.size()) return {};
  return line.substr(first - 1, count);
}

// A line cursor that reports a block running past the end of the file.
class Cursor {
 public:
  explicit Cursor(const Lines& lines) : m_lines(lines) {}
  bool more() const { return m_next < m_lines.size(); }
  const std::string& current() const { return m_lines[m_next - 1]; }
  std::size_t lineNumber() const { return m_next; }  // of the current line, from 1
  // Moves to the next line; false at the end of the file.
  bool advance() {
    if (m_next >= m_lines.size()) return false;
    ++m_next;
    return true;
  }

 private:
  const Lines& m_lines;
  std::size_t m_next = 0;
};

class Reader {
 public:
  explicit Reader(std::string_view text) : m_lines(common::splitLines(text)), m_cursor(m_lines) {}

 protected:
  // A whole number from text, rounded halves to even; records a failure when it does not
  // fit 16 bits.
  std::int16_t number(std::string_view text, double factor = 1.0) {
    const auto value = common::toInt16(common::parseLeadingNumber(text) * factor);
    if (value) return *value;
    fail("VE map file: number out of range in line " + std::to_string(m_cursor.lineNumber()));
    return 0;
  }
  bool nextInBlock() {
    if (m_cursor.advance()) return true;
    fail("VE map file ends inside a block");
    return false;
  }
  void fail(const std::string& why) {
    if (m_error.empty()) m_error = why;
  }
  bool failed() const { return !m_error.empty(); }

  Lines m_lines;
  Cursor m_cursor;
  std::string m_error;
};

class ExchangeReader : Reader {
 public:
  using Reader::Reader;
  common::Outcome read(vemap::VeTable& table) {
    vemap::VeTable copy = table;
    while (!failed() && m_cursor.advance()) {
      if (startsWith(m_cursor.current(), "page")) continue;
      if (startsWith(m_cursor.current(), "ve table load")) readLoadRange(copy);
      if (!failed() && startsWith(m_cursor.current(), "ve table rpm")) readRpmRange(copy);
      if (!failed() && startsWith(m_cursor.current(), "ve table    ")) readValues(copy);
    }
    if (failed()) return common::fail(m_error);
    table = copy;
    return {};
  }

 private:
  // The two characters after the first "[" from column 12 on.
  std::optional<std::int16_t> size(const char* axis) {
    const std::string& line = m_cursor.current();
    const std::size_t bracket = line.size() > 11 ? line.find('[', 11) : std::string::npos;
    const std::string_view digits = bracket == std::string::npos
                                        ? std::string_view{}
                                        : std::string_view(line).substr(bracket + 1, 2);
    const std::int16_t value = number(digits);
    if (failed()) return std::nullopt;
    if (!vemap::VeTable::validSize(value)) {
      fail(std::string("VE map file: ") + axis + " size " + std::to_string(value) +
           " is outside 1 to 16");
      return std::nullopt;
    }
    return value;
  }
  void readLoadRange(vemap::VeTable& table) {
    const auto count = size("MAP");
    if (!count) return;
    table.sizeMap = *count;
    for (std::size_t k = 0; k < static_cast<std::size_t>(*count) && nextInBlock(); ++k) {
      table.mapBins[k] = number(columns(m_cursor.current(), 11, 4));
    }
  }
  void readRpmRange(vemap::VeTable& table) {
    const auto count = size("RPM");
    if (!count) return;
    table.sizeRpm = *count;
    for (std::size_t k = 0; k < static_cast<std::size_t>(*count) && nextInBlock(); ++k) {
      const std::string& line = m_cursor.current();
      const std::size_t equals = line.find('=');
      const std::string_view after = equals == std::string::npos
                                         ? std::string_view{}
                                         : std::string_view(line).substr(equals + 1);
      table.rpmBins[k] = number(after, 100.0);
    }
  }
  void readValues(vemap::VeTable& table) {
    if (!nextInBlock()) return;  // the column header
    for (int m = 0; m < table.activeMap() && nextInBlock(); ++m) {
      for (int r = 0; r < table.activeRpm(); ++r) {
        const auto first = static_cast<std::size_t>(13 + 6 * r);
        table.at(r, m) = number(columns(m_cursor.current(), first, 3));
      }
    }
  }
};

class DumpReader : Reader {
 public:
  using Reader::Reader;
  common::Outcome read(vemap::VeTable& table) {
    vemap::VeTable copy = table;
    while (!failed() && m_cursor.advance()) {
      if (startsWith(m_cursor.current(), "ve table map")) readBins(copy.mapBins, 1.0);
      if (!failed() && startsWith(m_cursor.current(), "ve table rpm")) {
        readBins(copy.rpmBins, 100.0);
      }
      if (!failed() && startsWith(m_cursor.current(), "ve table    ")) readValues(copy);
    }
    if (failed()) return common::fail(m_error);
    table = copy;
    return {};
  }

 private:
  static constexpr std::size_t kEntries = 8;
  void readBins(std::array<std::int16_t, vemap::kMaxBins>& bins, double factor) {
    for (std::size_t k = 0; k < kEntries && nextInBlock(); ++k) {
      bins[k] = number(columns(m_cursor.current(), 11, 4), factor);
    }
  }
  void readValues(vemap::VeTable& table) {
    if (!nextInBlock()) return;
    for (int m = 0; m < static_cast<int>(kEntries) && nextInBlock(); ++m) {
      for (int r = 0; r < static_cast<int>(kEntries); ++r) {
        const auto first = static_cast<std::size_t>(11 + 8 * r);
        table.at(r, m) = number(columns(m_cursor.current(), first, 4));
      }
    }
  }
};

}  // namespace

common::Outcome readVeExchange(std::string_view text, vemap::VeTable& table) {
  return ExchangeReader(text).read(table);
}

common::Outcome readMegaTuneDump(std::string_view text, vemap::VeTable& table) {
  return DumpReader(text).read(table);
}

VeFileKind veFileKindOf(std::string_view path) {
  if (path.size() < 3) return VeFileKind::Other;
  std::string ending;
  for (const char c : path.substr(path.size() - 3)) {
    ending += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  if (ending == "dmp") return VeFileKind::Dump;
  if (ending == "vex") return VeFileKind::Exchange;
  if (ending == "msq") return VeFileKind::Msq;
  return VeFileKind::Other;
}

}  // namespace tallimar::formats
