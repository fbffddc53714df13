// Port numbers to serial devices through the per-user "ComDevice<N>" keys.
#include "settings/serial_device.h"

#include <algorithm>

#include "settings/settings.h"

namespace tallimar::settings {
namespace {

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string serialDeviceKey(int port) { return "ComDevice" + std::to_string(port); }

std::string serialDevicePath(const SettingsStore& store, int port) {
  const std::string stored = trimmed(store.get(kApplication, kSection, serialDeviceKey(port), ""));
  if (!stored.empty()) return stored;
  return "/dev/ttyS" + std::to_string(std::max(port, 1) - 1);
}

void saveSerialDevice(SettingsStore& store, int port, const std::string& device) {
  store.save(kApplication, kSection, serialDeviceKey(port), trimmed(device));
}

}  // namespace tallimar::settings
