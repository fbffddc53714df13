// Writing the VE table as a VE exchange file.
#include "formats/ve_exchange_writer.h"

#include <cstdlib>

namespace tallimar::formats {

namespace {

constexpr const char* kEnd = "\r\n";

// Sign position + digits, padded on the right to three characters.
std::string signedText(const std::string& digits, bool negative) {
  std::string text = (negative ? "-" : " ") + digits;
  while (text.size() < 3) text += ' ';
  return text;
}

std::string twoDigitCount(int count) {
  std::string text = std::to_string(count);
  return text.size() < 2 ? "0" + text : text;
}

// "   [  k]" with the "]" in column 8.
std::string indexPrefix(int index) {
  const std::string text = std::to_string(index);
  return (text.size() < 2 ? "   [  " : "   [ ") + text + "]";
}

common::Expected<std::string> mapBinLine(int index, int kpa) {
  std::string prefix = indexPrefix(index) + " =";
  if (const auto field = exchangeValueField(kpa)) return prefix + " " + *field;
  const std::string text = std::to_string(kpa);
  if (text.size() == 4) return prefix + text;  // columns 11-14
  return common::fail("MAP bin " + text + " does not fit the VE exchange file");
}

}  // namespace

std::optional<std::string> exchangeValueField(int value) {
  const std::string digits = std::to_string(std::abs(value));
  std::string text = signedText(digits, value < 0);
  if (text.size() == 3) return text;
  if (text.size() == 4 && value > 0) return digits;  // 100..999: the sign blank goes
  return std::nullopt;
}

std::string rpmHundredsText(int rpm) {
  const int magnitude = std::abs(rpm);
  std::string text = std::to_string(magnitude / 100);
  const int cents = magnitude % 100;
  if (cents != 0) {
    text += '.';
    text += static_cast<char>('0' + cents / 10);
    if (cents % 10 != 0) text += static_cast<char>('0' + cents % 10);
  }
  return rpm < 0 ? "-" + text : text;
}

common::Expected<std::string> veExchangeText(const vemap::VeTable& table) {
  const int sizeRpm = table.sizeRpm;
  const int sizeMap = table.sizeMap;
  if (!vemap::VeTable::validSize(sizeRpm) || !vemap::VeTable::validSize(sizeMap))
    return common::fail("VE table size outside 1 to 16");
  std::string out = std::string("VUZAR 1.0 ") + kEnd + "Page 0" + kEnd;
  out += "VE Table RPM Range              [" + twoDigitCount(sizeRpm) + "]" + kEnd;
  for (int k = 0; k < sizeRpm; ++k) {
    const int rpm = table.rpmBins[static_cast<std::size_t>(k)];
    const std::string text = rpmHundredsText(rpm);
    out += indexPrefix(k) + " = " + signedText(rpm < 0 ? text.substr(1) : text, rpm < 0) + kEnd;
  }
  out += "VE Table Load Range (MAP)       [" + twoDigitCount(sizeMap) + "]" + kEnd;
  for (int k = 0; k < sizeMap; ++k) {
    const auto line = mapBinLine(k, table.mapBins[static_cast<std::size_t>(k)]);
    if (!line) return common::fail(line.reason());
    out += *line + kEnd;
  }
  out += "VE Table                        [" + *exchangeValueField(sizeRpm) + "][" +
         *exchangeValueField(sizeMap) + "]" + kEnd;
  out += "           [  0]";
  for (int c = 1; c < sizeRpm; ++c) out += " [" + *exchangeValueField(c) + "]";
  out += kEnd;
  for (int m = 0; m < sizeMap; ++m) {
    out += indexPrefix(m) + " =  ";
    for (int r = 0; r < sizeRpm; ++r) {
      const auto field = exchangeValueField(table.at(r, m));
      if (!field) {
        return common::fail("VE value " + std::to_string(table.at(r, m)) + " at RPM bin " +
                            std::to_string(r) + ", MAP bin " + std::to_string(m) +
                            " does not fit the VE exchange file");
      }
      out += *field + "   ";
    }
    out += kEnd;
  }
  return out;
}

}  // namespace tallimar::formats
