// Reading ahead in chunks on two threads gives what reading line by line gives, record for
// record and refusal for refusal, wherever the chunk edges fall: in a CR LF pair, in a field,
// next to a bad line, an odd but valid line, a lone LF or an unterminated last line.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <thread>

#include "files/datalog_reader.h"
#include "support/temp_dir.h"

namespace tallimar::files {
namespace {

using Kind = DatalogReadResult::Kind;

struct Recording : DatalogRecordSink {
  std::size_t take(std::span<const DatalogRecord> batch, std::int64_t first) override {
    for (std::size_t i = 0; i < batch.size(); ++i) {
      if (first + static_cast<std::int64_t>(i) == stopAt) return i;
      records.push_back(batch[i]);
      positions.push_back(first + static_cast<std::int64_t>(i));
    }
    return batch.size();
  }
  std::vector<DatalogRecord> records;
  std::vector<std::int64_t> positions;
  std::int64_t stopAt = -1;
};

bool sameRecord(const DatalogRecord& a, const DatalogRecord& b) {
  return a.seconds == b.seconds && a.rpm == b.rpm && a.map == b.map &&
         std::memcmp(&a.o2, &b.o2, sizeof a.o2) == 0 && a.status == b.status && a.gego == b.gego &&
         a.further == b.further && a.gve == b.gve && a.gammaE == b.gammaE;
}

// Random datalogs: mostly plain lines, with now and then a line that is odd but valid, one
// that is refused, a long one, or a line end of another kind.
class FileMaker {
 public:
  explicit FileMaker(std::uint32_t seed) : m_random(seed) {}
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

  std::string file(DatalogLayout layout) {
    // A third of the files have no bad line at all.
    m_oddEvery = std::array<int, 3>{0, 150, 600}[static_cast<std::size_t>(pick(3))];
    const bool full = layout == DatalogLayout::Full;
    const bool lf = layout == DatalogLayout::NoLineFeed;
    std::string text = full ? "Time\tSecL\tRPM" : "Seconds\tRPM\tMAP";
    const int lines = pick(60);
    for (int i = 0; i < lines; ++i) {
      text += lf ? "\n" : (pick(3) ? "\r\n" : "\r");
      const int shortBy = odd(10) ? 1 + pick(3) : 0;
      text += line((full ? 16 : 11) + pick(3) - shortBy);
      if (!lf && pick(40) == 0) text += "\n";  // a lone LF: part of the next line
    }
    switch (pick(4)) {
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
  // Now and then, `times` times rarer than an odd field.
  bool odd(int times) { return m_oddEvery > 0 && pick(m_oddEvery * times) == 0; }
  std::mt19937 m_random;
  int m_oddEvery = 0;
};

class DatalogChunks : public testsupport::TempDirTest {};

TEST_F(DatalogChunks, ChunkedReadingEqualsLineByLineReading) {
  FileMaker maker(7);
  const DatalogReadTuning lineByLine{256 * 1024, ~std::uint64_t{0}};
  int outcomes[6] = {};
  for (int i = 0; i < 1500; ++i) {
    const auto layout = static_cast<DatalogLayout>(maker.pick(3));
    const std::string file = write("chunks.xls", maker.file(layout));
    const DatalogReadTuning chunked{static_cast<std::size_t>(16 + maker.pick(300)), 0};
    const std::int64_t stopAt = maker.pick(8) == 0 ? 1 + maker.pick(40) : -1;

    Recording expected, actual;
    expected.stopAt = actual.stopAt = stopAt;
    const auto want = readDatalog(file, layout, expected, {}, lineByLine);
    const auto got = readDatalog(file, layout, actual, {}, chunked);
    ++outcomes[static_cast<int>(want.kind)];
    const std::string where = "file " + std::to_string(i) + ", chunks of " +
                              std::to_string(chunked.chunkBytes) + ":\n" + read(file);
    ASSERT_EQ(got.kind, want.kind) << where;
    ASSERT_EQ(got.line, want.line) << where;
    ASSERT_EQ(got.problem, want.problem) << where;
    ASSERT_EQ(got.entries, want.entries) << where;
    ASSERT_EQ(actual.positions, expected.positions) << where;
    for (std::size_t r = 0; r < expected.records.size(); ++r)
      ASSERT_TRUE(sameRecord(actual.records[r], expected.records[r])) << where << "\nrecord " << r;
  }
  // The files really took the different ways out.
  EXPECT_GT(outcomes[static_cast<int>(Kind::Read)], 100);
  EXPECT_GT(outcomes[static_cast<int>(Kind::BadLine)], 100);
  EXPECT_GT(outcomes[static_cast<int>(Kind::SinkStopped)], 20);
}

TEST_F(DatalogChunks, ProgressAndCancelComeFromTheCallersThreadInOrder) {
  std::string text = "Seconds\tRPM\r\n";
  for (int i = 0; i < 80000; ++i) text += "1\t2000\t50\t0.5\t1\t100\t100\t100\t100\t60\t100\r\n";
  const std::string file = write("big.xls", text);
  const auto caller = std::this_thread::get_id();
  std::vector<std::uint64_t> reports;
  Recording sink;
  const auto result = readDatalog(
      file, DatalogLayout::Classic, sink,
      [&](std::uint64_t done, std::uint64_t total) {
        EXPECT_EQ(std::this_thread::get_id(), caller);
        EXPECT_EQ(total, text.size());
        reports.push_back(done);
        return reports.size() < 2;
      },
      DatalogReadTuning{64 * 1024, 0});
  EXPECT_EQ(result.kind, Kind::Cancelled);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_LT(reports[0], reports[1]);
  // Only the lines before the cancel reached the sink, in order.
  EXPECT_LT(sink.records.size(), 80000u);
  EXPECT_EQ(static_cast<std::int64_t>(sink.records.size()), result.line - 1);
  for (std::size_t i = 0; i < sink.positions.size(); ++i)
    ASSERT_EQ(sink.positions[i], static_cast<std::int64_t>(i) + 1);
}

}  // namespace
}  // namespace tallimar::files
