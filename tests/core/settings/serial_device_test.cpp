// Port numbers to serial devices: the stored choice wins, otherwise the machine's N-th port.
#include "settings/serial_device.h"

#include <gtest/gtest.h>

#include "settings/settings.h"

namespace tallimar::settings {
namespace {

TEST(SerialDevice, StoredChoiceOrTheNthMachinePort) {
  MemorySettingsStore store;
  EXPECT_EQ(serialDevicePath(store, 1), "/dev/ttyS0");
  EXPECT_EQ(serialDevicePath(store, 0), "/dev/ttyS0");

  saveSerialDevice(store, 1, " /dev/ttyUSB0 ");
  EXPECT_EQ(store.get(kApplication, kSection, "ComDevice1", ""), "/dev/ttyUSB0");
  EXPECT_EQ(serialDevicePath(store, 1), "/dev/ttyUSB0");
  EXPECT_EQ(serialDevicePath(store, 2), "/dev/ttyS1");

  saveSerialDevice(store, 1, "  ");
  EXPECT_EQ(serialDevicePath(store, 1), "/dev/ttyS0");
}

}  // namespace
}  // namespace tallimar::settings
