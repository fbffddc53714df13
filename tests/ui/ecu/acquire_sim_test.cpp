// The live-data window on the program's QSerialPort line: against tallimar-ecu-sim on a
// pseudo-terminal, and on a port that cannot open.
#include <QApplication>
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
  // A window polling port 1 every 50 ms, pointed at the device, started.
  void start(const std::string& device, AcquireWindowHooks hooks = {}) {
    settings::saveSerialDevice(store, 1, device);
    workspace.settings.comPort = 1;
    workspace.settings.dataRate = 50;
    window = new AcquireWindow(workspace, store, prompts, std::move(hooks));
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
  start(sim.device);
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
  EXPECT_TRUE(o2Seen.size() >= 2 && rpmSeen.size() >= 2 && prompts.asked.empty());
  savePicture(window, "live_window_sim");
  button("cmdPauseToggle")->click();
  EXPECT_TRUE(button("cmdStartComm")->isEnabled());
}

// A line that hangs up ends in the watchdog message, and stopped means idle: no event loop
// spinning on a dead line.
TEST_F(AcquireSimTest, HungUpEcuEndsInTheWatchdogMessageAndLeavesTheWindowIdle) {
  SimProcess sim({"--hang-up-after", "5"});
  ASSERT_FALSE(sim.device.empty());
  start(sim.device);
  ASSERT_TRUE(QTest::qWaitFor([this] { return !prompts.asked.empty(); }, 5000));
  EXPECT_EQ(prompts.asked[0].text, "Watchdog error, Communications lost");
  EXPECT_TRUE(button("cmdStartComm")->isEnabled());
  const double before = testsupport::cpuSeconds();
  QTest::qWait(500);
  EXPECT_LT(testsupport::cpuSeconds() - before, 0.25);
}

TEST_F(AcquireSimTest, PortThatCannotOpenIsReportedAndCloseCallsBackOnce) {
  int closed = 0;
  start("/dev/tallimar-no-such-port", AcquireWindowHooks{[&closed] { ++closed; }, {}});
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_NE(prompts.asked[0].text.find("/dev/tallimar-no-such-port"), std::string::npos);
  EXPECT_TRUE(button("cmdStartComm")->isEnabled());
  EXPECT_FALSE(button("cmdPauseToggle")->isEnabled());
  button("cmdClose")->click();
  QApplication::processEvents();
  EXPECT_EQ(closed, 1);
}

}  // namespace
}  // namespace tallimar::ui::testing
