// The "MS CPU" menu of the "Modify VE Map" window on the real QSerialPort line, against the
// simulated ECU on port 1: a read, and the failures only a real port shows (no reply in time,
// a hang-up, an absent or busy port). A whole send and burn runs through tallimar-batch; the
// protocol's own corner cases are pinned in core on the in-memory line.
#include "commands/ecu_commands.h"
#include "ecu/simulated_ecu.h"
#include "settings/serial_device.h"
#include "support/sim_process.h"
#include "ui/common/ecu_reply_timers.h"
#include "ui/common/qt_serial_link.h"
#include "ui/vemap/ve_window_fixture.h"

namespace tallimar::ui::testing {
namespace {

using testsupport::SimProcess;

class VeWindowEcuTest : public VeWindowTest {
 protected:
  // The window on port 1 at the device, its table 8 x 8 and not yet present.
  void openOn(const std::string& device) {
    settings::saveSerialDevice(store, 1, device);
    ws.settings.dataRate = 200;  // a second for the reply: the tests share the machine
    setTable(ws.veTable, 8, 8);
    ws.veTable.lowDensityMapPresent = false;
    open();
  }
  // Runs the menu entry's command to its end.
  void run(const char* name) {
    prompts.asked.clear();
    entry(name)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->ecuBusy(); }, 20000)) << name;
  }
};

TEST_F(VeWindowEcuTest, ReadVeMapShowsTheEcuTableAndRefusesASecondCommandMeanwhile) {
  SimProcess sim({"--line-speed", "0"});
  ASSERT_FALSE(sim.device.empty());
  openOn(sim.device);
  EXPECT_EQ(window->ecuTimers().timer(commands::EcuTimer::Read).interval(), 1000);
  entry("mnuReadVEMap")->trigger();
  EXPECT_TRUE(window->ecuBusy());
  entry("mnuWriteVEMap")->trigger();  // refused while the read waits for its reply
  EXPECT_EQ(window->statusLines(), std::vector<std::string>{commands::kEcuBusy});
  ASSERT_TRUE(QTest::qWaitFor([this] { return !window->ecuBusy(); }, 20000));

  const ecu::EcuPage page = ecu::SimulatedEcu::builtInPage();
  EXPECT_EQ(ve(16 * 3 + 5)->text(), QString::number(page[8 * 5 + 3]));  // RPM 3, MAP 5
  EXPECT_EQ(rpmBin(7)->text(), QString::number(page[107] * 100));
  EXPECT_TRUE(ws.veTable.lowDensityMapPresent);
  EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(VeWindowEcuTest, MisbehavingEcuOrPortGivesItsMessageAndLeavesTheTable) {
  const struct {
    std::vector<std::string> options;  // empty: no simulator, the device is absent
    const char* entry;
    std::string message;  // the start of the one message box
  } cases[] = {
      {{"--silent"}, "mnuReadVEMap", commands::kNoEcu},
      {{"--hang-up-after", "20"}, "mnuWriteVEMap", "Could not "},  // open or send
      {{}, "mnuReadVEMap", "Could not open /dev/tallimar-no-such-port: "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options.empty() ? "absent port" : c.options[0]);
    std::optional<SimProcess> sim;
    std::string device = "/dev/tallimar-no-such-port";
    if (!c.options.empty()) {
      auto options = c.options;
      options.insert(options.begin(), {"--line-speed", "0"});
      device = sim.emplace(options).device;
      ASSERT_FALSE(device.empty());
    }
    openOn(device);
    const vemap::VeTable before = ws.veTable;
    run(c.entry);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text.rfind(c.message, 0), 0u) << prompts.asked[0].text;
    EXPECT_EQ(ws.veTable.ve, before.ve);
    EXPECT_FALSE(ws.veTable.lowDensityMapPresent);
  }
}

TEST_F(VeWindowEcuTest, APortHeldByAnotherProgramIsReportedAsBusy) {
  SimProcess sim({"--line-speed", "0"});
  QtSerialLink other;
  ASSERT_TRUE(other.open(sim.device).ok());
  openOn(sim.device);
  run("mnuReadVEMap");
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text.rfind("Could not open " + sim.device + ": ", 0), 0u);
  EXPECT_EQ(prompts.asked[0].icon, common::MessageIcon::Exclamation);
  other.close();
  run("mnuReadVEMap");
  EXPECT_TRUE(prompts.asked.empty());
  EXPECT_TRUE(ws.veTable.lowDensityMapPresent);
}

}  // namespace
}  // namespace tallimar::ui::testing
