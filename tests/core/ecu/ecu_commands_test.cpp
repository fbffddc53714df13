// The three ECU commands on an in-memory line with the simulated ECU behind it: what goes
// out, what a reply does to the table, and every way a command can end.
#include "commands/ecu_commands.h"

#include <gtest/gtest.h>

#include <optional>

#include "common/scripted_prompts.h"
#include "ecu/memory_serial_link.h"
#include "ecu/simulated_ecu.h"
#include "ecu/ve_page.h"

namespace tallimar::commands {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr const char* kDevice = "/dev/ttyS0";

Bytes bytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

class EcuCommandsTest : public ::testing::Test {
 public:
  EcuCommandsTest() {
    ws.veTable.setStartupBins();
    for (int r = 0; r < 16; ++r)
      for (int m = 0; m < 16; ++m) ws.veTable.at(r, m) = static_cast<std::int16_t>(40 + r + m);
    link.responder = [this](std::span<const std::uint8_t> in) {
      Bytes out;
      for (const auto& served : ecu.receive(in, 3.0))
        out.insert(out.end(), served.reply.begin(), served.reply.end());
      if (replyOverride) return *replyOverride;
      return out;
    };
  }

  // Runs the event loop: written-out reports, then the armed timer, until the command ends.
  void runToEnd() {
    for (int turn = 0; turn < 10 && !result; ++turn) {
      link.deliver();
      if (!timers.empty()) {
        const EcuTimer timer = timers.back();
        timers.clear();
        commands.timerFired(timer);
      }
    }
  }

  // Forgets what the previous command did, for the next case.
  void nextCase() {
    result.reset();
    replyOverride.reset();
    link.writeFailure.clear();
    link.openFailures.clear();
    link.sessions.clear();
    prompts.asked.clear();
    armed.clear();
  }

  // Starts command 0 (read), 1 (send) or 2 (burn).
  CommandResult start(int which) {
    return which == 0   ? commands.readVeMap(kDevice)
           : which == 1 ? commands.sendVeMap(kDevice)
                        : commands.burnVeToFlash(kDevice);
  }

  std::vector<std::string> messages() const {
    std::vector<std::string> texts;
    for (const auto& q : prompts.asked) texts.push_back(q.text);
    return texts;
  }

