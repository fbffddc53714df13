// Form1, the gauge exerciser: four gauges laid out like the live-data window's, driven by a
// counter that wanders between 1 and 100 every millisecond, with the peak needles reset
// every two seconds. It shows how the gauges move without an ECU.
#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <array>
#include <random>

#include "common/prompts.h"
#include "settings/settings_store.h"

class QLineEdit;
class QTimer;

namespace tallimar::ui {

class AnalogGauge;

class GaugeExerciser : public QWidget {
  Q_OBJECT
 public:
  static constexpr const char* kWindowName = "Form1";

  // The gauges are kept in the user's store under this window's name (see hostGauge).
  GaugeExerciser(settings::SettingsStore& store, common::Prompts& prompts,
                 QWidget* parent = nullptr);

  // AnalogGauge1 (RPM), AnalogGauge2 (coolant), AnalogGauge3 (O2), AnalogGauge4 (throttle).
  AnalogGauge* gauge(int index) const { return m_gauges[static_cast<std::size_t>(index - 1)]; }
  int counter() const { return m_counter; }

  // One tick of each timer (Timer1 every millisecond, Timer2 every two seconds).
  void timer1Tick();
  void timer2Tick();

 private:
  std::array<AnalogGauge*, 4> m_gauges{};
  QLineEdit* m_text1 = nullptr;
  QTimer* m_timer1 = nullptr;
  QTimer* m_timer2 = nullptr;
  QElapsedTimer m_sinceTick;
  int m_counter = 0;
  bool m_up = true;
  std::mt19937 m_random{std::random_device{}()};
};

}  // namespace tallimar::ui
