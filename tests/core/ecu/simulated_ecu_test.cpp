// The simulated ECU's command parser: split writes, ignored bytes and what each command serves.
#include "ecu/simulated_ecu.h"

#include <gtest/gtest.h>

namespace tallimar::ecu {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(SimulatedEcu, ServesTheCommandsAndIgnoresOtherBytes) {
  SimulatedEcu ecu;
  const EcuPage original = ecu.ram();
  // A write split over three arrivals, with noise around it; offsets past the page are dropped.
  std::vector<SimulatedEcu::Served> served = ecu.receive(Bytes{'x', 0x0D, 'W'}, 0);
  EXPECT_TRUE(served.empty());
  served = ecu.receive(Bytes{3}, 0);
  EXPECT_TRUE(served.empty());
  served = ecu.receive(Bytes{200, 'W', 200, 1, '?'}, 0);
  ASSERT_EQ(served.size(), 2u);
  EXPECT_EQ(ecu.ram()[3], 200);
  EXPECT_EQ(ecu.flash(), original);

  served = ecu.receive(Bytes{'V', 0x0D, 0x0A, 'B', 'C', 'A'}, 5.0);
  ASSERT_EQ(served.size(), 4u);
  EXPECT_EQ(served[0].reply, Bytes(ecu.ram().begin(), ecu.ram().end()));
  EXPECT_TRUE(served[1].reply.empty());
  EXPECT_EQ(ecu.flash(), ecu.ram());
  EXPECT_EQ(served[2].reply.size(), 1u);
  EXPECT_EQ(served[3].reply.size(), kRealtimeBytes);
}

}  // namespace
}  // namespace tallimar::ecu
