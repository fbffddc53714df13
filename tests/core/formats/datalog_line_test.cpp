// Data line conversions: floored 16-bit columns, the lenient O2 column, refusal reasons.
#include "formats/datalog_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <ranges>
#include <string_view>

#include "common/number_text.h"
#include "formats/datalog_plain_lines.h"

namespace tallimar::formats {
namespace {

using engine::DatalogRecord;

TEST(DatalogFields, SixteenBitColumnsAreFlooredOrRefusedAndO2IsLenient) {
  const char* const texts[] = {"35.7", "-0.5", " 42 ", "+7", "1e3", "-32768", "32767.999999"};
  const std::int32_t values[] = {35, -1, 42, 7, 1000, -32768, 32767};
  for (std::size_t i = 0; i < std::size(texts); ++i) {
    std::int32_t value = -99999;
    EXPECT_EQ(readFlooredField(texts[i], value), FieldProblem::None) << texts[i];
    EXPECT_EQ(value, values[i]) << texts[i];
  }
  std::int32_t value = 0;
  for (const char* text : {"", "12abc", "-", "1 2", "0x10", "nan"})
    EXPECT_EQ(readFlooredField(text, value), FieldProblem::NotANumber) << text;
  for (const char* text : {"32768", "-32768.5", "1e999"})
    EXPECT_EQ(readFlooredField(text, value), FieldProblem::OutOfRange) << text;

  // The O2 column is read leniently (its leading number, else 0), in single precision.
  for (const auto& [text, volts] : std::vector<std::pair<const char*, double>>{
           {"  0.5V", 0.5}, {"abc", 0}, {"-.25", -0.25}, {"0.1234567890123", 0.1234567890123}}) {
    float read = -1;
    EXPECT_EQ(readO2Field(text, read), FieldProblem::None) << text;
    EXPECT_EQ(read, static_cast<float>(volts)) << text;
  }
  float read = 0;
  EXPECT_EQ(readO2Field("1e39", read), FieldProblem::OutOfRange);
}

// The quick way takes a line only when it gives the general reading's record.
void expectQuickWayAgrees(const std::string& line, DatalogLayout layout, int& taken) {
  DatalogRecord general;
  const bool refused = parseDataLine(line, layout, general).has_value();
  // The line with its line end, then bytes a line end could be mistaken in.
  const char end = layout == DatalogLayout::NoLineFeed ? '\n' : '\r';
  std::string block = line + end;
  const std::size_t size = block.size();
  block += std::string(kPlainLinesPadding, end) + "\t";
  std::array<DatalogRecord, 2> quick;
  const PlainLines read =
      readPlainLines(std::string_view(block.data(), size), layout, std::span(quick));
  ASSERT_LE(read.records, 1u);
  if (read.records == 0) {
    ASSERT_EQ(read.bytes, 0u);
    return;
  }
  ++taken;
  ASSERT_FALSE(refused) << line;
  ASSERT_EQ(read.bytes, size);
  const DatalogRecord& q = quick[0];
  ASSERT_TRUE(std::memcmp(&q.o2, &general.o2, sizeof q.o2) == 0 && q == general) << line;
}

// Every line reads (or is refused) as its columns do with the field readers; so does the quick way.
TEST(DatalogLines, EveryLineReadsAsItsColumnsRead) {
  int taken = 0;
  std::mt19937 random(42);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  // Fields just outside the commonest shape, and odd ones.
  auto split = [](std::string_view text) {  // at each "|"
    std::vector<std::string> parts;
    for (const auto part : std::views::split(text, '|'))
      parts.emplace_back(part.begin(), part.end());
    return parts;
  };
  const auto near =
      split("12345|0000|9999|1.|.5|| 1|1 |-1|+1|\x80|1e1|0.5|12.25|1.5.|9.9999999|0.0000001");
  const auto odd = split(
      "|-|.|1.|.5|-0|-0.0|+3| 7|8 |1e2|x|12345678|123456789|-32768.5|32767.9|0.000000001|"
      "1.23456789|9999999.9999999");
  auto any = [&](const std::vector<std::string>& list) {
    return list[static_cast<std::size_t>(pick(static_cast<int>(list.size())))];
  };
  for (int i = 0; i < 30000; ++i) {
    const auto layout = static_cast<DatalogLayout>(pick(3));
    const int columns = static_cast<int>(requiredColumns(layout)) + pick(4) - 1;
    std::vector<std::string> texts;
    std::string line;
    // Half the lines are of the commonest shape; the others mix odd fields and longer numbers.
    const bool common = pick(2) == 0;
    for (int c = 0; c < columns; ++c) {
      const int kind = pick(12);
      std::string text;
      if (common) {
        text = kind == 0  ? any(near)
               : kind < 3 ? std::to_string(pick(100)) + "." + std::to_string(pick(1000))
                          : (pick(2) ? "0" : "") + std::to_string(pick(pick(2) ? 100 : 10000));
        if (kind >= 3 && text.size() > 4) text = text.substr(0, 4);
      } else {
        text = kind < 2   ? any(odd)
               : kind < 4 ? "-" + std::to_string(pick(40000))
               : kind < 6 ? std::to_string(pick(400)) + "." + std::to_string(pick(1000))
               : kind < 7 ? "-" + std::to_string(pick(100)) + "." +
                                std::string(static_cast<std::size_t>(pick(9)), '0') +
                                std::to_string(pick(10))
                          : std::to_string(pick(pick(2) ? 200 : 40000));
      }
      texts.push_back(text);
      line += (c ? "\t" : "") + text;
    }
    expectQuickWayAgrees(line, layout, taken);
    DatalogRecord record;
    const auto problem = parseDataLine(line, layout, record);
    // The same line read with the field readers, column by column.
    bool refused = columns < static_cast<int>(requiredColumns(layout));
    const bool full = layout == DatalogLayout::Full;
    const std::array<int, 11> at = full ? std::array<int, 11>{1, 2, 3, 5, 8, 9, 10, 11, 12, 15, 13}
                                        : std::array<int, 11>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    std::array<std::int32_t, 11> values{};
    float volts = 0;
    for (std::size_t f = 0; f < 11 && !refused; ++f) {
      const std::string& text = texts[static_cast<std::size_t>(at[f])];
      if (f == 3) {
        refused = readO2Field(text, volts) != FieldProblem::None;
      } else {
        refused = readFlooredField(text, values[f]) != FieldProblem::None;
        if (!refused && f == 1 && full) {
          values[f] *= 100;
          refused = values[f] < -32768 || values[f] > 32767;
        }
      }
    }
    ASSERT_EQ(problem.has_value(), refused) << line;
    if (refused) continue;
    ASSERT_EQ(record.o2, volts) << line;
    auto v = [&](std::size_t f) { return static_cast<std::int16_t>(values[f]); };
    const DatalogRecord fromFields{v(0), v(1), v(2), volts, 0,    v(4),
                                   v(5), v(6), v(7), v(8),  v(9), v(10)};
    ASSERT_EQ(record, fromFields) << line;
  }
  EXPECT_GT(taken, 6000);
}

TEST(DatalogLines, RefusedLinesSayWhy) {
  const std::string odd = std::string("1\t2\t\x01\xff") + std::string(40, 'z');
  const struct {
    std::string line;
    DatalogLayout layout;
    std::string problem;
  } cases[] = {
      // Both Gve and GammaE are bad: the first in the record's order is named.
      {"0\t7\t3\t40\t0\t0.7\t0\t0\t1\t99\t1\t2\t3\tx\t0\ty", DatalogLayout::Full,
       "Gve (column 16) \"y\" is not a number"},
      // Odd bytes are not shown raw in a status line.
      {odd + "\t0\t1\t1\t1\t1\t1\t1\t1", DatalogLayout::Classic,
       "MAP (column 3) \"??" + std::string(22, 'z') + "...\" is not a number"},
  };
  for (const auto& c : cases) {
    DatalogRecord r;
    EXPECT_EQ(parseDataLine(c.line, c.layout, r), c.problem) << c.line;
  }
}

}  // namespace
}  // namespace tallimar::formats
