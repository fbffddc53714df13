// Streaming datalog reader: layout test, header rules and the data lines of the three layouts.
#include "files/datalog_reader.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

#include "files/datalog_plain_lines.h"

namespace tallimar::files {
namespace {

constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
constexpr std::size_t kFillBytes = std::size_t{1} << 18;
constexpr std::size_t kKeptPrefixBytes = 64;  // what is kept of a line too long to hold
constexpr std::size_t kRecordBatch = 1024;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

// Hands out the lines of a file one by one, from a buffer refilled in large chunks. A line
// ends at `terminator`; with crLf a LF right after the CR belongs to the line end.
class LineScanner {
 public:
  struct Line {
    std::string_view text;    // without the line end; valid until the next call
    bool terminated = false;  // false for a last line that runs to the end of the file
    bool tooLong = false;     // longer than kMaxDatalogLineBytes: text holds its beginning
  };

  LineScanner(std::FILE* file, char terminator, bool crLf)
      : m_file(file),
        m_terminator(terminator),
        m_crLf(crLf),
        m_buffer(new char[kBufferBytes + kPlainLinesPadding]) {}

  bool next(Line& line) {
    m_begin = m_lineEnd;
    m_scanned = std::max(m_scanned, m_begin);
    while (true) {
      if (m_skipLf) {
        if (m_begin == m_size && !fill()) return false;
        if (m_buffer[m_begin] == '\n') ++m_begin;
        m_skipLf = false;
        m_scanned = std::max(m_scanned, m_begin);
      }
      const void* found = std::memchr(m_buffer.get() + m_scanned, m_terminator, m_size - m_scanned);
      if (found) {
        const auto end = static_cast<std::size_t>(static_cast<const char*>(found) - m_buffer.get());
        const bool tooLong = end - m_begin > kMaxDatalogLineBytes;
        if (tooLong) m_longPrefix.assign(m_buffer.get() + m_begin, kKeptPrefixBytes);
        line = {tooLong ? std::string_view(m_longPrefix)
                        : std::string_view(m_buffer.get() + m_begin, end - m_begin),
                true, tooLong};
        finishLineAt(end);
        return true;
      }
      m_scanned = m_size;
      if (m_size - m_begin > kMaxDatalogLineBytes) return skipLongLine(line);
      if (m_eof || !fill()) {
        if (m_begin == m_size) return false;
        line = {std::string_view(m_buffer.get() + m_begin, m_size - m_begin), false, false};
        m_lineEnd = m_size;
        return true;
      }
    }
  }

  // The whole lines in the buffer from the next line on, read ahead when the buffer holds
  // none; empty at the end of the file and where a line is too long to hold (next() deals
  // with both). kPlainLinesPadding bytes after them are readable. With crLf a CR at the very
  // end of the buffer waits for the next read, which tells whether an LF belongs to it.
  std::string_view wholeLines() {
    m_begin = m_lineEnd;
    while (true) {
      if (m_skipLf) {
        if (m_begin == m_size && !fill()) return {};
        if (m_buffer[m_begin] == '\n') ++m_begin;
        m_skipLf = false;
        m_lineEnd = m_begin;
      }
      m_scanned = std::max(m_scanned, m_begin);
      const std::size_t last = lastLineEnd();
      if (last > m_begin) return {m_buffer.get() + m_begin, last - m_begin};
      if (m_eof || m_size - m_begin > kMaxDatalogLineBytes || !fill()) return {};
    }
  }
  // Passes over the first `bytes` of what wholeLines() gave.
  void advance(std::size_t bytes) {
    m_lineEnd = m_begin + bytes;
    m_scanned = std::max(m_scanned, m_lineEnd);
  }

  bool failed() const { return m_error; }
  int error() const { return m_errno; }
  std::uint64_t consumed() const { return m_offset + m_lineEnd; }

 private:
  void finishLineAt(std::size_t end) {
    m_lineEnd = end + 1;
    if (m_crLf) {
      if (m_lineEnd < m_size) {
        if (m_buffer[m_lineEnd] == '\n') ++m_lineEnd;
      } else {
        m_skipLf = true;
      }
    }
  }

  // The end of the last whole line in the buffer (after its line end); m_begin or less for
  // none. Found once per read into the buffer, so a long partial line at the buffer's end is
  // not searched again for every odd line before it.
  std::size_t lastLineEnd() {
    if (m_wholeEnd != kUnknown) return m_wholeEnd;
    std::size_t end = m_size;
    if (m_crLf && !m_eof && end > 0) --end;  // a last CR may yet be followed by LF
    while (end > 0 && m_buffer[end - 1] != m_terminator) --end;
    if (end > 0 && m_crLf && end < m_size && m_buffer[end] == '\n') ++end;
    return m_wholeEnd = end;
  }

