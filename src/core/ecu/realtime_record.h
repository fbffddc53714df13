// The ECU's 22-byte real-time record as the live-data window shows it: which bytes it reads
// and how they become kPa, degrees, volts and the engine status lamps.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "common/expected.h"

namespace tallimar::ecu {

// The request for one record: "A", CR, LF, written as one piece.
inline constexpr std::array<std::uint8_t, 3> kLiveRequest{0x41, 0x0D, 0x0A};
inline constexpr std::size_t kLiveRecordBytes = 22;

// A 256-entry conversion table indexed by an 8-bit ADC count (the program's factor tables).
using CountTable = std::array<std::int16_t, 256>;

// The three factor tables the record needs; they must outlive the decode.
struct LiveFactorTables {
  const CountTable& kpa;
  const CountTable& thermistor;
  const CountTable& throttle;
};

struct LiveSample {
  double mapKpa = 0;        // kPa table entry of byte 4
  double o2Volts = 0;       // byte 9 x 5 / 256
  double rpmHundreds = 0;   // byte 13, hundreds of rev/min
  double gammaE = 0;        // byte 17, percent
  double throttle = 0;      // throttle table entry of byte 7
  double coolant = 0;       // thermistor table entry of byte 6, minus 40
  int secondO2 = 0;         // byte 19
  int o2Enable = 0;         // byte 20
  std::uint8_t status = 0;  // byte 2
  // Status lamps, from the status byte's eight binary digits (most significant first):
  // digit 8 (bit 0) Running, 7 Cranking, 6 Afterstart, 5 Warmup.
  bool running = false;
  bool cranking = false;
  bool afterstart = false;
  bool warmup = false;
};

// The status byte as exactly eight binary digits, most significant first ("00000101").
std::string statusDigits(std::uint8_t status);

// Decodes one reply. Anything but exactly 22 bytes is refused (nothing past the reply's end
// is ever read).
common::Expected<LiveSample> decodeLiveRecord(std::span<const std::uint8_t> reply,
                                              const LiveFactorTables& tables);

}  // namespace tallimar::ecu
