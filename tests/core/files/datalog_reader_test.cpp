// Datalog reader: layout detection, header rules, the entry counts of each layout, the
// failure rules, and streaming across buffer boundaries of large files.
#include "files/datalog_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>

#include "support/datalog_generator.h"
#include "support/temp_dir.h"

namespace tallimar::files {
namespace {

using engine::DatalogRecord;

using testsupport::DatalogShape;
using testsupport::LogLayout;
using Kind = DatalogReadResult::Kind;

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
  DatalogReadResult readText(const std::string& bytes, DatalogProbe* probeOut = nullptr) {
    const std::string file = write("log.xls", bytes);
    const DatalogProbe probe = probeDatalog(file);
    if (probeOut) *probeOut = probe;
    EXPECT_EQ(probe.kind, DatalogProbe::Kind::Layout) << probe.problem;
    sink = RecordingSink{};
    return readDatalog(file, probe.layout, sink);
  }
  DatalogLayout layoutOf(const std::string& bytes) {
    const DatalogProbe probe = probeDatalog(write("probe.xls", bytes));
    EXPECT_EQ(probe.kind, DatalogProbe::Kind::Layout);
    return probe.layout;
  }
  RecordingSink sink;
};

TEST_F(DatalogReader, LayoutComesFromTheFirstTwoCarriageReturnLines) {
  EXPECT_EQ(layoutOf(kHeader + "\r\n" + row(2000) + "\r\n"), DatalogLayout::Classic);
  EXPECT_EQ(layoutOf(kHeader + "\r" + row(2000) + "\r"), DatalogLayout::Classic);
  EXPECT_EQ(layoutOf("seconds\trpm\r\n" + row(2000)), DatalogLayout::Classic);
  EXPECT_EQ(layoutOf("Time\tSecL\r\nx\r\n"), DatalogLayout::Full);
  EXPECT_EQ(layoutOf("TIMESTAMP\r\nx"), DatalogLayout::Full);
  // Without a second CR-ended line it is the no-line-feed layout, whatever the text.
  EXPECT_EQ(layoutOf(kHeader + "\n" + row(2000) + "\n"), DatalogLayout::NoLineFeed);
  EXPECT_EQ(layoutOf(kHeader + "\r\n"), DatalogLayout::NoLineFeed);
  EXPECT_EQ(layoutOf("Voltage\tAFR\n0.1\t10\n"), DatalogLayout::NoLineFeed);

  const auto other = probeDatalog(write("o.xls", "Voltage\tAFR\r\n0.1\t10\r\n"));
  EXPECT_EQ(other.kind, DatalogProbe::Kind::Unrecognised);
  const auto empty = probeDatalog(write("e.xls", ""));
  EXPECT_EQ(empty.kind, DatalogProbe::Kind::Unreadable);
  EXPECT_EQ(empty.problem, "is empty");
  for (const char* device : {"/dev/zero", "/tmp"}) {
    const auto special = probeDatalog(device);
    EXPECT_EQ(special.kind, DatalogProbe::Kind::Unreadable);
    EXPECT_EQ(special.problem, "is not a file");
  }
  const auto missing = probeDatalog(path("missing.xls"));
  EXPECT_EQ(missing.kind, DatalogProbe::Kind::Unreadable);
  EXPECT_EQ(missing.problem.rfind("cannot be opened", 0), 0u);
}

TEST_F(DatalogReader, ClassicReadsEveryLineAfterTheHeaderLowerCaseAccepted) {
  auto result = readText("sEcOnDs\tx\r\n" + row(2000) + "\r\n");
  EXPECT_EQ(result.kind, Kind::Read);
  EXPECT_EQ(result.entries, 1);
  ASSERT_EQ(sink.records.size(), 1u);
  EXPECT_EQ(sink.records[0].rpm, 2000);
  // A lone CR ends lines too, and a last line without line end is read.
  result = readText(kHeader + "\r" + row(2100) + "\r" + row(2200));
  EXPECT_EQ(result.entries, 2);
  EXPECT_EQ(sink.positions, (std::vector<std::int64_t>{1, 2}));
  EXPECT_EQ(sink.records[1].rpm, 2200);
}

TEST_F(DatalogReader, NoLineFeedLayoutSkipsTheTextAfterTheLastLineFeed) {
  auto result = readText(kHeader + "\n" + row(2000) + "\n" + row(2100) + "\n");
  EXPECT_EQ(result.kind, Kind::Read);
  EXPECT_EQ(result.entries, 2);
  result = readText(kHeader + "\n" + row(2000) + "\n" + row(2100));
  EXPECT_EQ(result.entries, 1);
  EXPECT_EQ(sink.records.size(), 1u);
  // Header only: one line, no records, the count reported is -1.
  result = readText(kHeader);
  EXPECT_EQ(result.kind, Kind::Read);
  EXPECT_EQ(result.entries, -1);
  EXPECT_TRUE(sink.records.empty());
  // With its line feed the header-only file reports 0.
  EXPECT_EQ(readText(kHeader + "\n").entries, 0);
  // The first field must be exactly "Seconds" (any case).
  EXPECT_EQ(readText("SECONDS\tRPM\n" + row(1) + "\n").kind, Kind::Read);
  EXPECT_EQ(readText("Seconds2\tRPM\n" + row(1) + "\n").kind, Kind::MissingHeader);
  EXPECT_EQ(readText("Voltage\tAFR\n0.1\t10\n").kind, Kind::MissingHeader);
}

TEST_F(DatalogReader, BadDataLinesStopTheReadWithTheirLineNumber) {
  auto result = readText(kHeader + "\r\n" + row(2000) + "\r\n\r\n" + row(2100) + "\r\n");
  EXPECT_EQ(result.kind, Kind::BadLine);
  EXPECT_EQ(result.line, 3);
  EXPECT_EQ(result.problem, "blank line");
  EXPECT_EQ(sink.records.size(), 1u);

  result = readText(kHeader + "\r\n" + row(2000) + "\r\n1\t2\t3\r\n");
  EXPECT_EQ(result.kind, Kind::BadLine);
  EXPECT_EQ(result.line, 3);
  EXPECT_EQ(result.problem, "fewer than 11 columns (3)");

  result = readText(kHeader + "\n" + row(2000) + "\n" + row(2000) + "\n" + row(40000) + "\n");
  EXPECT_EQ(result.kind, Kind::BadLine);
  EXPECT_EQ(result.line, 4);
  EXPECT_EQ(result.problem, "RPM (column 2) \"40000\" is out of range");

  // A lone LF inside a CR-ended file is part of a line, so the field is no number.
  result = readText(kHeader + "\r\n" + row(2000) + "\n" + row(2100) + "\r\n");
  EXPECT_EQ(result.kind, Kind::BadLine);
  EXPECT_EQ(result.line, 2);
}

TEST_F(DatalogReader, OverlongLinesAreRefusedButAnOverlongUnreadTailIsNot) {
  const std::string huge(kMaxDatalogLineBytes + 10, '7');
  auto result =
      readText(kHeader + "\r\n" + row(2000) + "\r\n" + huge + "\r\n" + row(2000) + "\r\n");
  EXPECT_EQ(result.kind, Kind::BadLine);
  EXPECT_EQ(result.line, 3);
  EXPECT_EQ(result.problem, "longer than 1048576 bytes");
  // The no-line-feed layout never reads the text after its last LF, however long.
  result = readText(kHeader + "\n" + row(2000) + "\n" + huge);
  EXPECT_EQ(result.kind, Kind::Read);
  EXPECT_EQ(result.entries, 1);
  // A huge first line is a header that cannot be "Seconds" in the no-line-feed layout.
  result = readText(huge + "\n" + row(2000) + "\n");
  EXPECT_EQ(result.kind, Kind::MissingHeader);
}

TEST_F(DatalogReader, SinkAndProgressCanStopTheRead) {
  const std::string file = path("big.xls");
  DatalogShape shape;
  shape.samples = 100000;
  testsupport::writeDatalog(file, shape);
  RecordingSink stopping;
  stopping.stopAt = 5;
  auto result = readDatalog(file, DatalogLayout::Classic, stopping);
  EXPECT_EQ(result.kind, Kind::SinkStopped);
  EXPECT_EQ(result.line, 6);

  RecordingSink all;
  std::vector<std::uint64_t> reports;
  result =
      readDatalog(file, DatalogLayout::Classic, all, [&](std::uint64_t done, std::uint64_t total) {
        reports.push_back(done);
        EXPECT_EQ(total, std::filesystem::file_size(file));
        return reports.size() < 2;
      });
  EXPECT_EQ(result.kind, Kind::Cancelled);
  EXPECT_EQ(reports.size(), 2u);
  EXPECT_LT(all.records.size(), 100000u);
}

// Large generated files in every layout and line end come out record for record, also where
// a line, or a CR LF pair, straddles the reader's buffer boundaries.
TEST_F(DatalogReader, GeneratedFilesReadBackRecordForRecord) {
  struct Case {
    LogLayout layout;
    const char* lineEnd;
    bool lastLineEnded;
  };
  for (const Case& c :
       {Case{LogLayout::Classic, "\r\n", true}, Case{LogLayout::Classic, "\r", false},
        Case{LogLayout::Full, "\r\n", false}, Case{LogLayout::NoLineFeed, "\n", false},
        Case{LogLayout::NoLineFeed, "\n", true}}) {
    DatalogShape shape;
    shape.layout = c.layout;
    shape.lineEnd = c.lineEnd;
    shape.lastLineEnded = c.lastLineEnded;
    shape.samples = 70000;  // more than two of the reader's buffers
    shape.seed = 11;
    const std::string file = path("gen.xls");
    testsupport::writeDatalog(file, shape);
    const DatalogProbe probe = probeDatalog(file);
    ASSERT_EQ(probe.kind, DatalogProbe::Kind::Layout);
    RecordingSink all;
    const auto result = readDatalog(file, probe.layout, all);
    ASSERT_EQ(result.kind, Kind::Read) << result.problem << " at " << result.line;
    const auto expected = testsupport::expectedRecords(shape);
    ASSERT_EQ(all.records.size(), expected.size());
    EXPECT_EQ(result.entries, static_cast<std::int64_t>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const auto& a = all.records[i];
      const auto& e = expected[i];
      ASSERT_TRUE(a.rpm == e.rpm && a.map == e.map && a.o2 == e.o2 && a.status == e.status &&
                  a.gego == e.gego && a.gve == e.gve && a.gammaE == e.gammaE &&
                  a.seconds == e.seconds && a.gair == e.gair && a.gwarm == e.gwarm && a.gbaro == e.gbaro)
          << "record " << i + 1;
    }
  }
}

// Wherever the reader's buffer ends, a CR LF pair cut there is one line end: the header is
// made longer byte by byte, so that some line's CR falls on every buffer end once.
TEST_F(DatalogReader, LineEndsCutByTheBufferStayWhole) {
  const std::string line = row(2000) + "\r\n";
  std::string lines;
  for (int i = 0; i < 50000; ++i) lines += line;
  for (std::size_t shift = 0; shift < line.size(); ++shift) {
    const std::string file =
        write("cut.xls", "Seconds" + std::string(shift, 'x') + "\tRPM\r\n" + lines);
    RecordingSink all;
    const auto result = readDatalog(file, DatalogLayout::Classic, all);
    ASSERT_EQ(result.kind, Kind::Read) << shift << ": " << result.problem << " at " << result.line;
    ASSERT_EQ(result.entries, 50000);
  }
}

// Random datalogs: mostly plain lines, with now and then a line that is odd but valid, one that
// is refused, a long field, a line end of another kind or a lone LF.
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
    switch (pick(3)) {
      case 0:
        break;  // the last line without line end
      case 1:
        text += lf ? "\n" : "\r";
        break;
      default:
        text += lf ? "\n" : "\r\n";
    }
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
    switch (pick(30)) {
      case 0:
        return "+" + std::to_string(pick(50));  // valid, but not the quick way
      case 1:
        return std::string(static_cast<std::size_t>(60 + pick(40)), '0') + "7";  // a long field
      case 2:
        return std::to_string(pick(100)) + "." + std::to_string(pick(1000));
      case 3:
        return "-" + std::to_string(pick(300));
      default:
        return std::to_string(pick(pick(2) ? 200 : 4000));
    }
  }
  // Now and then, `times` times rarer than an odd field; never in a file without bad lines.
  bool odd(int times) { return m_oddEvery > 0 && pick(m_oddEvery * times) == 0; }
  std::mt19937 m_random;
  int m_oddEvery = 0;
};

