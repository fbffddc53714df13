// The ECU commands through the real QSerialPort link and a pseudo-terminal, against the
// simulated ECU: a whole read, send, verify and burn, and the failures only a real port shows
// (no reply in time, a hang-up, an absent or busy port). The protocol's own corner cases are
// pinned in the core tests on the in-memory line.
#include <QCoreApplication>
#include <QTest>
#include <optional>

#include "commands/ecu_commands.h"
#include "common/scripted_prompts.h"
#include "ecu/simulated_ecu.h"
#include "ecu/ve_page.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"
#include "ui/common/ecu_reply_timers.h"
#include "ui/common/qt_serial_link.h"

namespace tallimar::ui::testing {
namespace {

using commands::CommandResult;
using commands::CommandStatus;
using commands::EcuCommands;
using testsupport::SimProcess;

// The simulator answers at once (no line pacing); the reply timer is given a second, as the
// tests share the machine with builds and other tests.
class EcuLinkTest : public testsupport::TempDirTest {
 protected:
  EcuLinkTest() {
    ws.veTable.setStartupBins();
    timers.setDataRate(200);
  }

  // Starts a command and runs the event loop until it ends; the result, or nullopt when it
  // did not end within a few seconds.
  std::optional<CommandResult> run(CommandResult (EcuCommands::*start)(const std::string&),
                                   const std::string& device) {
    finished.reset();
    prompts.asked.clear();
    const CommandResult started = (commands.*start)(device);
    if (!started.ok()) return started;
    if (!QTest::qWaitFor([this] { return finished.has_value(); }, 20000)) return std::nullopt;
    return finished;
  }

  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog status;
  QtSerialLink link;
  std::optional<CommandResult> finished;
  EcuCommands commands{ws, link, prompts, status,
                       commands::EcuCommandHooks{[this](commands::EcuTimer t) { timers.start(t); },
                                                 [this](CommandResult r) { finished = r; }}};
  EcuReplyTimers timers{[this](commands::EcuTimer t) { commands.timerFired(t); }};
};

TEST_F(EcuLinkTest, ReadSendVerifyAndBurnReachTheSimulatorsFlash) {
  const std::string flash = path("flash.bin");
  SimProcess sim({"--line-speed", "0", "--save-flash", flash});
  ASSERT_FALSE(sim.device.empty());

  auto result = run(&EcuCommands::readVeMap, sim.device);
  ASSERT_TRUE(result && result->ok() && result->changed) << sim.log();
  EXPECT_TRUE(ecu::pageMatches(ws.veTable, ecu::SimulatedEcu::builtInPage()));
  EXPECT_TRUE(prompts.asked.empty());

  for (int r = 0; r < 8; ++r)
    for (int m = 0; m < 8; ++m) ws.veTable.at(r, m) = static_cast<std::int16_t>(90 - r - 2 * m);
  ws.veTable.rpmBins[7] = 7000;
  prompts.answers = {common::Answer::Yes};
  result = run(&EcuCommands::sendVeMap, sim.device);
  ASSERT_TRUE(result && result->ok()) << sim.log();
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text, commands::kOfferBurn);
  EXPECT_FALSE(link.isOpen());

  const std::string burnt = read(flash);
  ASSERT_EQ(burnt.size(), ecu::kPageBytes);
  EXPECT_TRUE(ecu::pageMatches(ws.veTable, std::vector<std::uint8_t>(burnt.begin(), burnt.end())));
  EXPECT_EQ(sim.stop(), 0);
  const std::string log = sim.log();
  EXPECT_NE(log.find("W 115 100"), std::string::npos);
  EXPECT_NE(log.find("B: RAM burnt to flash"), std::string::npos);
}

TEST_F(EcuLinkTest, MisbehavingEcuOrPortGivesItsMessageAndLeavesTheTable) {
  struct Case {
    const char* name;
    std::vector<std::string> options;  // empty: no simulator, the device below is absent
    bool send;                         // Send VE Map (else Read VE Map)
    std::string message;               // the start of the one message box
  };
  const Case cases[] = {
      {"silent", {"--silent"}, false, commands::kNoEcu},
      {"hang-up", {"--hang-up-after", "20"}, true, "Could not "},  // open or send
      {"absent port", {}, false, "Could not open /dev/tallimar-no-such-port: "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<SimProcess> sim;
    std::string device = "/dev/tallimar-no-such-port";
    if (!c.options.empty()) {
      auto options = c.options;
      options.insert(options.begin(), {"--line-speed", "0"});
      sim.emplace(options);
      ASSERT_FALSE(sim->device.empty());
      device = sim->device;
    }
    const vemap::VeTable before = ws.veTable;
    const auto result = run(c.send ? &EcuCommands::sendVeMap : &EcuCommands::readVeMap, device);
    ASSERT_TRUE(result);
    EXPECT_FALSE(result->ok());
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text.rfind(c.message, 0), 0u) << prompts.asked[0].text;
    EXPECT_EQ(ws.veTable.ve, before.ve);
    EXPECT_EQ(ws.veTable.rpmBins, before.rpmBins);
    EXPECT_FALSE(link.isOpen());
    EXPECT_FALSE(commands.busy());
  }
}

TEST_F(EcuLinkTest, APortHeldByAnotherProgramIsReportedAsBusy) {
  SimProcess sim({"--line-speed", "0"});
  QtSerialLink other;
  ASSERT_TRUE(other.open(sim.device).ok());
  const auto result = run(&EcuCommands::readVeMap, sim.device);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, CommandStatus::Failed);
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text.rfind("Could not open " + sim.device + ": ", 0), 0u);
  EXPECT_EQ(prompts.asked[0].icon, common::MessageIcon::Exclamation);
  other.close();
  EXPECT_TRUE(run(&EcuCommands::readVeMap, sim.device)->ok());
}

}  // namespace
}  // namespace tallimar::ui::testing
