// SerialLink: the one serial line to the ECU. The program runs it over QSerialPort, core
// tests over MemorySerialLink, and end-to-end tests over a pseudo-terminal served by the
// simulated ECU. Every call returns at once; waiting is done by the caller's timers or by the
// callbacks below, which arrive later on the caller's own thread (never inside the call).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "common/expected.h"

namespace tallimar::ecu {

class SerialLink {
 public:
  virtual ~SerialLink() = default;

  // Opens the device (such as "/dev/ttyS0") at 9600 baud, 8 data bits, no parity, 1 stop
  // bit, no flow control. Whatever was received before is discarded. A failure names the
  // device and the reason; the link is then closed.
  virtual common::Outcome open(const std::string& device) = 0;
  virtual bool isOpen() const = 0;
  // Closes the port; pending callbacks are dropped. Harmless when closed.
  virtual void close() = 0;

  // Hands the bytes to the port as one write. Fails when the port is closed or refuses them.
  virtual common::Outcome write(std::span<const std::uint8_t> bytes) = 0;
  // Calls `done` once every byte written so far has left the port, or with the reason it
  // could not (the port failed or never emptied). Called exactly once, unless the link is
  // closed first.
  virtual void whenWritten(std::function<void(common::Outcome)> done) = 0;

  // Takes every byte received so far out of the receive buffer.
  virtual std::vector<std::uint8_t> takeAll() = 0;
  // Calls `ready` each time at least `count` received bytes are waiting (0 turns it off).
  virtual void notifyWhenWaiting(std::size_t count, std::function<void()> ready) = 0;
};

}  // namespace tallimar::ecu
