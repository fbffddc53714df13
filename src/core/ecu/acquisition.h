// Acquisition: the live-data window's polling without the window. Start opens the port and
// starts the poll timer; each poll tick sends one request unless a reply is still awaited
// and arms the watchdog; a notification takes the reply, decodes it and disarms the
// watchdog; the watchdog, Pause or an empty reply stop it. The window forwards its timer
// ticks and port notifications here and shows the result.
#pragma once

#include <optional>
#include <string>

#include "ecu/live_timers.h"
#include "ecu/realtime_record.h"
#include "ecu/serial_link.h"

namespace tallimar::ecu {

// Timer intervals in milliseconds for the "DataRate" setting: poll every DataRate, give up
// on a reply after five polls. A DataRate below 1 polls every millisecond.
int pollIntervalMs(int dataRate);
int watchdogIntervalMs(int dataRate);

// The watchdog's message box text (titled "Tallimar", no icon).
inline constexpr const char* kWatchdogMessage = "Watchdog error, Communications lost";

class Acquisition {
 public:
  // What the window shows besides the gauges.
  struct Indicators {
    bool startEnabled = true;
    bool pauseEnabled = false;
    bool collecting = false;  // "YES" on green, else "NO" on red
    long samples = 0;         // notifications so far
  };

  // What a notification led to.
  struct Notified {
    std::optional<LiveSample> sample;  // a whole record, to show
    bool restarted = false;            // a reply of the wrong length: port closed and opened
    bool stopped = false;              // an empty reply, or the restart could not open the port
    std::string failure;               // why the restart failed (empty otherwise)
  };

  // The link, timers and tables must outlive the acquisition. `device` is what Start opens.
  Acquisition(SerialLink& link, LiveTimers& timers, std::string device, LiveFactorTables tables);

  // Start: opens the port and starts polling. On failure (the reason names the device) the
  // acquisition stays stopped, with Start enabled.
  common::Outcome start();
  // Poll tick: sends the request unless a reply is awaited.
  void pollTick();
  // The port has bytes waiting: takes them all and decodes them. Ignored while stopped.
  Notified notification();
  // Watchdog tick: no reply in time; stops. True when it stopped polling: the window then
  // shows kWatchdogMessage. A tick that arrives after polling ended does nothing.
  bool watchdogTick();
  // Pause: stops polling and closes the port.
  void pause();
  // Close: stops everything before the window goes.
  void close();

  bool polling() const { return m_polling; }
  bool requestOutstanding() const { return m_outstanding; }
  // Requests written since the acquisition was made.
  long requestsSent() const { return m_requests; }
  const Indicators& indicators() const { return m_indicators; }
  const std::string& device() const { return m_device; }

 private:
  void stop();

  SerialLink& m_link;
  LiveTimers& m_timers;
  std::string m_device;
  LiveFactorTables m_tables;
  bool m_polling = false;
  bool m_outstanding = false;
  long m_requests = 0;
  Indicators m_indicators;
};

}  // namespace tallimar::ecu
