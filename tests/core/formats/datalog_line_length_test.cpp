// One line-length rule for both ways through a datalog: a data line longer than 1 MiB is
// refused alike whether its needed columns are plain numbers (the quick path) or not (the
// general one), and a line of exactly 1 MiB is read by both.
#include <gtest/gtest.h>

#include <vector>

#include "formats/datalog_plain_lines.h"
#include "formats/datalog_reader.h"
#include "support/temp_dir.h"

namespace tallimar::formats {
namespace {

struct CountingSink : DatalogRecordSink {
  std::size_t take(std::span<const engine::DatalogRecord> records, std::int64_t) override {
    for (const auto& record : records) rpms.push_back(record.rpm);
    return records.size();
  }
  std::vector<int> rpms;
};

using DatalogLineLength = testsupport::TempDirTest;

// A classic data line of exactly `bytes` bytes: the eleven columns, then one unread column
// that fills it up. A leading blank before Seconds is read alike but is no plain number.
std::string lineOf(std::size_t bytes, bool plain) {
  const std::string columns =
      std::string(plain ? "5" : " 5") + "\t3000\t80\t0.500\t1\t100\t100\t100\t100\t60\t100\t";
  return columns + std::string(bytes - columns.size(), '7');
}

TEST_F(DatalogLineLength, BothPathsDrawTheLineAtOneMebibyte) {
  const std::string header = "Seconds\tRPM\tMAP\tO2\tStatus\tGego\tGair\tGwarm\tGbaro\tGve\tGammaE";
  const std::string good = "4\t2000\t70\t0.400\t1\t100\t100\t100\t100\t60\t100";
  for (const bool plain : {true, false}) {
    for (const std::size_t bytes : {kMaxDatalogLineBytes, kMaxDatalogLineBytes + 1}) {
      const std::string line = lineOf(bytes, plain);
      ASSERT_EQ(line.size(), bytes);
      const auto file =
          write("long.xls", header + "\r\n" + good + "\r\n" + line + "\r\n" + good + "\r\n");
      CountingSink sink;
      const auto read = readDatalog(file, DatalogLayout::Classic, sink);
      ASSERT_TRUE(read);
      const std::string shape = (plain ? "plain, " : "odd, ") + std::to_string(bytes);
      if (bytes <= kMaxDatalogLineBytes) {
        EXPECT_EQ(read->end, DatalogRead::End::Complete) << shape << ": " << read->problem;
        EXPECT_EQ(sink.rpms, (std::vector<int>{2000, 3000, 2000})) << shape;
      } else {
        EXPECT_EQ(read->end, DatalogRead::End::BadLine) << shape;
        EXPECT_EQ(read->line, 3) << shape;
        EXPECT_EQ(read->problem, "longer than 1048576 bytes") << shape;
        EXPECT_EQ(sink.rpms, std::vector<int>{2000}) << shape;
      }
      // The quick path on its own takes the plain line up to the limit, and leaves an
      // overlong one (and every odd one) to the general path.
      const std::string block = line + "\r\n" + std::string(kPlainLinesPadding, '\0');
      std::vector<engine::DatalogRecord> records(1);
      const PlainLines taken = readPlainLines(std::string_view(block).substr(0, line.size() + 2),
                                              DatalogLayout::Classic, records);
      EXPECT_EQ(taken.records, plain && bytes <= kMaxDatalogLineBytes ? 1u : 0u) << shape;
    }
  }
}

}  // namespace
}  // namespace tallimar::formats
