#include "ecu/realtime_record.h"

#include <gtest/gtest.h>

#include <vector>

namespace tallimar::ecu {
namespace {

CountTable identity() {
  CountTable t{};
  for (std::size_t i = 0; i < t.size(); ++i) t[i] = static_cast<std::int16_t>(i);
  return t;
}

TEST(LiveRecord, DecodesTheBytesTheWindowShows) {
  CountTable kpa = identity();
  CountTable thermistor = identity();
  CountTable throttle = identity();
  kpa[100] = 95;
  thermistor[77] = 40;  // 40 - 40: 0 degrees
  throttle[51] = 20;
  std::vector<std::uint8_t> record(kLiveRecordBytes, 0xEE);
  record[2] = 0x05;
  record[4] = 100;
  record[6] = 77;
  record[7] = 51;
  record[9] = 128;
  record[13] = 35;
  record[17] = 104;
  record[19] = 3;
  record[20] = 1;
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
  EXPECT_TRUE(sample->running);
  EXPECT_FALSE(sample->cranking);
  EXPECT_TRUE(sample->afterstart);
  EXPECT_FALSE(sample->warmup);
  EXPECT_EQ(statusDigits(0x05), "00000101");
  EXPECT_EQ(statusDigits(0xFA), "11111010");
}

TEST(LiveRecord, RefusesEveryOtherLength) {
  const CountTable t = identity();
  for (std::size_t n : {0u, 1u, 21u, 23u, 44u}) {
    const std::vector<std::uint8_t> reply(n, 1);
    EXPECT_FALSE(decodeLiveRecord(reply, {t, t, t}).ok()) << n;
  }
}

}  // namespace
}  // namespace tallimar::ecu
