// The live-data window on the program's QSerialPort line, against tallimar-ecu-sim on a
// pseudo-terminal: the counter rises and the gauges follow the engine model; a silent or
// hung-up ECU ends in the watchdog message.
#include <sys/resource.h>

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <set>

#include "common/scripted_prompts.h"
#include "settings/serial_device.h"
#include "sim_process.h"
#include "ui/ecu/acquire_window.h"
#include "ui/ecu/analog_gauge.h"

namespace tallimar::ui::testing {
namespace {

class AcquireSimTest : public ::testing::Test {
 protected:
  // A window polling port 1, pointed at the simulator's device.
  AcquireWindow& open(const SimProcess& sim) {
    settings::saveSerialDevice(store, 1, sim.device);
    workspace.settings.comPort = 1;
    workspace.settings.dataRate = 50;
    window = new AcquireWindow(workspace, store, prompts, {});
    window->show();
    return *window;
  }
  int samples() { return window->findChild<QLineEdit*>("Text2")->text().toInt(); }
  QPushButton* button(const char* name) { return window->findChild<QPushButton*>(name); }
  std::vector<std::string> messages() const {
    std::vector<std::string> texts;
    for (const auto& q : prompts.asked) texts.push_back(q.text);
    return texts;
  }
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
  open(sim);
  button("cmdStartComm")->click();
  std::set<double> o2Seen;
  std::set<double> rpmSeen;
  for (int k = 0; k < 60; ++k) {  // 3 s: cranking, then running, the O2 switching
    QTest::qWait(50);
    o2Seen.insert(window->gauge(ecu::LiveGauge::O2)->value());
    rpmSeen.insert(window->gauge(ecu::LiveGauge::Rpm)->value());
  }
  EXPECT_GE(samples(), 40) << sim.log();
  EXPECT_GE(o2Seen.size(), 2u);
  EXPECT_GE(rpmSeen.size(), 2u);
  EXPECT_GT(window->gauge(ecu::LiveGauge::Rpm)->value(), 8);
  EXPECT_TRUE(window->acquisition().indicators().collecting);
  EXPECT_TRUE(messages().empty());
  // A picture of the running window for a person to look at, when a folder is named.
  if (const QString dir = qEnvironmentVariable("TALLIMAR_SCREENSHOT_DIR"); !dir.isEmpty())
    window->grab().save(dir + "/live_window_sim.png");
  button("cmdPauseToggle")->click();
  EXPECT_TRUE(button("cmdStartComm")->isEnabled());
}

TEST_F(AcquireSimTest, SilentOrHungUpEcuEndsInTheWatchdogMessage) {
  for (const QStringList& options :
       {QStringList{"--silent"}, QStringList{"--hang-up-after", "5"}}) {
    prompts.asked.clear();
    SimProcess sim(options);
    ASSERT_FALSE(sim.device.empty());
    open(sim);
    button("cmdStartComm")->click();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !prompts.asked.empty(); }, 5000))
        << options.join(' ').toStdString();
    EXPECT_EQ(messages(), std::vector<std::string>{"Watchdog error, Communications lost"});
    EXPECT_TRUE(button("cmdStartComm")->isEnabled());
    EXPECT_FALSE(button("cmdPauseToggle")->isEnabled());
    // Stopped means idle: no event loop spinning on a dead line.
    const double before = cpuSeconds();
    QTest::qWait(500);
    EXPECT_LT(cpuSeconds() - before, 0.25) << options.join(' ').toStdString();
    window->close();
  }
}

}  // namespace
}  // namespace tallimar::ui::testing
