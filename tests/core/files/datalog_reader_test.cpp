// Datalog reader: layout detection, header rules, the entry counts of each layout, the
// failure rules, and streaming across buffer boundaries of large files.
#include "files/datalog_reader.h"

#include <gtest/gtest.h>

#include "support/datalog_generator.h"
#include "support/temp_dir.h"

namespace tallimar::files {
namespace {

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
                  a.seconds == e.seconds && a.further == e.further)
          << "record " << i + 1;
    }
  }
}

}  // namespace
}  // namespace tallimar::files
