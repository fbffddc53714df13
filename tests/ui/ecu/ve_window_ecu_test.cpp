// The "MS CPU" menu of the "Modify VE Map" window against the simulated ECU on port 1.
#include "commands/ecu_commands.h"
#include "ecu/simulated_ecu.h"
#include "settings/serial_device.h"
#include "support/sim_process.h"
#include "ui/common/ecu_reply_timers.h"
#include "ui/vemap/ve_window_fixture.h"

namespace tallimar::ui::testing {
namespace {

TEST_F(VeWindowTest, ReadVeMapShowsTheEcuTableAndRefusesASecondCommandMeanwhile) {
  testsupport::SimProcess sim({"--line-speed", "0"});
  ASSERT_FALSE(sim.device.empty());
  settings::saveSerialDevice(store, 1, sim.device);
  ws.settings.dataRate = 200;  // a second for the reply: the tests share the machine
  setTable(ws.veTable, 8, 8);
  ws.veTable.lowDensityMapPresent = false;
  open();
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

}  // namespace
}  // namespace tallimar::ui::testing
