// The "MS CPU" menu of the "Modify VE Map" window on the real QSerialPort line, against the
// simulated ECU on port 1: a read, and the failures only a real port shows.
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
  // The window on port 1 at the simulator's device, its table 8 x 8 and not yet present.
  void openOn(const SimProcess& sim) {
    settings::saveSerialDevice(store, 1, sim.device);
    ws.settings.dataRate = 200;  // a second for the reply: the tests share the machine
    setTable(ws.veTable, 8, 8);
    ws.veTable.lowDensityMapPresent = false;
    prompts.asked.clear();
    open();
  }
  bool commandEnds() {
    return QTest::qWaitFor([this] { return !window->ecuBusy(); }, 20000);
  }
};

TEST_F(VeWindowEcuTest, ReadVeMapShowsTheEcuTableAndRefusesASecondCommandMeanwhile) {
  SimProcess sim({"--line-speed", "0"});
  ASSERT_FALSE(sim.device.empty());
  openOn(sim);
  EXPECT_EQ(window->ecuTimers().timer(commands::EcuTimer::Read).interval(), 1000);
  entry("mnuReadVEMap")->trigger();
  entry("mnuWriteVEMap")->trigger();  // refused while the read waits for its reply
  EXPECT_EQ(window->statusLines(), std::vector<std::string>{commands::kEcuBusy});
  ASSERT_TRUE(commandEnds());
  const ecu::EcuPage page = ecu::SimulatedEcu::builtInPage();
  EXPECT_EQ(ve(16 * 3 + 5)->text(), QString::number(page[8 * 5 + 3]));  // RPM 3, MAP 5
  EXPECT_EQ(rpmBin(7)->text(), QString::number(page[107] * 100));
  EXPECT_TRUE(ws.veTable.lowDensityMapPresent && prompts.asked.empty());
}

// A silent ECU, a line that hangs up and a port another program holds: one message box each
// and the table left as it was.
TEST_F(VeWindowEcuTest, MisbehavingEcuOrPortGivesItsMessageAndLeavesTheTable) {
  const struct {
    std::vector<std::string> options;  // none: another program holds the port
    const char* entry;
    const char* message;  // the start of the one message box; empty: the port's own
  } cases[] = {{{"--silent"}, "mnuReadVEMap", commands::kNoEcu},
               {{"--hang-up-after", "20"}, "mnuWriteVEMap", "Could not "},  // open or send
               {{}, "mnuReadVEMap", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    SimProcess sim(c.options);
    ASSERT_FALSE(sim.device.empty());
    QtSerialLink other;
    if (c.options.empty()) {
      ASSERT_TRUE(other.open(sim.device).ok());
    }
    openOn(sim);
    const vemap::VeTable before = ws.veTable;
    entry(c.entry)->trigger();
    ASSERT_TRUE(commandEnds());
    ASSERT_EQ(prompts.asked.size(), 1u);
    const std::string message = *c.message ? c.message : "Could not open " + sim.device + ": ";
    EXPECT_EQ(prompts.asked[0].text.rfind(message, 0), 0u) << prompts.asked[0].text;
    EXPECT_EQ(ws.veTable.ve, before.ve);
    EXPECT_FALSE(ws.veTable.lowDensityMapPresent);
  }
}

}  // namespace
}  // namespace tallimar::ui::testing
