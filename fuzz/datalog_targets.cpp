// Fuzz targets of the datalog readers: the probe and the fixed layouts against a plain
// line-by-line reading, the fast line reader against the general one, and named-column logs.
#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "formats/datalog_line.h"
#include "formats/datalog_line_scanner.h"
#include "formats/datalog_plain_lines.h"
#include "formats/datalog_reader.h"
#include "fuzz_targets.h"

namespace tallimar::fuzz {
namespace {

using engine::DatalogRecord;
using formats::DatalogLayout;
using formats::DatalogRead;

struct Records : formats::DatalogRecordSink {
  std::vector<DatalogRecord> records;
  std::size_t limit = ~std::size_t{0};  // records taken before the sink stops the read
  std::size_t take(std::span<const DatalogRecord> batch, std::int64_t first) override {
    FUZZ_CHECK(static_cast<std::size_t>(first) == records.size() + 1);
    const std::size_t taken = std::min(batch.size(), limit - records.size());
    records.insert(records.end(), batch.begin(), batch.begin() + static_cast<long>(taken));
    return taken;
  }
};

struct Line {
  std::string_view text;
  bool terminated;
  std::size_t end;  // offset after its line end
};

// The lines of text as the layout ends them: at LF (no-line-feed), or at CR with an LF
// right after it belonging to the line end.
std::vector<Line> splitLayoutLines(std::string_view text, DatalogLayout layout) {
  const char terminator = layout == DatalogLayout::NoLineFeed ? '\n' : '\r';
  std::vector<Line> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t found = text.find(terminator, at);
    if (found == std::string_view::npos) {
      lines.push_back({text.substr(at), false, text.size()});
      break;
    }
    std::size_t end = found + 1;
    if (terminator == '\r' && end < text.size() && text[end] == '\n') ++end;
    lines.push_back({text.substr(at, found - at), true, end});
    at = end;
  }
  return lines;
}

bool startsWithWord(std::string_view text, std::string_view word) {
  if (text.size() < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(text[i])) != word[i]) return false;
  return true;
}

// What reading a fixed-layout file must give, line by line through parseDataLine.
DatalogRead expectedRead(std::string_view text, DatalogLayout layout,
                         std::vector<DatalogRecord>& records) {
  const std::vector<Line> lines = splitLayoutLines(text, layout);
  DatalogRead read;
  const std::string_view header = lines[0].text;
  const bool passes =
      layout == DatalogLayout::NoLineFeed
          ? header.substr(0, header.find('\t')).size() == 7 && startsWithWord(header, "SECONDS")
          : startsWithWord(header, layout == DatalogLayout::Classic ? "SECONDS" : "TIME");
  if (!passes) {
    read.end = DatalogRead::End::MissingHeader;
    read.line = 1;
    return read;
  }
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (layout == DatalogLayout::NoLineFeed && !lines[i].terminated) break;
    DatalogRecord record;
    if (auto problem = formats::parseDataLine(lines[i].text, layout, record)) {
      read.end = DatalogRead::End::BadLine;
      read.line = static_cast<std::int64_t>(i) + 1;
      read.problem = *problem;
      return read;
    }
    records.push_back(record);
  }
  read.entries = layout == DatalogLayout::NoLineFeed && !lines[0].terminated
                     ? -1
                     : static_cast<std::int64_t>(records.size());
  return read;
}

// The records written again as a classic log, which every reader must read back alike.
std::string classicText(const std::vector<DatalogRecord>& records) {
  std::string text = "Seconds\tRPM\tMAP\tO2\tStatus\tGego\tGair\tGwarm\tGbaro\tGve\tGammaE\r\n";
  for (const DatalogRecord& r : records) {
    char line[200];
    std::snprintf(line, sizeof line, "%d\t%d\t%d\t%.9g\t%d\t%d\t%d\t%d\t%d\t%d\t%d\r\n", r.seconds,
                  r.rpm, r.map, static_cast<double>(r.o2), r.status, r.gego, r.gair, r.gwarm,
                  r.gbaro, r.gve, r.gammaE);
    text += line;
  }
  return text;
}

// Reads text in a fixed layout, checks it against the line-by-line reading, and returns
// the records.
std::vector<DatalogRecord> checkFixedRead(std::string_view text, DatalogLayout layout) {
  Records sink;
  const auto read = formats::readDatalog(inputFile(text), layout, sink);
  FUZZ_CHECK(read.ok() == !text.empty());
  if (!read) return {};
  std::vector<DatalogRecord> expected;
  const DatalogRead want = expectedRead(text, layout, expected);
  FUZZ_CHECK(read->end == want.end);
  FUZZ_CHECK(sink.records == expected);
  FUZZ_CHECK(read->end != DatalogRead::End::BadLine || read->line == want.line);
  FUZZ_CHECK(read->end != DatalogRead::End::Complete || read->entries == want.entries);
  return sink.records;
}

}  // namespace

