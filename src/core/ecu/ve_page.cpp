// The VE page codec.
#include "ecu/ve_page.h"

#include <cmath>
#include <string>

namespace tallimar::ecu {
namespace {

using vemap::VeTable;

std::size_t at(int index) { return static_cast<std::size_t>(index); }

bool isByte(int value) { return value >= 0 && value <= 255; }

std::string bytesRefused(const std::string& what) {
  return what + " does not fit in one byte (0 - 255); nothing was sent";
}

// The first value of the 8 x 8 corner that cannot go out as one byte, or an empty text.
std::string firstUnsendable(const VeTable& table) {
  for (int m = 0; m < kEcuBins; ++m)
    for (int r = 0; r < kEcuBins; ++r)
      if (!isByte(table.at(r, m)))
        return bytesRefused("VE value " + std::to_string(table.at(r, m)) + " at " +
                            std::to_string(table.rpmBins[at(r)]) + " rev/min, " +
                            std::to_string(table.mapBins[at(m)]) + " kPa");
  for (int k = 0; k < kEcuBins; ++k) {
    const int rpm = table.rpmBins[at(k)];
    if (!isByte(rpmHundreds(rpm)))
      return bytesRefused("RPM bin " + std::to_string(k + 1) + " (" + std::to_string(rpm) +
                          " rev/min, sent in hundreds)");
    if (!isByte(table.mapBins[at(k)]))
      return bytesRefused("MAP bin " + std::to_string(k + 1) + " (" +
                          std::to_string(table.mapBins[at(k)]) + " kPa)");
  }
  return {};
}

}  // namespace

bool isEcuSized(const VeTable& table) {
  return table.sizeRpm == kEcuBins && table.sizeMap == kEcuBins;
}

int rpmHundreds(int rpm) { return static_cast<int>(std::nearbyint(rpm / 100.0)); }

common::Expected<std::vector<std::uint8_t>> encodeVeWrites(const VeTable& table) {
  if (std::string refused = firstUnsendable(table); !refused.empty())
    return common::fail(std::move(refused));
  std::vector<std::uint8_t> bytes;
  bytes.reserve(kWriteCommands * kWriteCommandBytes);
  auto command = [&bytes](std::size_t offset, int value) {
    bytes.insert(bytes.end(), {std::uint8_t{'W'}, static_cast<std::uint8_t>(offset),
                               static_cast<std::uint8_t>(value)});
  };
  for (int m = 0; m < kEcuBins; ++m)
    for (int r = 0; r < kEcuBins; ++r) command(at(kEcuBins * m + r), table.at(r, m));
  for (int k = 0; k < kEcuBins; ++k) {
    command(kRpmBinOffset + at(k), rpmHundreds(table.rpmBins[at(k)]));
    command(kMapBinOffset + at(k), table.mapBins[at(k)]);
  }
  return bytes;
}

bool decodeVePage(std::span<const std::uint8_t> page, VeTable& table) {
  if (page.size() < kPageReplyBytes) return false;
  for (int m = 0; m < kEcuBins; ++m)
    for (int r = 0; r < kEcuBins; ++r) table.at(r, m) = page[at(kEcuBins * m + r)];
  for (int k = 0; k < kEcuBins; ++k) {
    table.rpmBins[at(k)] = static_cast<std::int16_t>(page[kRpmBinOffset + at(k)] * 100);
    table.mapBins[at(k)] = page[kMapBinOffset + at(k)];
  }
  return true;
}

bool pageMatches(const VeTable& table, std::span<const std::uint8_t> page) {
  if (page.size() < kPageReplyBytes) return false;
  bool same = true;  // every position is compared; nothing stops at the first difference
  for (int m = 0; m < kEcuBins; ++m)
    for (int r = 0; r < kEcuBins; ++r) same &= table.at(r, m) == page[at(kEcuBins * m + r)];
  for (int k = 0; k < kEcuBins; ++k) {
    same &= table.rpmBins[at(k)] == page[kRpmBinOffset + at(k)] * 100;
    same &= table.mapBins[at(k)] == page[kMapBinOffset + at(k)];
  }
  return same;
}

}  // namespace tallimar::ecu
