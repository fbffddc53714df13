// Text <-> number rules: lenient and strict parsing, rounding, formatting.
#include "common/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "common/digits.h"

namespace tallimar::common {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Length of the longest prefix of text that forms a number by the lenient rule; 0 if none.
std::size_t numberPrefixLength(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    std::size_t j = i + 1;
    std::size_t decimals = 0;
    while (j < text.size() && isDigit(text[j])) ++j, ++decimals;
    if (digits + decimals > 0) {
      i = j;
      digits += decimals;
    }
  }
  if (digits == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    std::size_t expDigits = 0;
    while (j < text.size() && isDigit(text[j])) ++j, ++expDigits;
    if (expDigits > 0) i = j;
  }
  return i;
}

// strtod on a copy that holds exactly the number (no locale-dependent separators: the
// text has only digits, sign, "." and exponent, and we run in the "C" numeric locale's
// terms by replacing nothing; from_chars is locale-independent).
double convert(std::string_view number) {
  if (!number.empty() && number.front() == '+') number.remove_prefix(1);
  double value = 0;
  auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // from_chars leaves value untouched on overflow and underflow; tell them apart.
    const bool negative = !number.empty() && number.front() == '-';
    const double magnitude = std::strtod(std::string(number).c_str(), nullptr);
    if (std::isinf(magnitude)) return magnitude;
    return negative ? -0.0 : 0.0;
  }
  (void)ptr;
  return value;
}

}  // namespace

double parseLeadingNumber(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  const std::size_t length = numberPrefixLength(text);
  if (length == 0) return 0.0;
  return convert(text.substr(0, length));
}

std::optional<double> parseDecimal(std::string_view text) {
  text = trimBlanks(text);
  const std::size_t length = numberPrefixLength(text);
  if (length == 0 || length != text.size()) return std::nullopt;
  const double value = convert(text);
  if (std::isinf(value)) return std::nullopt;
  return value;
}

double roundHalfEven(double value) {
  if (!std::isfinite(value)) return value;
  const double floorValue = std::floor(value);
  const double diff = value - floorValue;
  if (diff < 0.5) return floorValue;
  if (diff > 0.5) return floorValue + 1.0;
  return std::fmod(floorValue, 2.0) == 0.0 ? floorValue : floorValue + 1.0;
}

std::optional<std::int16_t> toInt16(double value) {
  const double rounded = roundHalfEven(value);
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) return std::nullopt;
  return static_cast<std::int16_t>(rounded);
}

std::optional<std::int16_t> parseInt16(std::string_view text) {
  return toInt16(parseLeadingNumber(text));
}

std::string boolText(bool value) { return value ? "True" : "False"; }

std::optional<bool> parseGeneralBool(std::string_view text) {
  text = trimBlanks(text);
  auto equalsIgnoringCase = [text](std::string_view word) {
    return text.size() == word.size() &&
           std::equal(text.begin(), text.end(), word.begin(), [](char a, char b) {
             return std::tolower(static_cast<unsigned char>(a)) ==
                    std::tolower(static_cast<unsigned char>(b));
           });
  };
  if (equalsIgnoringCase("true")) return true;
  if (equalsIgnoringCase("false")) return false;
  if (auto number = parseDecimal(text)) return *number != 0.0;
  return std::nullopt;
}

namespace {

// Rewrites the exponent of a shortest to_chars text in the "1E-05" style.
std::string withCapitalExponent(std::string text) {
  const auto e = text.find('e');
  if (e == std::string::npos) return text;
  std::string mantissa = text.substr(0, e);
  std::string exponent = text.substr(e + 1);
  char sign = '+';
  if (!exponent.empty() && (exponent.front() == '-' || exponent.front() == '+')) {
    sign = exponent.front();
    exponent.erase(0, 1);
  }
  if (exponent.size() < 2) exponent = std::string(2 - exponent.size(), '0') + exponent;
  return mantissa + "E" + sign + exponent;
}

template <typename T>
std::string shortest(T value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
  if (value == 0) return "0";
  char buffer[64];
  auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  (void)ec;
  return withCapitalExponent(std::string(buffer, ptr));
}

}  // namespace

