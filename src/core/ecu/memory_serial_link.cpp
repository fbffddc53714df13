// The in-memory serial line of the tests.
#include "ecu/memory_serial_link.h"

namespace tallimar::ecu {

common::Outcome MemorySerialLink::open(const std::string& device) {
  if (m_open) return common::fail("Could not open " + device + ": the port is already open");
  if (auto found = openFailures.find(device); found != openFailures.end())
    return common::fail("Could not open " + device + ": " + found->second);
  m_open = true;
  m_received.clear();
  sessions.push_back({device, {}});
  return {};
}

void MemorySerialLink::close() {
  if (!m_open) return;
  m_open = false;
  ++closes;
  m_written.clear();
}

common::Outcome MemorySerialLink::write(std::span<const std::uint8_t> bytes) {
  if (!m_open) return common::fail("The port is not open");
  sessions.back().writes.emplace_back(bytes.begin(), bytes.end());
  if (responder) {
    const Bytes reply = responder(bytes);
    m_received.insert(m_received.end(), reply.begin(), reply.end());
  }
  return {};
}

void MemorySerialLink::whenWritten(std::function<void(common::Outcome)> done) {
  if (m_open) m_written.push_back(std::move(done));
}

MemorySerialLink::Bytes MemorySerialLink::takeAll() { return std::exchange(m_received, {}); }

void MemorySerialLink::notifyWhenWaiting(std::size_t count, std::function<void()> ready) {
  m_notifyCount = count;
  m_ready = count > 0 ? std::move(ready) : nullptr;
}

void MemorySerialLink::deliver() {
  while (!m_written.empty()) {
    auto done = std::move(m_written.front());
    m_written.pop_front();
    if (writeFailure.empty())
      done({});
    else
      done(common::fail(writeFailure));
  }
  if (m_open && m_ready && m_received.size() >= m_notifyCount) m_ready();
}

}  // namespace tallimar::ecu
