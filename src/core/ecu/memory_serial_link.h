// MemorySerialLink: a SerialLink in memory, for tests of the sequences that use the line.
// It records every write of every session, hands each write to a responder that plays the
// device, and runs its callbacks only when the test calls deliver(), as an event loop would.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ecu/serial_link.h"

namespace tallimar::ecu {

class MemorySerialLink : public SerialLink {
 public:
  using Bytes = std::vector<std::uint8_t>;

  common::Outcome open(const std::string& device) override;
  bool isOpen() const override { return m_open; }
  void close() override;
  common::Outcome write(std::span<const std::uint8_t> bytes) override;
  void whenWritten(std::function<void(common::Outcome)> done) override;
  Bytes takeAll() override;
  void notifyWhenWaiting(std::size_t count, std::function<void()> ready) override;

  // Runs the callbacks that are due: written-out reports, then one waiting notification.
  void deliver();

  // Plays the device: gets each write and returns what the device answers (appended to the
  // receive buffer at once).
  std::function<Bytes(std::span<const std::uint8_t>)> responder;
  // Devices that cannot be opened, with the reason.
  std::map<std::string, std::string> openFailures;
  // The reason the written bytes never leave the port, when set.
  std::string writeFailure;

  // What happened on the line, in order.
  struct Session {
    std::string device;
    std::vector<Bytes> writes;  // one entry per write call
  };
  std::vector<Session> sessions;
  int closes = 0;

 private:
  bool m_open = false;
  Bytes m_received;
  std::deque<std::function<void(common::Outcome)>> m_written;
  std::size_t m_notifyCount = 0;
  std::function<void()> m_ready;
};

}  // namespace tallimar::ecu
