// frmAcquire, "MegaSquirt Data Grabber": polls the ECU for its real-time record and shows it
// on six analog gauges, the engine status lamps and a sample counter. The samples are shown
// only, never stored. Polling itself is ecu::Acquisition; this window turns its timers and
// the port's notifications into calls to it and shows what comes back.
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "common/prompts.h"
#include "ecu/acquisition.h"
#include "ecu/live_gauges.h"
#include "settings/settings_store.h"
#include "workspace/workspace.h"

class QLineEdit;
class QPushButton;
class QTimer;

namespace tallimar::ui {

class AnalogGauge;

struct AcquireWindowHooks {
  // Called once when the window closes, however it is closed (the main window enables its
  // menus again).
  std::function<void()> closed;
  // Makes the window's serial line; the program's QSerialPort line when empty.
  std::function<std::unique_ptr<ecu::SerialLink>()> makeLink;
};

class AcquireWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr const char* kWindowName = "frmAcquire";
  static constexpr double kWidthTwips = 11940;
  static constexpr double kHeightTwips = 6105;

  // Polls port "ComPort" of the workspace's settings (its device from the store) every
  // "DataRate" ms and converts with the workspace's factor tables. Everything passed must
  // outlive the window. The window deletes itself when closed.
  AcquireWindow(workspace::Workspace& workspace, settings::SettingsStore& store,
                common::Prompts& prompts, AcquireWindowHooks hooks, QWidget* parent = nullptr);
  ~AcquireWindow() override;

  AnalogGauge* gauge(ecu::LiveGauge which) const {
    return m_gauges[static_cast<std::size_t>(which)];
  }
  const ecu::Acquisition& acquisition() const { return *m_acquisition; }

  // The buttons' commands.
  void cmdStartComm();
  void cmdPauseToggle();
  void cmdClose();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void build();
  void buildIndicators();
  void pollTick();
  void watchdogTick();
  void notification();
  void showSample(const ecu::LiveSample& sample);
  void showIndicators();
  void reportOpenFailure(const std::string& reason);

  workspace::Workspace& m_workspace;
  settings::SettingsStore& m_store;
  common::Prompts& m_prompts;
  AcquireWindowHooks m_hooks;
  std::unique_ptr<ecu::SerialLink> m_link;
  std::unique_ptr<ecu::LiveTimers> m_timers;
  std::unique_ptr<ecu::Acquisition> m_acquisition;
  std::array<AnalogGauge*, 6> m_gauges{};
  std::array<QLineEdit*, 7> m_status{};   // txtStatus 1..6 (0 unused)
  QLineEdit* m_samples = nullptr;         // Text2
  QLineEdit* m_collector = nullptr;       // txtDataCollector
  std::array<QLineEdit*, 2> m_veCells{};  // txtVEBins 0 and 1
  QPushButton* m_start = nullptr;
  QPushButton* m_pause = nullptr;
  QPushButton* m_close = nullptr;
  QTimer* m_tmrComm = nullptr;
  QTimer* m_tmrWatchDog = nullptr;
  bool m_closedReported = false;
};

}  // namespace tallimar::ui