  // Keeps the beginning of an overlong line and passes over the rest of it.
  bool skipLongLine(Line& line) {
    m_longPrefix.assign(m_buffer.get() + m_begin, kKeptPrefixBytes);
    line = {m_longPrefix, false, true};
    while (true) {
      const void* found = std::memchr(m_buffer.get() + m_scanned, m_terminator, m_size - m_scanned);
      if (found) {
        finishLineAt(static_cast<std::size_t>(static_cast<const char*>(found) - m_buffer.get()));
        line.terminated = true;
        return true;
      }
      m_begin = m_scanned = m_lineEnd = m_size;
      if (m_eof || !fill()) return true;
    }
  }

  // Moves the unread bytes to the front and reads more; false at the end of the file.
  bool fill() {
    m_wholeEnd = kUnknown;
    if (m_begin > 0) {
      std::memmove(m_buffer.get(), m_buffer.get() + m_begin, m_size - m_begin);
      m_offset += m_begin;
      m_size -= m_begin;
      m_scanned -= m_begin;
      m_lineEnd = m_lineEnd > m_begin ? m_lineEnd - m_begin : 0;
      m_begin = 0;
    }
    // A quarter megabyte at a time: only the part of the buffer that is read into is ever
    // touched, and every new page of memory costs (a line may still fill the whole buffer).
    const std::size_t wanted = std::min(kFillBytes, kBufferBytes - m_size);
    const std::size_t read = std::fread(m_buffer.get() + m_size, 1, wanted, m_file);
    if (read == 0) {
      if (std::ferror(m_file)) m_error = true, m_errno = errno;
      m_eof = true;
      return false;
    }
    m_size += read;
    // What lies past the bytes read is looked at (never used) by readPlainLines.
    std::memset(m_buffer.get() + m_size, 0, kPlainLinesPadding);
    return true;
  }

  std::FILE* m_file;
  char m_terminator;
  bool m_crLf;
  static constexpr std::size_t kBufferBytes = kMaxDatalogLineBytes + kChunkBytes;
  std::unique_ptr<char[]> m_buffer;  // not zero-filled: only the bytes read are looked at
  std::size_t m_begin = 0;           // start of the line being looked for
  std::size_t m_scanned = 0;         // bytes from m_begin on already searched for the terminator
  std::size_t m_size = 0;            // bytes in the buffer
  std::size_t m_lineEnd = 0;         // first byte after the last line handed out, line end included
  std::uint64_t m_offset = 0;        // file offset of the buffer's first byte
  static constexpr std::size_t kUnknown = ~std::size_t{0};
  std::size_t m_wholeEnd = kUnknown;  // lastLineEnd(), while the buffer holds the same bytes
  bool m_skipLf = false;
  bool m_eof = false;
  bool m_error = false;
  int m_errno = 0;
  std::string m_longPrefix;
};

bool startsWithIgnoringCase(std::string_view text, std::string_view word) {
  if (text.size() < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != word[i]) return false;
  }
  return true;
}

FilePointer openForReading(const std::string& path, std::string& problem, std::uint64_t* size) {
  // A pipe or a device may never end (/dev/zero): only plain files are datalogs.
  std::error_code ec;
  if (std::filesystem::exists(path, ec) && !std::filesystem::is_regular_file(path, ec)) {
    problem = "is not a file";
    return nullptr;
  }
  FilePointer file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    problem = std::string("cannot be opened: ") + std::strerror(errno);
    return file;
  }
  if (size) {
    *size = 0;
    if (std::fseek(file.get(), 0, SEEK_END) == 0) {
      const long end = std::ftell(file.get());
      if (end > 0) *size = static_cast<std::uint64_t>(end);
    }
    std::rewind(file.get());
  }
  return file;
}

std::string readFailure(const LineScanner& scanner) {
  return std::string("cannot be read: ") + std::strerror(scanner.error());
}

// The header rule of a layout on the first line (or first piece) of the file.
bool headerPasses(DatalogLayout layout, const LineScanner::Line& first) {
  switch (layout) {
    case DatalogLayout::Classic:
      return startsWithIgnoringCase(first.text, "SECONDS");
    case DatalogLayout::Full:
      return startsWithIgnoringCase(first.text, "TIME");
    case DatalogLayout::NoLineFeed: {
      const std::size_t tab = first.text.find('\t');
      if (tab == std::string_view::npos && first.tooLong) return false;
      const std::string_view field = first.text.substr(0, tab);
      return field.size() == 7 && startsWithIgnoringCase(field, "SECONDS");
    }
  }
  return false;
}

}  // namespace

