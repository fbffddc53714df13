#include "ecu/realtime_record.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace tallimar::ecu {
namespace {

TEST(LiveRecord, DecodesThroughTheFactorTablesAndRefusesEveryOtherLength) {
  CountTable kpa{}, thermistor{}, throttle{};
  kpa[100] = 95;
  thermistor[77] = 40;  // 40 - 40: 0 degrees
  throttle[51] = 20;
  std::vector<std::uint8_t> record(kLiveRecordBytes, 0xEE);
  const std::pair<int, int> bytes[] = {{2, 0x05}, {4, 100},  {6, 77}, {7, 51}, {9, 128},
                                       {13, 35},  {17, 104}, {19, 3}, {20, 1}};
  for (auto [at, value] : bytes)
    record[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value);
  const auto s = decodeLiveRecord(record, {kpa, thermistor, throttle});
  ASSERT_TRUE(s.ok());
  // Status 0000 0101: running and afterstart, not cranking nor warming up.
  EXPECT_EQ(std::tuple(s->mapKpa, s->coolant, s->throttle, s->o2Volts, s->rpmHundreds, s->gammaE,
                       s->secondO2, s->o2Enable, s->running, s->cranking, s->afterstart, s->warmup),
            std::tuple(95.0, 0.0, 20.0, 2.5, 35.0, 104.0, 3, 1, true, false, true, false));
  EXPECT_EQ(statusDigits(0xFA), "11111010");

  for (std::size_t n : {21u, 23u})
    EXPECT_FALSE(decodeLiveRecord(std::vector<std::uint8_t>(n, 1), {kpa, kpa, kpa}).ok()) << n;
}

}  // namespace
}  // namespace tallimar::ecu