// What reading a file line by line with parseDataLine gives, straight from the rules: lines
// end at CR or CR LF (at LF in the no-line-feed layout, whose text after the last LF is not
// read); the first bad line or the sink's stop ends the read.
DatalogReadResult readLineByLine(const std::string& text, DatalogLayout layout,
                                 RecordingSink& sink) {
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
  DatalogReadResult result;
  if (layout == DatalogLayout::NoLineFeed && !lastEnded) {
    lines.pop_back();
    // A header without line feed: no record, and the count the program gives is -1.
    if (lines.empty()) result.entries = -1;
  }
  if (lines.size() <= 1) return result;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const auto position = static_cast<std::int64_t>(i);
    DatalogRecord record;
    if (auto problem = parseDataLine(lines[i], layout, record)) {
      result.kind = DatalogReadResult::Kind::BadLine;
      result.line = position + 1;
      result.problem = *problem;
      return result;
    }
    if (sink.take(std::span(&record, 1), position) == 0) {
      result.kind = DatalogReadResult::Kind::SinkStopped;
      result.line = position + 1;
      return result;
    }
  }
  result.entries = static_cast<std::int64_t>(sink.records.size());
  return result;
}

bool sameRecord(const DatalogRecord& a, const DatalogRecord& b) {
  return a.seconds == b.seconds && a.rpm == b.rpm && a.map == b.map &&
         std::memcmp(&a.o2, &b.o2, sizeof a.o2) == 0 && a.status == b.status && a.gego == b.gego &&
         a.gair == b.gair && a.gwarm == b.gwarm && a.gbaro == b.gbaro && a.gve == b.gve && a.gammaE == b.gammaE;
}

// The reader takes plain lines straight from its buffer and the others line by line; together
// they give what reading every line with parseDataLine gives, refusals included, also where
// lines and CR LF pairs straddle the reader's buffer (the large files).
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
    const auto got = readDatalog(file, layout, actual);
    ++outcomes[static_cast<int>(want.kind)];
    const std::string where = "file " + std::to_string(i) + (large ? "" : ":\n" + text);
    ASSERT_EQ(got.kind, want.kind) << where;
    ASSERT_EQ(got.line, want.line) << where;
    ASSERT_EQ(got.problem, want.problem) << where;
    ASSERT_EQ(got.entries, want.entries) << where;
    ASSERT_EQ(actual.positions, expected.positions) << where;
    for (std::size_t r = 0; r < expected.records.size(); ++r)
      ASSERT_TRUE(sameRecord(actual.records[r], expected.records[r])) << where << "\nrecord " << r;
  }
  // The files really took the different ways out.
  EXPECT_GT(outcomes[static_cast<int>(Kind::Read)], 300);
  EXPECT_GT(outcomes[static_cast<int>(Kind::BadLine)], 100);
  EXPECT_GT(outcomes[static_cast<int>(Kind::SinkStopped)], 20);
}

}  // namespace
}  // namespace tallimar::files
