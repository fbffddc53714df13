// Statistics routines of the raw data map reduction.
#include "engine/raw_map_statistics.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "common/digits.h"
#include "common/number_text.h"

namespace tallimar::engine {
namespace {

// Single-precision storage of a double as an IEEE cast would do it, without the undefined
// behaviour of converting a value beyond the float range (a hostile map file can hold any
// number): such values become infinities.
float toSingle(double value) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (value > kMax) return std::numeric_limits<float>::infinity();
  if (value < -kMax) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

// The common element " 57" / "-3" read quickly; anything else goes to the general lenient
// parse so that the result is always the same as parseLeadingNumber's.
double readElement(std::string_view element) {
  std::size_t i = 0;
  while (i < element.size() && (element[i] == ' ' || element[i] == '\t')) ++i;
  bool negative = false;
  if (i < element.size() && element[i] == '-') negative = true, ++i;
  std::size_t digits = 0;
  const std::uint64_t magnitude = common::leadingDigitsValue(element.substr(i), digits, 15);
  i += digits;
  const bool simple =
      digits > 0 && (i == element.size() || (element[i] != '.' && element[i] != 'e' &&
                                             element[i] != 'E' && !common::isDigit(element[i])));
  if (!simple) return common::parseLeadingNumber(element);
  const double value = static_cast<double>(magnitude);
  return negative ? -value : value;
}

}  // namespace

void parseValueList(std::string_view valuesText, std::vector<double>& into) {
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = valuesText.find(',', start);
    const std::size_t end = comma == std::string_view::npos ? valuesText.size() : comma;
    into.push_back(readElement(valuesText.substr(start, end - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
}

std::string valueText(int value) {
  std::string text;
  appendValueText(text, value);
  return text;
}

void appendValueText(std::string& out, int value) {
  char text[16];
  char* end = text;
  if (value >= 0) *end++ = ' ';
  end = std::to_chars(end, text + sizeof text, value).ptr;
  out.append(text, end);
}

double roundedMean(std::span<const double> values) {
  if (values.empty()) return 0.0;
  double sum = 0.0;
  for (double v : values) sum += v;
  return common::roundHalfEven(sum / static_cast<double>(values.size()));
}

double largestValue(std::span<const double> values) {
  if (values.empty()) return 0.0;
  double largest = values.front();
  for (double v : values)
    if (v > largest) largest = v;
  return largest;
}

double smallestValue(std::span<const double> values) {
  if (values.empty()) return 0.0;
  double smallest = values.front();
  for (double v : values)
    if (v < smallest) smallest = v;
  return smallest;
}

double sampleStandardDeviation(std::span<const double> values) {
  if (values.size() < 2) return 0.0;
  float sum = 0.0f;
  for (double v : values) sum = toSingle(static_cast<double>(sum) + v);
  const float mean = toSingle(static_cast<double>(sum) / static_cast<double>(values.size()));
  const float meanSquared = toSingle(static_cast<double>(mean) * static_cast<double>(mean));
  float acc = 0.0f;
  for (double v : values)
    acc = toSingle(static_cast<double>(acc) + (v * v - static_cast<double>(meanSquared)));
  return std::sqrt(std::fabs(static_cast<double>(acc) / static_cast<double>(values.size() - 1)));
}

}  // namespace tallimar::engine
