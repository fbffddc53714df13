// Which serial device a port number opens. The settings record keeps the port as a number
// ("ComPort", 1 = first port); the device behind each number is a per-user key of its own,
// so port 1 can be pointed at a USB adapter or at the simulated ECU's pseudo-terminal.
#pragma once

#include <string>

#include "settings/settings_store.h"

namespace tallimar::settings {

// The per-user key naming the device of port N: "ComDevice<N>".
std::string serialDeviceKey(int port);

// The device port N opens: the text stored under "ComDevice<N>" when it is set and not
// blank, otherwise the machine's N-th serial port "/dev/ttyS<N-1>". A port below 1 maps
// to "/dev/ttyS0".
std::string serialDevicePath(const SettingsStore& store, int port);

// Stores the device of port N (a blank text clears the choice: the port maps to its
// default device again).
void saveSerialDevice(SettingsStore& store, int port, const std::string& device);

}  // namespace tallimar::settings
