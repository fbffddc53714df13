// The live-data window's poll, reply and watchdog sequence.
#include "ecu/acquisition.h"

#include <algorithm>

namespace tallimar::ecu {

int pollIntervalMs(int dataRate) { return std::max(dataRate, 1); }
int watchdogIntervalMs(int dataRate) { return pollIntervalMs(dataRate) * 5; }

Acquisition::Acquisition(SerialLink& link, LiveTimers& timers, std::string device,
                         LiveFactorTables tables)
    : m_link(link), m_timers(timers), m_device(std::move(device)), m_tables(tables) {}

common::Outcome Acquisition::start() {
  common::Outcome opened = m_link.open(m_device);
  if (!opened) {
    stop();
    return opened;
  }
  m_polling = true;
  m_outstanding = false;
  m_timers.setEnabled(LiveTimer::Poll, true);
  m_indicators.startEnabled = false;
  m_indicators.pauseEnabled = true;
  return {};
}

void Acquisition::pollTick() {
  if (!m_polling || m_outstanding) return;
  // A write that fails (the line hung up) is left to the watchdog, which stops polling with
  // its message: a tick never retries at once.
  (void)m_link.write(kLiveRequest);
  ++m_requests;
  m_timers.setEnabled(LiveTimer::Watchdog, true);
  m_outstanding = true;
}

Acquisition::Notified Acquisition::notification() {
  Notified result;
  if (!m_polling) return result;
  m_outstanding = false;
  m_timers.setEnabled(LiveTimer::Watchdog, false);
  ++m_indicators.samples;
  const std::vector<std::uint8_t> reply = m_link.takeAll();
  if (reply.empty()) {
    pause();
    result.stopped = true;
    return result;
  }
  if (reply.size() != kLiveRecordBytes) {
    // Whatever else is on its way is out of step: start again from a freshly opened port.
    pause();
    result.restarted = true;
    if (common::Outcome again = start(); !again) {
      result.stopped = true;
      result.failure = again.reason();
    }
  } else if (auto sample = decodeLiveRecord(reply, m_tables)) {
    result.sample = *sample;
  }
  m_indicators.collecting = m_polling;
  return result;
}

bool Acquisition::watchdogTick() {
  if (!m_polling) return false;
  stop();
  return true;
}

void Acquisition::pause() { stop(); }

void Acquisition::close() { stop(); }

void Acquisition::stop() {
  m_timers.setEnabled(LiveTimer::Poll, false);
  m_timers.setEnabled(LiveTimer::Watchdog, false);
  if (m_link.isOpen()) m_link.close();
  m_polling = false;
  m_outstanding = false;
  m_indicators.startEnabled = true;
  m_indicators.pauseEnabled = false;
  m_indicators.collecting = false;
}

}  // namespace tallimar::ecu