// Each reader allocates its line buffer afresh, which under AddressSanitizer costs more than
// a small input's reading: one layout per input is read, the probed one if it is fixed.
int fuzzDatalog(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  // One input in eight has its data lines repeated past the reader's first buffer fill, so
  // that lines and CR LF pairs straddle its refills.
  std::string grown;
  const std::size_t body = text.find_first_of("\r\n") + 1;
  if (size % 8 == 7 && body > 0 && body < size) {
    grown = text;
    while (grown.size() <= formats::kFillBytes) grown += text.substr(body);
    text = grown;
  }
  const auto probe = formats::probeDatalog(inputFile(text));
  FUZZ_CHECK(probe.ok() == !text.empty());
  constexpr std::array kFixed{DatalogLayout::NoLineFeed, DatalogLayout::Classic,
                              DatalogLayout::Full};
  const DatalogLayout layout = probe && probe->layout && *probe->layout != DatalogLayout::Msl
                                   ? *probe->layout
                                   : kFixed[size % 3];
  const std::vector<DatalogRecord> records = checkFixedRead(text, layout);
  // What was read, written again, reads back the same.
  Records again;
  const auto reread =
      formats::readDatalog(inputFile(classicText(records)), DatalogLayout::Classic, again);
  FUZZ_CHECK(reread && reread->end == DatalogRead::End::Complete && again.records == records);
  // A sink that stops the read halfway gets the first half and the line where it stopped.
  if (records.size() < 2 || size % 2 == 0) return 0;
  Records half;
  half.limit = records.size() / 2;
  const auto stopped = formats::readDatalog(inputFile(text), layout, half);
  FUZZ_CHECK(stopped && stopped->end == DatalogRead::End::SinkStopped);
  FUZZ_CHECK(stopped->line == static_cast<std::int64_t>(half.limit) + 2);
  FUZZ_CHECK(half.records.size() == half.limit &&
             std::equal(half.records.begin(), half.records.end(), records.begin()));
  return 0;
}

int fuzzDatalogLines(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  constexpr std::array kLayouts{DatalogLayout::NoLineFeed, DatalogLayout::Classic,
                                DatalogLayout::Full};
  const DatalogLayout layout = kLayouts[data[0] % 3];
  const char terminator = layout == DatalogLayout::NoLineFeed ? '\n' : '\r';
  // The block holds whole lines and is followed by the padding the fast reader may look at.
  std::string buffer(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (buffer.empty() ||
      (buffer.back() != terminator && !(terminator == '\r' && buffer.ends_with("\r\n"))))
    buffer += terminator;
  const std::size_t blockSize = buffer.size();
  buffer.append(formats::kPlainLinesPadding, '\0');
  const std::string_view block(buffer.data(), blockSize);
  std::vector<DatalogRecord> records(1 + data[0] / 3 % 40);
  const formats::PlainLines plain = formats::readPlainLines(block, layout, records);
  // Every line taken is read exactly as the general reader reads it.
  const std::vector<Line> lines = splitLayoutLines(block, layout);
  FUZZ_CHECK(plain.records <= records.size() && plain.records <= lines.size());
  FUZZ_CHECK(plain.bytes == (plain.records == 0 ? 0 : lines[plain.records - 1].end));
  for (std::size_t i = 0; i < plain.records; ++i) {
    DatalogRecord general;
    FUZZ_CHECK(!formats::parseDataLine(lines[i].text, layout, general));
    FUZZ_CHECK(general == records[i]);
  }
  return 0;
}

int fuzzMsl(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Records sink;
  const auto read = formats::readDatalog(inputFile(text), DatalogLayout::Msl, sink);
  FUZZ_CHECK(read.ok());  // a named-column read fails only when the file cannot be read
  if (!read || read->end != DatalogRead::End::Complete) return 0;
  FUZZ_CHECK(static_cast<std::int64_t>(sink.records.size()) == read->entries + read->gapLines);
  FUZZ_CHECK(read->statusSkipped + read->belowRpmMin <= read->entries);
  // The records written again as a plain named-column log read back the same, each a sample.
  std::string again = "Time\tRPM\tMAP\tGve\tAFR\tGego\tGammae\tEngine\tAFRtrgt1\n";
  for (const DatalogRecord& r : sink.records) {
    FUZZ_CHECK(r.gair == 0 && r.gwarm == 0 && r.gbaro == 0 && (r.status == 0 || r.status == 1));
    char line[200];
    std::snprintf(line, sizeof line, "%d\t%d\t%d\t%d\t%.9g\t%d\t%d\t%d\t%.9g\n", r.seconds, r.rpm,
                  r.map, r.gve, static_cast<double>(r.o2), r.gego, r.gammaE, r.status,
                  static_cast<double>(r.o2Target));
    again += line;
  }
  Records reread;
  const auto second = formats::readDatalog(inputFile(again), DatalogLayout::Msl, reread);
  FUZZ_CHECK(second && second->end == DatalogRead::End::Complete && second->gapLines == 0);
  FUZZ_CHECK(reread.records == sink.records);
  return 0;
}

const std::string& inputFile(std::string_view bytes) {
  static const int fd = memfd_create("tallimar-fuzz-input", 0);
  static const std::string path = "/proc/self/fd/" + std::to_string(fd);
  if (fd < 0 || ftruncate(fd, 0) != 0 ||
      pwrite(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) {
    std::perror("fuzz input file");
    std::abort();
  }
  return path;
}

}  // namespace tallimar::fuzz
