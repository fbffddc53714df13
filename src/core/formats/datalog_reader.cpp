// Streaming datalog reader: layout test, header rules and the data lines of the fixed layouts.
#include "formats/datalog_reader.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "formats/datalog_line_scanner.h"
#include "formats/datalog_msl.h"
#include "formats/datalog_plain_lines.h"

namespace tallimar::formats {
namespace {

constexpr std::size_t kRecordBatch = 1024;
constexpr std::size_t kMslProbeBytes = std::size_t{256} << 10;

bool startsWithIgnoringCase(std::string_view text, std::string_view word) {
  if (text.size() < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != word[i]) return false;
  }
  return true;
}

// The header rule of a layout on the first line (or first piece) of the file.
bool headerPasses(DatalogLayout layout, const LineScanner::Line& first) {
  switch (layout) {
    case DatalogLayout::Classic:
      return startsWithIgnoringCase(first.text, "SECONDS");
    case DatalogLayout::Full:
      return startsWithIgnoringCase(first.text, "TIME");
    case DatalogLayout::Msl:
      return false;  // read by readMslDatalog
    case DatalogLayout::NoLineFeed: {
      const std::size_t tab = first.text.find('\t');
      if (tab == std::string_view::npos && first.tooLong) return false;
      const std::string_view field = first.text.substr(0, tab);
      return field.size() == 7 && startsWithIgnoringCase(field, "SECONDS");
    }
  }
  return false;
}

// Whether a named-column header is among the first lines (ended by LF, CR LF or CR) of the
// file's first part. A header on the first line ended by a CR is the full layout's.
bool startsWithMslHeader(std::FILE* file) {
  std::vector<char> start(kMslProbeBytes);
  const std::size_t size = std::fread(start.data(), 1, start.size(), file);
  std::rewind(file);
  const std::string_view bytes(start.data(), size);
  std::size_t from = 0;
  for (int n = 0; n < kMslHeaderSearchLines && from < bytes.size(); ++n) {
    const std::size_t end = std::min(bytes.find_first_of("\r\n", from), bytes.size());
    if (isMslHeader(bytes.substr(from, end - from)))
      return !(n == 0 && end < bytes.size() && bytes[end] == '\r');
    from = end + 1;
    if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ++from;
  }
  return false;
}

}  // namespace

common::Expected<DatalogProbe> probeDatalog(const std::string& path) {
  std::string problem;
  FilePointer file = openDatalogFile(path, problem, nullptr);
  if (!file) return common::fail(problem);
  if (startsWithMslHeader(file.get())) return DatalogProbe{DatalogLayout::Msl};
  LineScanner scanner(file.get(), '\r', true);
  LineScanner::Line first;
  if (!scanner.next(first))
    return common::fail(scanner.failed() ? readFailure(scanner) : "is empty");
  const std::string start(first.text.substr(0, 7));
  LineScanner::Line second;
  const bool twoLines = scanner.next(second);
  if (scanner.failed()) return common::fail(readFailure(scanner));
  if (!twoLines) return DatalogProbe{DatalogLayout::NoLineFeed};
  if (startsWithIgnoringCase(start, "SECONDS")) return DatalogProbe{DatalogLayout::Classic};
  if (startsWithIgnoringCase(start, "TIME")) return DatalogProbe{DatalogLayout::Full};
  return DatalogProbe{};
}

common::Expected<DatalogRead> readDatalog(const std::string& path, DatalogLayout layout,
                                          DatalogRecordSink& sink,
                                          const DatalogReadOptions& options) {
  if (layout == DatalogLayout::Msl) return readMslDatalog(path, sink, options);
  DatalogRead result;
  std::uint64_t total = 0;
  std::string openProblem;
  FilePointer file = openDatalogFile(path, openProblem, &total);
  if (!file) return common::fail(openProblem);
  const ReadProgress& progress = options.progress;
  const bool noLineFeed = layout == DatalogLayout::NoLineFeed;
  LineScanner scanner(file.get(), noLineFeed ? '\n' : '\r', !noLineFeed);
  LineScanner::Line line;
  auto stop = [&](DatalogRead::End end, std::int64_t at, std::string why) {
    result.end = end;
    result.line = at;
    result.problem = std::move(why);
    return result;
  };

  if (!scanner.next(line))
    return common::fail(scanner.failed() ? readFailure(scanner) : "is empty");
  if (!headerPasses(layout, line)) return stop(DatalogRead::End::MissingHeader, 1, {});
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
  auto sinkStopped = [&]() { return stop(DatalogRead::End::SinkStopped, records + 2, {}); };

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
        return stop(DatalogRead::End::BadLine, lineNumber, std::move(*problem));
      }
      ++batched;
    }
    if (batched == batch.size() && !handOver()) return sinkStopped();
    if (progress && scanner.consumed() - reported >= kChunkBytes) {
      reported = scanner.consumed();
      const std::int64_t lastLine = records + static_cast<std::int64_t>(batched) + 1;
      if (!handOver()) return sinkStopped();
      if (!progress(reported, total)) return stop(DatalogRead::End::Cancelled, lastLine, {});
    }
  }
  if (!handOver()) return sinkStopped();
  if (scanner.failed()) return common::fail(readFailure(scanner));
  result.entries = noLineFeed && !headerEnded ? -1 : records;
  return result;
}

}  // namespace tallimar::formats
