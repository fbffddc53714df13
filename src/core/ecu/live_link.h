// LiveLink: the part of the serial line the live-data window needs. Its calls are those of
// the program's serial link (same names and meanings), so that link can serve as it is.
// Every call returns at once; the owner hands the waiting-bytes notification to
// Acquisition::notification.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "common/expected.h"

namespace tallimar::ecu {

class LiveLink {
 public:
  virtual ~LiveLink() = default;
  // Opens the device at 9600 baud, 8 data bits, no parity, 1 stop bit, discarding whatever
  // was received before. A failure names the device and the reason.
  virtual common::Outcome open(const std::string& device) = 0;
  virtual bool isOpen() const = 0;
  // Harmless when closed.
  virtual void close() = 0;
  // One write of all the bytes; fails when the port is closed or refuses them.
  virtual common::Outcome write(std::span<const std::uint8_t> bytes) = 0;
  // Every byte received so far.
  virtual std::vector<std::uint8_t> takeAll() = 0;
  // Calls `ready` each time at least `count` received bytes are waiting (0 turns it off);
  // later, on the owner's thread, never inside another call.
  virtual void notifyWhenWaiting(std::size_t count, std::function<void()> ready) = 0;
};

// The window's two timers, which the acquisition switches on and off. Switching a timer on
// starts its interval afresh.
enum class LiveTimer { Poll, Watchdog };
class LiveTimers {
 public:
  virtual ~LiveTimers() = default;
  virtual void setEnabled(LiveTimer timer, bool enabled) = 0;
};

}  // namespace tallimar::ecu
