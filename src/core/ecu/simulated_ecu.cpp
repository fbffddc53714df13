// The simulated ECU's page, command parser and engine model.
#include "ecu/simulated_ecu.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "ecu/ve_page.h"

namespace tallimar::ecu {
namespace {

std::uint8_t byteOf(double value) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

}  // namespace

SimulatedEcu::SimulatedEcu() : SimulatedEcu(builtInPage()) {}

SimulatedEcu::SimulatedEcu(const EcuPage& flash) : m_ram(flash), m_flash(flash) {}

EcuPage SimulatedEcu::builtInPage() {
  constexpr std::array<std::uint8_t, kEcuBins> kRpmHundreds{5, 10, 15, 20, 30, 40, 50, 60};
  constexpr std::array<std::uint8_t, kEcuBins> kMapKpa{20, 30, 40, 50, 60, 70, 85, 100};
  EcuPage page{};
  for (std::size_t m = 0; m < kEcuBins; ++m)
    for (std::size_t r = 0; r < kEcuBins; ++r) {
      // Breathing peaks near the middle of the range and rises with load.
      const double rpmShape = 1.0 - std::pow((static_cast<double>(r) - 4.5) / 5.0, 2.0);
      page[kEcuBins * m + r] = byteOf(30.0 + 6.0 * static_cast<double>(m) + 22.0 * rpmShape);
    }
  for (std::size_t k = 0; k < kEcuBins; ++k) {
    page[kRpmBinOffset + k] = kRpmHundreds[k];
    page[kMapBinOffset + k] = kMapKpa[k];
  }
  return page;
}

std::vector<SimulatedEcu::Served> SimulatedEcu::receive(std::span<const std::uint8_t> bytes,
                                                        double seconds) {
  std::vector<Served> served;
  for (std::uint8_t byte : bytes) {
    if (!m_partialWrite.empty()) {
      m_partialWrite.push_back(byte);
      if (m_partialWrite.size() < kWriteCommandBytes) continue;
      const std::size_t offset = m_partialWrite[1];
      const std::uint8_t value = m_partialWrite[2];
      m_partialWrite.clear();
      // The page has 125 bytes; the firmware's own memory past it is not simulated.
      if (offset < kPageBytes) m_ram[offset] = value;
      served.push_back({'W', {}, "W " + std::to_string(offset) + " " + std::to_string(value)});
      continue;
    }
    switch (byte) {
      case 'V':
        served.push_back({'V', {m_ram.begin(), m_ram.end()}, "V: page sent"});
        break;
      case 'W':
        m_partialWrite.push_back(byte);
        break;
      case 'B':
        m_flash = m_ram;
        served.push_back({'B', {}, "B: RAM burnt to flash"});
        break;
      case 'C':
        served.push_back({'C', {static_cast<std::uint8_t>(std::fmod(seconds, 256.0))}, "C"});
        break;
      case 'A': {
        const auto record = realtimeRecord(seconds);
        served.push_back({'A', {record.begin(), record.end()}, "A: real-time record sent"});
        break;
      }
      default:
        break;  // CR, LF and anything else: ignored
    }
  }
  return served;
}

std::array<std::uint8_t, kRealtimeBytes> SimulatedEcu::realtimeRecord(double seconds) {
  using std::numbers::pi;
  const double t = std::max(seconds, 0.0);
  const bool cranking = t < 1.5;
  const double rpm = cranking ? 250.0 : 2600.0 - 1700.0 * std::cos(2.0 * pi * t / 24.0);
  const double throttle = cranking ? 0.0 : std::clamp((rpm - 900.0) / 45.0, 0.0, 100.0);
  const double mapKpa = 30.0 + 0.65 * throttle;
  const double coolantF = std::min(60.0 + 1.2 * t, 180.0);
  // Rich and lean in turn, a little more than once a second, as a closed loop holds it.
  const double o2Volts = std::sin(2.0 * pi * t * 1.3) > 0.0 ? 0.8 : 0.1;
  const bool warmup = coolantF < 160.0;
  const bool afterstart = !cranking && t < 10.0;

  std::array<std::uint8_t, kRealtimeBytes> record{};
  record[0] = static_cast<std::uint8_t>(static_cast<long>(t) & 0xFF);  // seconds counter
  record[realtime::kStatus] = static_cast<std::uint8_t>((!cranking ? 1 : 0) | (cranking ? 2 : 0) |
                                                        (afterstart ? 4 : 0) | (warmup ? 8 : 0));
  record[realtime::kMapCount] = byteOf(mapKpa);
  record[realtime::kCoolantCount] = byteOf(coolantF + 40.0);
  record[realtime::kThrottleCount] = byteOf(throttle);
  record[realtime::kO2Count] = byteOf(o2Volts * 256.0 / 5.0);
  record[realtime::kRpmHundreds] = byteOf(rpm / 100.0);
  record[realtime::kGammaE] = byteOf(100.0 + (warmup ? (160.0 - coolantF) / 4.0 : 0.0));
  record[realtime::kSecondO2] = 0;
  record[realtime::kO2Enable] = 1;
  return record;
}

}  // namespace tallimar::ecu
