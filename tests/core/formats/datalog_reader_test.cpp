// Datalog reader: layouts, header rules, line limits, and the reader against line by line.
#include "formats/datalog_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <optional>
#include <random>
#include <tuple>

#include "support/temp_dir.h"

namespace tallimar::formats {
namespace {

using engine::DatalogRecord;
using End = DatalogRead::End;

const std::string kHeader = "Seconds\tRPM\tMAP\tO2\tStatus\tGego\tGair\tGwarm\tGbaro\tGve\tGammaE";
std::string row(int rpm, const char* o2 = "0.5") {
  return "1\t" + std::to_string(rpm) + "\t50\t" + o2 + "\t1\t100\t100\t100\t100\t60\t100";
}

struct RecordingSink : DatalogRecordSink {
  std::size_t take(std::span<const DatalogRecord> batch, std::int64_t first) override {
    for (std::size_t i = 0; i < batch.size(); ++i) {
      const std::int64_t position = first + static_cast<std::int64_t>(i);
      if (position == stopAt) return i;
      records.push_back(batch[i]);
      positions.push_back(position);
    }
    return batch.size();
  }
  std::vector<DatalogRecord> records;
  std::vector<std::int64_t> positions;
  std::int64_t stopAt = -1;
};

class DatalogReader : public testsupport::TempDirTest {
 protected:
  // Probes and reads a file with the given bytes.
  DatalogRead readText(const std::string& bytes) {
    const std::string file = write("log.xls", bytes);
    const auto probe = probeDatalog(file);
    EXPECT_TRUE(probe && probe->layout);
    RecordingSink sink;
    auto read = readDatalog(file, probe->layout.value_or(DatalogLayout::Classic), sink);
    EXPECT_TRUE(read.ok()) << read.reason();
    return read.ok() ? *read : DatalogRead{};
  }
};

TEST_F(DatalogReader, LayoutComesFromANamedHeaderOrTheFirstTwoCarriageReturnLines) {
  const std::string msl = "Time\tSecL\tRPM\tMAP\tAFR\tGve\n";
  const struct {
    std::string bytes;
    std::optional<DatalogLayout> layout;
  } cases[] = {
      {kHeader + "\r" + row(2000) + "\r", DatalogLayout::Classic},
      // Without a second CR-ended line it is the no-line-feed layout, whatever the text.
      {kHeader + "\r\n", DatalogLayout::NoLineFeed},
      {"Voltage\tAFR\r\n0.1\t10\r\n", std::nullopt},
      // A named header anywhere among the first 20 lines, any line end, any letter case...
      {"\"MS3 title\"\r\n\r\n###x\r\ntime\trpm\tmap\tAFR\tVE\r\n", DatalogLayout::Msl},
      {std::string(19, '\n') + msl, DatalogLayout::Msl},
      {std::string(20, '\n') + msl, DatalogLayout::NoLineFeed},
      // ... except on the first line ended by a CR: the full layout's header.
      {"Time\tSecL\tRPM\tMAP\tO2\r\n1\r\n", DatalogLayout::Full},
  };
  for (const auto& c : cases) {
    const auto probe = probeDatalog(write("probe.xls", c.bytes));
    ASSERT_TRUE(probe.ok()) << c.bytes;
    EXPECT_EQ(probe->layout, c.layout) << c.bytes;
  }
  EXPECT_EQ(probeDatalog(write("e.xls", "")).reason(), "is empty");
}

// A data line of exactly `bytes` bytes: the eleven columns, then one unread column that fills
// it up. A leading blank before Seconds is read alike but keeps the line off the quick path.
std::string lineOf(std::size_t bytes, bool plain) {
  const std::string columns = (plain ? "" : " ") + row(3000) + "\t";
  return columns + std::string(bytes - columns.size(), '7');
}

// The header rules and the line-length limit, on the quick and the general path.
TEST_F(DatalogReader, HeaderRulesAndOverlongLines) {
  const std::string huge(kMaxDatalogLineBytes + 1, '7');
  const std::size_t max = kMaxDatalogLineBytes;
  const std::string good = "\r\n" + row(2000) + "\r\n";
  const struct {
    std::string bytes;
    End end;
    std::int64_t entries, line;
  } cases[] = {
      // Header only: -1 without its line feed, 0 with it.
      {kHeader, End::Complete, -1, 0},
      {kHeader + "\n", End::Complete, 0, 0},
      // The first field must be exactly "Seconds" (any case).
      {"sEcOnDs\tx\r\n" + row(2000) + "\r\n", End::Complete, 1, 0},
      {"Seconds2\tRPM\n" + row(1) + "\n", End::MissingHeader, 0, 1},
      // The no-line-feed layout never reads the text after its last LF, however long.
      {kHeader + "\n" + row(2000) + "\n" + huge, End::Complete, 1, 0},
      // A line of exactly 1 MiB is read on either path; one byte more is refused.
      {kHeader + good + lineOf(max, true) + good, End::Complete, 3, 0},
      {kHeader + good + lineOf(max + 1, true) + good, End::BadLine, 0, 3},
      {kHeader + good + lineOf(max + 1, false) + good, End::BadLine, 0, 3},
  };
  for (const auto& c : cases) {
    const DatalogRead r = readText(c.bytes);
    EXPECT_EQ(std::tuple(r.end, r.entries, r.line, r.problem),
              std::tuple(c.end, c.entries, c.line,
                         std::string(c.end == End::BadLine ? "longer than 1048576 bytes" : "")))
        << c.bytes.substr(0, 100);
  }
}

// A CR LF pair cut by the reader's buffer end is one line end (the header grows byte by byte).
TEST_F(DatalogReader, LineEndsCutByTheBufferStayWhole) {
  const std::string line = row(2000) + "\r\n";
  std::string lines;
  for (int i = 0; i < 50000; ++i) lines += line;
  for (std::size_t shift = 0; shift < line.size(); ++shift) {
    const std::string file =
        write("cut.xls", "Seconds" + std::string(shift, 'x') + "\tRPM\r\n" + lines);
    RecordingSink all;
    const auto result = readDatalog(file, DatalogLayout::Classic, all);
    ASSERT_EQ(result->end, End::Complete) << shift << ": " << result->problem;
    ASSERT_EQ(result->entries, 50000);
  }
}

// Random datalogs: mostly plain lines, now and then odd, refused or long ones and lone LFs.
class RandomDatalog {
 public:
  explicit RandomDatalog(std::uint32_t seed) : m_random(seed) {}
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

