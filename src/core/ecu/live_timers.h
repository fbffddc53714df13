// The live-data window's two timers as the acquisition sees them: the poll timer and the
// reply watchdog, switched on and off by the acquisition and ticking into it.
#pragma once

namespace tallimar::ecu {

enum class LiveTimer { Poll, Watchdog };

class LiveTimers {
 public:
  virtual ~LiveTimers() = default;
  // Switching a timer on starts its interval afresh.
  virtual void setEnabled(LiveTimer timer, bool enabled) = 0;
};

}  // namespace tallimar::ecu
