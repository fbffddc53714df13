// The shared text <-> number rules: every reader and window depends on these exact results.
#include "common/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tallimar::common {
namespace {

// The longest number after blanks; the exponent needs digits, "," is no decimal separator and
// hexadecimal is no number.
TEST(LeadingNumber, ReadsTheLongestNumberAfterBlanksAndStopsAtAnythingElse) {
  const std::pair<const char*, double> cases[] = {
      {"7500abc", 7500}, {" \t 42 17", 42}, {"-.5x", -0.5}, {"0,5", 0},
      {"2.5E-1", 0.25},  {"1e", 1},         {"0x1F", 0},    {"1e999", INFINITY}};
  for (const auto& [text, value] : cases) EXPECT_EQ(parseLeadingNumber(text), value) << text;
  const std::pair<const char*, std::optional<double>> decimals[] = {
      {"-1.5e2", -150.0}, {"0,45", {}}, {"0.45V", {}}, {"1e999", {}}};
  for (const auto& [text, value] : decimals) EXPECT_EQ(parseDecimal(text), value) << text;
}

TEST(Rounding, HalvesGoToTheEvenNeighbourAndInt16ChecksTheRangeAfterRounding) {
  const std::pair<double, double> halves[] = {{1.5, 2}, {2.5, 2}, {-2.5, -2}, {-0.6, -1}};
  for (const auto& [value, rounded] : halves) EXPECT_EQ(roundHalfEven(value), rounded) << value;
  EXPECT_TRUE(std::isnan(roundHalfEven(std::nan(""))));
  // 32767.5 rounds to 32768; -32768.5 to the even -32768.
  const std::pair<double, std::optional<std::int16_t>> int16s[] = {
      {32767.4, 32767}, {32767.5, {}}, {-32768.5, -32768}, {std::nan(""), {}}};
  for (const auto& [value, result] : int16s) EXPECT_EQ(toInt16(value), result) << value;
  EXPECT_EQ(parseInt16("7500abc"), 7500);
  EXPECT_EQ(parseInt16("1e999"), std::nullopt);
}

TEST(Booleans, FlagsAndTexts) {
  const std::pair<const char*, std::optional<bool>> cases[] = {
      {"TRUE", true}, {" false ", false}, {"-1", true}, {"2.5", true}, {"yes", {}}};
  for (const auto& [text, value] : cases) EXPECT_EQ(parseGeneralBool(text), value) << text;
}

TEST(ShortestText, ReadsBackToTheSameValue) {
  EXPECT_EQ(shortestText(0.5f), "0.5");
  EXPECT_EQ(shortestText(1e-5f), "1E-05");
  for (float f : {0.1f, 0.7f, 1.0f / 3.0f, 123456.7f, 3.4e38f, 1.17e-38f}) {
    const auto back = parseDecimal(shortestText(f));
    ASSERT_TRUE(back) << shortestText(f);
    EXPECT_EQ(static_cast<float>(*back), f) << shortestText(f);
  }
}

// Halves away from zero, from the decimal shown (0.145) rather than its binary value; no "-0.0".
TEST(FormatPattern, DigitPlaceholders) {
  const struct {
    double value;
    const char *pattern, *text;
  } cases[] = {{0.5, "0.000", "0.500"},     {2.5, "0", "3"},        {0.145, "0.00", "0.15"},
               {7, "000", "007"},           {12.34, ".0", "12.3"},  {0.00012, "0.####", "0.0001"},
               {9.9996, "####0.###", "10"}, {-0.0004, "0.0", "0.0"}};
  for (const auto& c : cases) EXPECT_EQ(formatPattern(c.value, c.pattern), c.text) << c.value;
}

}  // namespace
}  // namespace tallimar::common
