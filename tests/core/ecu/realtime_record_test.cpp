#include "ecu/realtime_record.h"

#include <gtest/gtest.h>

#include <vector>

namespace tallimar::ecu {
namespace {

TEST(LiveRecord, DecodesThroughTheFactorTablesAndRefusesEveryOtherLength) {
  CountTable kpa{}, thermistor{}, throttle{};
  kpa[100] = 95;
  thermistor[77] = 40;  // 40 - 40: 0 degrees
  throttle[51] = 20;
  std::vector<std::uint8_t> record(kLiveRecordBytes, 0xEE);
  for (auto [at, value] : {std::pair{2, 0x05},
                           {4, 100},
                           {6, 77},
                           {7, 51},
                           {9, 128},
                           {13, 35},
                           {17, 104},
                           {19, 3},
                           {20, 1}})
    record[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value);
  const auto sample = decodeLiveRecord(record, {kpa, thermistor, throttle});
  ASSERT_TRUE(sample.ok());
  EXPECT_DOUBLE_EQ(sample->mapKpa, 95);
  EXPECT_DOUBLE_EQ(sample->coolant, 0);
  EXPECT_DOUBLE_EQ(sample->throttle, 20);
  EXPECT_DOUBLE_EQ(sample->o2Volts, 2.5);
  EXPECT_DOUBLE_EQ(sample->rpmHundreds, 35);
  EXPECT_DOUBLE_EQ(sample->gammaE, 104);
  EXPECT_EQ(sample->secondO2, 3);
  EXPECT_EQ(sample->o2Enable, 1);
  // Status 0000 0101: running and afterstart, not cranking nor warming up.
  EXPECT_TRUE(sample->running && sample->afterstart);
  EXPECT_FALSE(sample->cranking || sample->warmup);
  EXPECT_EQ(statusDigits(0xFA), "11111010");

  for (std::size_t n : {0u, 1u, 21u, 23u, 44u})
    EXPECT_FALSE(decodeLiveRecord(std::vector<std::uint8_t>(n, 1), {kpa, kpa, kpa}).ok()) << n;
}

}  // namespace
}  // namespace tallimar::ecu