std::string shortestText(float value) { return shortest(value); }
std::string shortestText(double value) { return shortest(value); }

namespace {

struct PatternShape {
  std::size_t minIntegerDigits = 0;  // '0's before the point
  std::size_t forcedDecimals = 0;    // '0's after the point
  std::size_t optionalDecimals = 0;  // '#'s after the point
};

PatternShape shapeOf(std::string_view pattern) {
  PatternShape shape;
  const auto point = pattern.find('.');
  const auto integerPart = pattern.substr(0, point);
  shape.minIntegerDigits =
      static_cast<std::size_t>(std::count(integerPart.begin(), integerPart.end(), '0'));
  if (point != std::string_view::npos) {
    for (char c : pattern.substr(point + 1)) {
      if (c == '0') ++shape.forcedDecimals;
      if (c == '#') ++shape.optionalDecimals;
    }
  }
  return shape;
}

// Decimal digits of |value| rounded half away from zero to `decimals` places, working on
// the 15-significant-digit decimal form so that 0.145 rounds like the decimal it shows.
std::string roundedDigits(double magnitude, std::size_t decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14e", magnitude);
  // buffer: d.dddddddddddddde[+-]XX
  std::string text(buffer);
  const auto e = text.find('e');
  const int exponent = std::atoi(text.c_str() + e + 1);
  std::string digits = text.substr(0, 1) + text.substr(2, e - 2);  // 15 digits
  // Position of the decimal point within digits: exponent + 1.
  long pointPos = exponent + 1;
  if (pointPos < 0) {
    digits = std::string(static_cast<std::size_t>(-pointPos), '0') + digits;
    pointPos = 0;
  }
  while (static_cast<long>(digits.size()) < pointPos) digits.push_back('0');
  std::string integer = digits.substr(0, static_cast<std::size_t>(pointPos));
  std::string fraction = digits.substr(static_cast<std::size_t>(pointPos));
  while (fraction.size() <= decimals) fraction.push_back('0');
  const bool roundUp = fraction[decimals] >= '5';
  std::string kept = integer + fraction.substr(0, decimals);
  if (roundUp) {
    long i = static_cast<long>(kept.size()) - 1;
    while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9')
      kept[static_cast<std::size_t>(i--)] = '0';
    if (i < 0) {
      kept = "1" + kept;
    } else {
      ++kept[static_cast<std::size_t>(i)];
    }
  }
  if (kept.empty()) kept = "0";
  return kept;  // integer digits followed by exactly `decimals` fraction digits
}

}  // namespace

std::string formatPattern(double value, std::string_view pattern) {
  const PatternShape shape = shapeOf(pattern);
  const std::size_t decimals = shape.forcedDecimals + shape.optionalDecimals;
  if (!std::isfinite(value)) return shortestText(value);
  const std::string digits = roundedDigits(std::fabs(value), decimals);
  std::string integer = digits.substr(0, digits.size() - decimals);
  std::string fraction = digits.substr(digits.size() - decimals);
  // Integer part: drop leading zeros, then pad to the forced width.
  const auto firstNonZero = integer.find_first_not_of('0');
  integer = firstNonZero == std::string::npos ? std::string() : integer.substr(firstNonZero);
  if (integer.size() < shape.minIntegerDigits)
    integer = std::string(shape.minIntegerDigits - integer.size(), '0') + integer;
  // Optional decimals: drop trailing zeros beyond the forced ones.
  while (fraction.size() > shape.forcedDecimals && fraction.back() == '0') fraction.pop_back();
  const bool isZero = std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0'; });
  std::string result = (value < 0 && !isZero) ? "-" : "";
  result += integer;
  if (!fraction.empty()) result += "." + fraction;
  if (integer.empty() && fraction.empty()) result += "0";
  return result;
}

}  // namespace tallimar::common
