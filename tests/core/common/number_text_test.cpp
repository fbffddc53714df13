// The shared text <-> number rules: every reader and window depends on these exact results.
#include "common/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tallimar::common {
namespace {

// The exponent needs digits, and hexadecimal is no number.
TEST(LeadingNumber, ReadsTheLongestNumberAfterBlanksAndStopsAtAnythingElse) {
  EXPECT_EQ(parseLeadingNumber("7500abc"), 7500);
  EXPECT_EQ(parseLeadingNumber(" \t 42 17"), 42);
  EXPECT_EQ(parseLeadingNumber("abc"), 0);
  EXPECT_EQ(parseLeadingNumber("-.5x"), -0.5);
  EXPECT_EQ(parseLeadingNumber("5."), 5);
  EXPECT_EQ(parseLeadingNumber("0,5"), 0);  // "," is not a decimal separator
  EXPECT_EQ(parseLeadingNumber("1e3"), 1000);
  EXPECT_EQ(parseLeadingNumber("2.5E-1"), 0.25);
  EXPECT_EQ(parseLeadingNumber("1e"), 1);
  EXPECT_EQ(parseLeadingNumber("0x1F"), 0);
  EXPECT_TRUE(std::isinf(parseLeadingNumber("1e999")));
}

TEST(Decimal, AcceptsOnlyAWholeNumberWithPointSeparator) {
  EXPECT_EQ(parseDecimal("0.45"), 0.45);
  EXPECT_EQ(parseDecimal("-1.5e2"), -150.0);
  EXPECT_FALSE(parseDecimal("0,45"));
  EXPECT_FALSE(parseDecimal("0.45V"));
  EXPECT_FALSE(parseDecimal("1e999"));
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(roundHalfEven(1.5), 2);
  EXPECT_EQ(roundHalfEven(2.5), 2);
  EXPECT_EQ(roundHalfEven(-2.5), -2);
  EXPECT_EQ(roundHalfEven(2.4999999), 2);
  EXPECT_EQ(roundHalfEven(-0.6), -1);
  EXPECT_TRUE(std::isnan(roundHalfEven(std::nan(""))));
}

TEST(Int16, RoundsThenChecksTheRange) {
  EXPECT_EQ(toInt16(32767.4), 32767);
  EXPECT_EQ(toInt16(32767.5), std::nullopt);  // rounds to 32768
  EXPECT_EQ(toInt16(-32768.5), -32768);       // rounds to the even -32768
  EXPECT_EQ(toInt16(std::nan("")), std::nullopt);
  EXPECT_EQ(parseInt16("7500abc"), 7500);
  EXPECT_EQ(parseInt16("99999"), std::nullopt);
  EXPECT_EQ(parseInt16("1e999"), std::nullopt);
}

TEST(Booleans, FlagsAndTexts) {
  EXPECT_EQ(toFlag(true), -1);
  EXPECT_EQ(boolText(true), "True");
  EXPECT_EQ(parseGeneralBool("TRUE"), true);
  EXPECT_EQ(parseGeneralBool(" false "), false);
  EXPECT_EQ(parseGeneralBool("-1"), true);
  EXPECT_EQ(parseGeneralBool("2.5"), true);
  EXPECT_EQ(parseGeneralBool("yes"), std::nullopt);
}

TEST(ShortestText, ReadsBackToTheSameValue) {
  EXPECT_EQ(shortestText(0.5f), "0.5");
  EXPECT_EQ(shortestText(1e-5f), "1E-05");
  EXPECT_EQ(shortestText(0.1), "0.1");
  for (float f : {0.1f, 0.7f, 1.0f / 3.0f, 123456.7f, 3.4e38f, 1.17e-38f}) {
    const auto back = parseDecimal(shortestText(f));
    ASSERT_TRUE(back) << shortestText(f);
    EXPECT_EQ(static_cast<float>(*back), f) << shortestText(f);
  }
}

TEST(FormatPattern, DigitPlaceholders) {
  EXPECT_EQ(formatPattern(0.5, "0.000"), "0.500");
  EXPECT_EQ(formatPattern(2.5, "0"), "3");          // half away from zero, as text formatting does
  EXPECT_EQ(formatPattern(0.145, "0.00"), "0.15");  // the decimal it shows, not its binary value
  EXPECT_EQ(formatPattern(7, "000"), "007");
  EXPECT_EQ(formatPattern(100.8, "000"), "101");
  EXPECT_EQ(formatPattern(12.34, ".0"), "12.3");
  EXPECT_EQ(formatPattern(0.00012, "0.####"), "0.0001");
  EXPECT_EQ(formatPattern(0.0004, "####0.###"), "0");
  EXPECT_EQ(formatPattern(9.9996, "####0.###"), "10");
  EXPECT_EQ(formatPattern(-0.0004, "0.0"), "0.0");  // no "-0.0"
  EXPECT_EQ(formatPattern(99.95, "0.0"), "100.0");
  EXPECT_EQ(formatPattern(12345678.9, "0"), "12345679");
}

}  // namespace
}  // namespace tallimar::common
