// Decoding the real-time record.
#include "ecu/realtime_record.h"

namespace tallimar::ecu {
namespace {

// Offsets of the bytes the window shows; the others are not used.
constexpr std::size_t kStatus = 2;
constexpr std::size_t kMapCount = 4;
constexpr std::size_t kCoolantCount = 6;
constexpr std::size_t kThrottleCount = 7;
constexpr std::size_t kO2Count = 9;
constexpr std::size_t kRpmHundreds = 13;
constexpr std::size_t kGammaE = 17;
constexpr std::size_t kSecondO2 = 19;
constexpr std::size_t kO2Enable = 20;

}  // namespace

std::string statusDigits(std::uint8_t status) {
  std::string digits(8, '0');
  for (int bit = 0; bit < 8; ++bit)
    if (status & (1u << bit)) digits[static_cast<std::size_t>(7 - bit)] = '1';
  return digits;
}

common::Expected<LiveSample> decodeLiveRecord(std::span<const std::uint8_t> reply,
                                              const LiveFactorTables& tables) {
  if (reply.size() != kLiveRecordBytes)
    return common::fail("A real-time record has 22 bytes, the reply had " +
                        std::to_string(reply.size()));
  LiveSample s;
  s.mapKpa = tables.kpa[reply[kMapCount]];
  s.o2Volts = reply[kO2Count] * 5.0 / 256.0;
  s.rpmHundreds = reply[kRpmHundreds];
  s.gammaE = reply[kGammaE];
  s.throttle = tables.throttle[reply[kThrottleCount]];
  s.coolant = tables.thermistor[reply[kCoolantCount]] - 40.0;
  s.secondO2 = reply[kSecondO2];
  s.o2Enable = reply[kO2Enable];
  s.status = reply[kStatus];
  const std::string digits = statusDigits(s.status);
  s.running = digits[7] == '1';
  s.cranking = digits[6] == '1';
  s.afterstart = digits[5] == '1';
  s.warmup = digits[4] == '1';
  return s;
}

}  // namespace tallimar::ecu
