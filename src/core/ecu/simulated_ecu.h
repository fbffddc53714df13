// SimulatedEcu: an ECU that honours the serial commands the tool uses, for people without a
// car and for tests. It holds a 125-byte page in RAM and one in flash, and a small engine
// model for the 22-byte real-time record. It does no I/O: bytes go in, replies come out.
//
//   "V"            answers the RAM page (125 bytes)
//   "W" off value  stores one byte of the RAM page; no answer
//   "B"            copies RAM to flash; no answer
//   "C"            answers one byte (a seconds counter)
//   "A"            answers the real-time record (22 bytes)
// Any other byte is ignored, as the firmware does.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tallimar::ecu {

inline constexpr std::size_t kPageBytes = 125;
inline constexpr std::size_t kRealtimeBytes = 22;

// Offsets of the real-time record ("A") the tool reads.
namespace realtime {
inline constexpr std::size_t kStatus = 2;  // bit 0 running, 1 cranking, 2 afterstart, 3 warmup
inline constexpr std::size_t kMapCount = 4;
inline constexpr std::size_t kCoolantCount = 6;
inline constexpr std::size_t kThrottleCount = 7;
inline constexpr std::size_t kO2Count = 9;  // volts x 256 / 5
inline constexpr std::size_t kRpmHundreds = 13;
inline constexpr std::size_t kGammaE = 17;
inline constexpr std::size_t kSecondO2 = 19;
inline constexpr std::size_t kO2Enable = 20;
}  // namespace realtime

using EcuPage = std::array<std::uint8_t, kPageBytes>;

class SimulatedEcu {
 public:
  // One command served: its letter, the reply, and a line for a log.
  struct Served {
    char command = 0;
    std::vector<std::uint8_t> reply;
    std::string description;
  };

  // Flash (and RAM, copied at start) hold the built-in page: a plausible 8 x 8 table.
  SimulatedEcu();
  explicit SimulatedEcu(const EcuPage& flash);

  // The built-in page: RPM bins 500..6000, MAP bins 20..100 kPa, VE rising with both.
  static EcuPage builtInPage();

  // Feeds received bytes; returns the commands they complete, in order. A "W" may be split
  // over several calls. `seconds` is the engine model's clock.
  std::vector<Served> receive(std::span<const std::uint8_t> bytes, double seconds);

  const EcuPage& ram() const { return m_ram; }
  const EcuPage& flash() const { return m_flash; }

  // The real-time record of the engine model at `seconds` after start: idling up, revving
  // through the range, warming up, with an O2 voltage that switches around 0.45 V.
  static std::array<std::uint8_t, kRealtimeBytes> realtimeRecord(double seconds);

 private:
  EcuPage m_ram{};
  EcuPage m_flash{};
  std::vector<std::uint8_t> m_partialWrite;  // "W" and what followed it so far
};

}  // namespace tallimar::ecu
