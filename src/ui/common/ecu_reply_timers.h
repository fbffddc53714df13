// The one-shot reply timers of the ECU commands: "Timer1" (read), "Timer2" (send and verify)
// and "Timer3" (burn), each firing once "DataRate" x 5 ms after it is started.
#pragma once

#include <QObject>
#include <QTimer>
#include <array>
#include <functional>

#include "commands/ecu_commands.h"

namespace tallimar::ui {

class EcuReplyTimers : public QObject {
  Q_OBJECT
 public:
  // fired is called when a started timer fires.
  EcuReplyTimers(std::function<void(commands::EcuTimer)> fired, QObject* parent = nullptr);

  // "DataRate" in milliseconds; the timers wait five times as long.
  void setDataRate(int dataRateMs);
  void start(commands::EcuTimer timer);
  void stopAll();
  bool active() const;
  QTimer& timer(commands::EcuTimer timer);

 private:
  std::array<QTimer*, 3> m_timers{};
  std::function<void(commands::EcuTimer)> m_fired;
};

}  // namespace tallimar::ui
