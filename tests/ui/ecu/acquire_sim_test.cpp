// The live-data window on the program's QSerialPort line, against tallimar-ecu-sim on a
// pseudo-terminal: the counter rises and the gauges follow the engine model; a silent or
// hung-up ECU ends in the watchdog message and leaves the window idle.
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <set>

#include "common/scripted_prompts.h"
#include "settings/serial_device.h"
#include "support/sim_process.h"
#include "ui/ecu/acquire_window.h"
#include "ui/ecu/analog_gauge.h"
#include "ui/pictures.h"

namespace tallimar::ui::testing {
namespace {

using testsupport::SimProcess;

class AcquireSimTest : public ::testing::Test {
 protected:
  // A window polling port 1 every 50 ms, pointed at the simulator's device, started.
  void start(const SimProcess& sim) {
    settings::saveSerialDevice(store, 1, sim.device);
    workspace.settings.comPort = 1;
    workspace.settings.dataRate = 50;
    window = new AcquireWindow(workspace, store, prompts, {});
    window->show();
    button("cmdStartComm")->click();
  }
  QPushButton* button(const char* name) { return window->findChild<QPushButton*>(name); }
  void TearDown() override {
    if (window) window->close();
    QTest::qWait(10);
  }

  workspace::Workspace workspace;
  settings::MemorySettingsStore store;
  common::ScriptedPrompts prompts;
  QPointer<AcquireWindow> window;
};

TEST_F(AcquireSimTest, CounterRisesAndGaugesFollowTheEngine) {
  SimProcess sim({});
  ASSERT_FALSE(sim.device.empty());
  start(sim);
  std::set<double> o2Seen, rpmSeen;
  const auto samples = [this] { return window->findChild<QLineEdit*>("Text2")->text().toInt(); };
  // 40 samples: 2 s at 50 ms, longer on a busy machine; cranking, then running, the O2 switching.
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        o2Seen.insert(window->gauge(ecu::LiveGauge::O2)->value());
        rpmSeen.insert(window->gauge(ecu::LiveGauge::Rpm)->value());
        return samples() >= 40;
      },
      30000))
      << sim.log();
  EXPECT_GE(o2Seen.size(), 2u);
  EXPECT_GE(rpmSeen.size(), 2u);
  EXPECT_TRUE(prompts.asked.empty());
  savePicture(window, "live_window_sim");
  button("cmdPauseToggle")->click();  // pausing stops the polls
  const int shown = samples();
  QTest::qWait(200);
  EXPECT_LE(samples(), shown + 1);
  EXPECT_TRUE(button("cmdStartComm")->isEnabled());
}

TEST_F(AcquireSimTest, SilentOrHungUpEcuEndsInTheWatchdogMessage) {
  for (const auto& options : {std::vector<std::string>{"--silent"}, {"--hang-up-after", "5"}}) {
    SCOPED_TRACE(options[0]);
    prompts.asked.clear();
    SimProcess sim(options);
    ASSERT_FALSE(sim.device.empty());
    start(sim);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !prompts.asked.empty(); }, 5000));
    EXPECT_EQ(prompts.asked[0].text, "Watchdog error, Communications lost");
    EXPECT_TRUE(button("cmdStartComm")->isEnabled());
    // Stopped means idle: no event loop spinning on a dead line.
    const double before = testsupport::cpuSeconds();
    QTest::qWait(500);
    EXPECT_LT(testsupport::cpuSeconds() - before, 0.25);
    window->close();
  }
}

}  // namespace
}  // namespace tallimar::ui::testing