DatalogProbe probeDatalog(const std::string& path) {
  DatalogProbe probe;
  FilePointer file = openForReading(path, probe.problem, nullptr);
  if (!file) return probe;
  LineScanner scanner(file.get(), '\r', true);
  LineScanner::Line first;
  if (!scanner.next(first)) {
    probe.problem = scanner.failed() ? readFailure(scanner) : "is empty";
    return probe;
  }
  const std::string start(first.text.substr(0, 7));
  LineScanner::Line second;
  const bool twoLines = scanner.next(second);
  if (scanner.failed()) {
    probe.problem = readFailure(scanner);
    return probe;
  }
  probe.kind = DatalogProbe::Kind::Layout;
  if (!twoLines) {
    probe.layout = DatalogLayout::NoLineFeed;
  } else if (startsWithIgnoringCase(start, "SECONDS")) {
    probe.layout = DatalogLayout::Classic;
  } else if (startsWithIgnoringCase(start, "TIME")) {
    probe.layout = DatalogLayout::Full;
  } else {
    probe.kind = DatalogProbe::Kind::Unrecognised;
  }
  return probe;
}

DatalogReadResult readDatalog(const std::string& path, DatalogLayout layout,
                              DatalogRecordSink& sink, const ReadProgress& progress) {
  DatalogReadResult result;
  std::uint64_t total = 0;
  FilePointer file = openForReading(path, result.problem, &total);
  if (!file) {
    result.kind = DatalogReadResult::Kind::Unreadable;
    return result;
  }
  const bool noLineFeed = layout == DatalogLayout::NoLineFeed;
  LineScanner scanner(file.get(), noLineFeed ? '\n' : '\r', !noLineFeed);
  LineScanner::Line line;
  auto fail = [&](DatalogReadResult::Kind kind, std::int64_t at, std::string problem) {
    result.kind = kind;
    result.line = at;
    result.problem = std::move(problem);
    return result;
  };

  if (!scanner.next(line)) {
    return fail(DatalogReadResult::Kind::Unreadable, 0,
                scanner.failed() ? readFailure(scanner) : "is empty");
  }
  if (!headerPasses(layout, line)) return fail(DatalogReadResult::Kind::MissingHeader, 1, {});
  const bool headerEnded = line.terminated;

  // Records go to the sink in batches; `records` counts those handed over so far.
  std::array<engine::DatalogRecord, kRecordBatch> batch;
  std::size_t batched = 0;
  std::int64_t records = 0;
  auto handOver = [&]() {
    const std::size_t taken =
        batched ? sink.take(std::span(batch.data(), batched), records + 1) : 0;
    const bool all = taken >= batched;
    records += static_cast<std::int64_t>(std::min(taken, batched));
    batched = 0;
    return all;
  };
  // The sink stopped at record `records + 1`, which is on line `records + 2`.
  auto sinkStopped = [&]() { return fail(DatalogReadResult::Kind::SinkStopped, records + 2, {}); };

  std::uint64_t reported = 0;
  while (true) {
    // Plain lines are read straight from the scanner's buffer; the first other line, an
    // overlong line and the file's end are taken line by line.
    const std::string_view whole = scanner.wholeLines();
    const PlainLines plain = readPlainLines(whole, layout, std::span(batch).subspan(batched));
    scanner.advance(plain.bytes);
    batched += plain.records;
    if (whole.empty() || (plain.bytes < whole.size() && batched < batch.size())) {
      if (!scanner.next(line)) break;
      // The no-line-feed layout does not read the text after the last line feed.
      if (noLineFeed && !line.terminated) break;
      const std::int64_t lineNumber = records + static_cast<std::int64_t>(batched) + 2;
      std::optional<std::string> problem;
      if (line.tooLong) {
        problem = "longer than " + std::to_string(kMaxDatalogLineBytes) + " bytes";
      } else {
        problem = parseDataLine(line.text, layout, batch[batched]);
      }
      if (problem) {
        if (!handOver()) return sinkStopped();
        return fail(DatalogReadResult::Kind::BadLine, lineNumber, std::move(*problem));
      }
      ++batched;
    }
    if (batched == batch.size() && !handOver()) return sinkStopped();
    if (progress && scanner.consumed() - reported >= kChunkBytes) {
      reported = scanner.consumed();
      const std::int64_t lastLine = records + static_cast<std::int64_t>(batched) + 1;
      if (!handOver()) return sinkStopped();
      if (!progress(reported, total)) return fail(DatalogReadResult::Kind::Cancelled, lastLine, {});
    }
  }
  if (!handOver()) return sinkStopped();
  if (scanner.failed())
    return fail(DatalogReadResult::Kind::Unreadable, records + 2, readFailure(scanner));
  result.entries = noLineFeed && !headerEnded ? -1 : records;
  return result;
}

}  // namespace tallimar::files