  // badLines: a file with refused lines now and then (two in three files).
  std::string text(DatalogLayout layout, int lines, bool badLines) {
    m_oddEvery = badLines ? std::array<int, 3>{0, 150, 600}[static_cast<std::size_t>(pick(3))] : 0;
    const bool full = layout == DatalogLayout::Full;
    const bool lf = layout == DatalogLayout::NoLineFeed;
    std::string text = full ? "Time\tSecL\tRPM" : "Seconds\tRPM\tMAP";
    for (int i = 0; i < lines; ++i) {
      text += lf ? "\n" : (pick(3) ? "\r\n" : "\r");
      const int shortBy = odd(10) ? 1 + pick(3) : 0;
      text += line((full ? 16 : 11) + pick(3) - shortBy);
      if (!lf && odd(5)) text += "\n";  // a lone LF: part of the next line
    }
    // The last line without line end, with a lone CR or with CR LF.
    const int last = pick(3);
    if (last > 0) text += lf ? "\n" : (last == 1 ? "\r" : "\r\n");
    return text;
  }

 private:
  std::string line(int columns) {
    if (odd(20)) return "";
    std::string text;
    for (int c = 0; c < columns; ++c) {
      if (c) text += '\t';
      text += field();
    }
    return text;
  }
  std::string field() {
    static const char* const kOdd[] = {"+7", " 42",   "1e2",   ".5",     "5.",          "-0",  "x",
                                       "",   "99999", "40000", "-32769", "0.123456789", "1\r2"};
    if (odd(1)) return kOdd[pick(static_cast<int>(std::size(kOdd)))];
    // Mostly plain digits; now and then a number not for the quick way.
    const int kind = pick(30);
    return kind == 0   ? "+" + std::to_string(pick(50))
           : kind == 1 ? std::string(static_cast<std::size_t>(60 + pick(40)), '0') + "7"
           : kind == 2 ? std::to_string(pick(100)) + "." + std::to_string(pick(1000))
           : kind == 3 ? "-" + std::to_string(pick(300))
                       : std::to_string(pick(pick(2) ? 200 : 4000));
  }
  // Now and then, `times` times rarer than an odd field; never in a file without bad lines.
  bool odd(int times) { return m_oddEvery > 0 && pick(m_oddEvery * times) == 0; }
  std::mt19937 m_random;
  int m_oddEvery = 0;
};

// Reading line by line with parseDataLine: lines end at CR or CR LF (LF in the no-line-feed
// layout, which drops the text after its last LF); a bad line or the sink's stop ends the read.
DatalogRead readLineByLine(const std::string& text, DatalogLayout layout, RecordingSink& sink) {
  std::vector<std::string> lines;
  bool lastEnded = false;
  const char end = layout == DatalogLayout::NoLineFeed ? '\n' : '\r';
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t stop = text.find(end, at);
    lastEnded = stop != std::string::npos;
    lines.push_back(text.substr(at, lastEnded ? stop - at : std::string::npos));
    at = lastEnded ? stop + 1 : text.size();
    if (lastEnded && end == '\r' && at < text.size() && text[at] == '\n') ++at;
  }
  DatalogRead result;
  if (layout == DatalogLayout::NoLineFeed && !lastEnded) {
    lines.pop_back();
    // A header without line feed: no record, and the count the program gives is -1.
    if (lines.empty()) result.entries = -1;
  }
  if (lines.size() <= 1) return result;
  auto stop = [&](End how, std::size_t line, std::string problem) {
    result.end = how, result.line = static_cast<std::int64_t>(line), result.problem = problem;
    return result;
  };
  for (std::size_t i = 1; i < lines.size(); ++i) {
    DatalogRecord record;
    if (auto problem = parseDataLine(lines[i], layout, record))
      return stop(End::BadLine, i + 1, *problem);
    if (sink.take(std::span(&record, 1), static_cast<std::int64_t>(i)) == 0)
      return stop(End::SinkStopped, i + 1, {});
  }
  result.entries = static_cast<std::int64_t>(sink.records.size());
  return result;
}

// Bit for bit, so that -0.0 and 0.0 volts differ.
bool sameRecord(const DatalogRecord& a, const DatalogRecord& b) {
  return std::memcmp(&a.o2, &b.o2, sizeof a.o2) == 0 && a == b;
}

// Quick and general lines together read as line by line, refusals and large files included.
TEST_F(DatalogReader, QuickAndGeneralLinesTogetherReadAsLineByLine) {
  RandomDatalog maker(7);
  int outcomes[6] = {};
  for (int i = 0; i < 1200; ++i) {
    const auto layout = static_cast<DatalogLayout>(maker.pick(3));
    const bool large = i % 200 == 0;
    const std::string text =
        maker.text(layout, large ? 60000 + maker.pick(20000) : maker.pick(60), !large);
    const std::string file = write("random.xls", text);
    RecordingSink expected, actual;
    expected.stopAt = actual.stopAt = maker.pick(8) == 0 ? 1 + maker.pick(40) : -1;
    const auto want = readLineByLine(text, layout, expected);
    const auto read = readDatalog(file, layout, actual);
    ASSERT_TRUE(read.ok());
    ++outcomes[static_cast<int>(want.end)];
    const std::string where = "file " + std::to_string(i) + (large ? "" : ":\n" + text);
    ASSERT_EQ(std::tie(read->end, read->line, read->problem, read->entries, actual.positions),
              std::tie(want.end, want.line, want.problem, want.entries, expected.positions))
        << where;
    for (std::size_t r = 0; r < expected.records.size(); ++r)
      ASSERT_TRUE(sameRecord(actual.records[r], expected.records[r])) << where << "\nrecord " << r;
  }
  // The files really took the different ways out.
  EXPECT_GT(outcomes[static_cast<int>(End::Complete)], 300);
  EXPECT_GT(outcomes[static_cast<int>(End::BadLine)], 100);
  EXPECT_GT(outcomes[static_cast<int>(End::SinkStopped)], 20);
}

}  // namespace
}  // namespace tallimar::formats