  workspace::Workspace ws;
  ecu::SimulatedEcu ecu;
  ecu::MemorySerialLink link;
  std::optional<Bytes> replyOverride;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog status;
  std::vector<EcuTimer> timers;
  std::vector<EcuTimer> armed;
  std::optional<CommandResult> result;
  EcuCommands commands{
      ws, link, prompts, status,
      EcuCommandHooks{[this](EcuTimer t) { timers.push_back(t), armed.push_back(t); },
                      [this](CommandResult r) { result = r; }}};
};

// Read sends one "V" and takes the page only when all of it came; anything less leaves the
// table and says the ECU is not there.
TEST_F(EcuCommandsTest, ReadTakesAWholePageOnly) {
  for (const std::size_t reply : {0u, 124u, 125u}) {
    SCOPED_TRACE(reply);
    ws.veTable.lowDensityMapPresent = false;
    nextCase();
    if (reply < 125) replyOverride = Bytes(reply, 7);  // else the simulated ECU's own page
    const vemap::VeTable before = ws.veTable;
    ASSERT_TRUE(commands.readVeMap(kDevice).ok());
    EXPECT_TRUE(commands.busy());
    runToEnd();
    ASSERT_TRUE(result);
    const bool ok = reply == 125;
    EXPECT_EQ(result->ok() && result->changed, ok);
    ASSERT_EQ(link.sessions.size(), 1u);
    EXPECT_EQ(link.sessions[0].writes, std::vector<Bytes>{bytes("V")});
    EXPECT_FALSE(link.isOpen() || commands.busy());
    EXPECT_EQ(ws.veTable.lowDensityMapPresent, ok);
    if (ok) {
      EXPECT_TRUE(ecu::pageMatches(ws.veTable, ecu::SimulatedEcu::builtInPage()));
      EXPECT_TRUE(prompts.asked.empty());
    } else {
      EXPECT_EQ(ws.veTable.ve, before.ve);
      ASSERT_EQ(messages(), std::vector<std::string>{kNoEcu});
      EXPECT_EQ(prompts.asked[0].icon, common::MessageIcon::Exclamation);
    }
  }
}

TEST_F(EcuCommandsTest, SendVerifiesThenBurnsOnlyWhenAskedTo) {
  for (const common::Answer answer : {common::Answer::No, common::Answer::Yes}) {
    SCOPED_TRACE(answer == common::Answer::Yes ? "yes" : "no");
    nextCase();
    prompts.answers = {answer};
    ws.veTable.at(2, 1) = static_cast<std::int16_t>(answer == common::Answer::Yes ? 99 : 98);
    ASSERT_TRUE(commands.sendVeMap(kDevice).ok());
    runToEnd();
    ASSERT_TRUE(result && result->ok() && !result->changed);
    EXPECT_EQ(messages(), std::vector<std::string>{kOfferBurn});
    EXPECT_EQ(prompts.asked[0].buttons, common::MessageButtons::YesNo);
    // The 240 bytes in one write, then a fresh session for the read-back request.
    ASSERT_GE(link.sessions.size(), 2u);
    EXPECT_EQ(link.sessions[0].writes, std::vector<Bytes>{*ecu::encodeVeWrites(ws.veTable)});
    EXPECT_EQ(link.sessions[1].writes, std::vector<Bytes>{bytes("V\r\n")});
    EXPECT_EQ(ecu.ram()[8 * 1 + 2], ws.veTable.at(2, 1));
    if (answer == common::Answer::Yes) {
      ASSERT_EQ(link.sessions.size(), 3u);
      EXPECT_EQ(link.sessions[2].writes, (std::vector<Bytes>{bytes("B"), bytes("C")}));
      EXPECT_EQ(armed, (std::vector{EcuTimer::SendVerify, EcuTimer::Burn}));
      EXPECT_EQ(ecu.flash(), ecu.ram());
    } else {
      EXPECT_EQ(link.sessions.size(), 2u);
      EXPECT_NE(ecu.flash(), ecu.ram());
    }
    EXPECT_FALSE(link.isOpen());
  }
}

TEST_F(EcuCommandsTest, ReadBackDifferencesAndLostRepliesOfferNoBurn) {
  struct Case {
    const char* name;
    std::function<void(EcuCommandsTest&)> arrange;
    const char* message;
  };
  const Case cases[] = {
      {"RPM bin rounded", [](EcuCommandsTest& t) { t.ws.veTable.rpmBins[2] = 1250; },
       kVerifyFailed},
      {"garbled page", [](EcuCommandsTest& t) { t.replyOverride = Bytes(125, 1); }, kVerifyFailed},
      {"short page", [](EcuCommandsTest& t) { t.replyOverride = Bytes(124, 1); }, kNoEcu},
      {"writes stuck", [](EcuCommandsTest& t) { t.link.writeFailure = "Could not send: stuck"; },
       "Could not send: stuck"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ws.veTable.rpmBins[2] = 1500;
    nextCase();
    c.arrange(*this);
    const vemap::VeTable before = ws.veTable;
    ASSERT_TRUE(commands.sendVeMap(kDevice).ok());
    runToEnd();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, CommandStatus::Failed);
    EXPECT_EQ(messages(), std::vector<std::string>{c.message});
    EXPECT_EQ(ws.veTable.rpmBins, before.rpmBins);
    EXPECT_EQ(ws.veTable.ve, before.ve);
    EXPECT_FALSE(link.isOpen() || commands.busy());
  }
}

TEST_F(EcuCommandsTest, CommandsThatCannotStartSendNothing) {
  struct Case {
    const char* name;
    std::function<void(EcuCommandsTest&)> arrange;
    CommandStatus status;
    const char* message;  // message box; empty: a status line only
  };
  const Case cases[] = {
      {"12 x 12", [](EcuCommandsTest& t) { t.ws.veTable.sizeRpm = t.ws.veTable.sizeMap = 12; },
       CommandStatus::Refused, kEcuOnly8x8},
      {"8 x 16", [](EcuCommandsTest& t) { t.ws.veTable.sizeMap = 16; }, CommandStatus::Refused,
       kEcuOnly8x8},
      {"port busy",
       [](EcuCommandsTest& t) { t.link.openFailures[kDevice] = "Device or resource busy"; },
       CommandStatus::Failed, "Could not open /dev/ttyS0: Device or resource busy"},
  };
  for (const Case& c : cases) {
    for (int which = 0; which < 3; ++which) {
      SCOPED_TRACE(std::string(c.name) + " command " + std::to_string(which));
      ws.veTable.sizeRpm = ws.veTable.sizeMap = 8;
      nextCase();
      c.arrange(*this);
      const vemap::VeTable before = ws.veTable;
      const CommandResult r = start(which);
      EXPECT_EQ(r.status, c.status);
      EXPECT_TRUE(link.sessions.empty());
      EXPECT_FALSE(link.isOpen() || commands.busy());
      EXPECT_EQ(messages(), std::vector<std::string>{c.message});
      EXPECT_EQ(ws.veTable.ve, before.ve);
    }
  }
  ws.veTable.sizeRpm = ws.veTable.sizeMap = 8;
  nextCase();
  ws.veTable.at(3, 4) = 256;
  EXPECT_EQ(commands.sendVeMap(kDevice).status, CommandStatus::Refused);
  EXPECT_TRUE(link.sessions.empty());
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].icon, common::MessageIcon::Stop);
  EXPECT_NE(prompts.asked[0].text.find("VE value 256 at 2000 rev/min, 50 kPa"), std::string::npos);
}

TEST_F(EcuCommandsTest, ASecondCommandWaitsForTheFirstToEnd) {
  ASSERT_TRUE(commands.readVeMap(kDevice).ok());
  for (int which = 0; which < 3; ++which) EXPECT_EQ(start(which).status, CommandStatus::Refused);
  EXPECT_EQ(status.lines, std::vector<std::string>(3, kEcuBusy));
  EXPECT_EQ(link.sessions.size(), 1u);
  commands.timerFired(EcuTimer::Burn);  // another command's timer does not end this one
  EXPECT_TRUE(commands.busy());
  runToEnd();
  ASSERT_TRUE(result && result->ok());
  EXPECT_TRUE(commands.readVeMap(kDevice).ok());
}

TEST_F(EcuCommandsTest, BurnEndsSilentlyOnAnyReplyAndComplainsOnNone) {
  for (const bool answered : {true, false}) {
    SCOPED_TRACE(answered);
    nextCase();
    replyOverride = answered ? Bytes{0xFF, 0x00, 0x12} : Bytes{};
    ASSERT_TRUE(commands.burnVeToFlash(kDevice).ok());
    runToEnd();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->ok(), answered);
    EXPECT_EQ(messages(), answered ? std::vector<std::string>{} : std::vector<std::string>{kNoEcu});
  }
}

}  // namespace
}  // namespace tallimar::commands
