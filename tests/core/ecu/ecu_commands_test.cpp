// The three ECU commands on an in-memory line with the simulated ECU behind it.
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
using Lines = std::vector<std::string>;
constexpr const char* kDevice = "/dev/ttyS0";

Bytes bytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

class EcuCommandsTest : public ::testing::Test {
 public:
  EcuCommandsTest() {
    ws.veTable.setStartupBins();
    link.responder = [this](std::span<const std::uint8_t> in) {
      Bytes out;
      for (const auto& served : ecu.receive(in, 3.0))
        out.insert(out.end(), served.reply.begin(), served.reply.end());
      return replyOverride ? *replyOverride : out;
    };
  }

  // Runs the event loop: written-out reports, then the armed timer, until the command ends.
  void runToEnd() {
    for (int turn = 0; turn < 10 && !result; ++turn) {
      link.deliver();
      if (!timers.empty()) commands.timerFired(std::exchange(timers, {}).back());
    }
  }

  // Forgets what the previous case did and starts command 0 (read), 1 (send) or 2 (burn).
  CommandResult start(int which) {
    result.reset();
    link.sessions.clear();
    prompts.asked.clear();
    return which == 0   ? commands.readVeMap(kDevice)
           : which == 1 ? commands.sendVeMap(kDevice)
                        : commands.burnVeToFlash(kDevice);
  }

  Lines messages() const {
    Lines texts;
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
  std::optional<CommandResult> result;
  EcuCommands commands{ws, link, prompts, status,
                       EcuCommandHooks{[this](EcuTimer t) { timers.push_back(t); },
                                       [this](CommandResult r) { result = r; }}};
};

// How each command ends on its reply: read takes a whole page only, the read-back of a send
// must match the table, burn takes any reply at all; a failure leaves the table as it was.
TEST_F(EcuCommandsTest, EachCommandEndsOnItsReply) {
  const struct {
    int which;
    std::optional<Bytes> reply;  // none: the simulated ECU's own
    std::string writeFailure;
    const char* message;  // the one message box; none: ended well
  } cases[] = {{0, std::nullopt, "", nullptr},
               {0, Bytes(124, 7), "", kNoEcu},
               {1, Bytes(125, 1), "", kVerifyFailed},
               {1, Bytes(124, 1), "", kNoEcu},
               {1, std::nullopt, "Could not send: stuck", "Could not send: stuck"},
               {2, Bytes{0xFF, 0x00, 0x12}, "", nullptr},
               {2, Bytes{}, "", kNoEcu}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.which << " " << (c.message ? c.message : "ok"));
    ws.veTable.lowDensityMapPresent = false;
    replyOverride = c.reply;
    link.writeFailure = c.writeFailure;
    const vemap::VeTable before = ws.veTable;
    ASSERT_TRUE(start(c.which).ok());
    runToEnd();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->ok(), !c.message);
    EXPECT_EQ(messages(), c.message ? Lines{c.message} : Lines{});
    EXPECT_FALSE(link.isOpen() || commands.busy());
    const bool read = c.which == 0 && !c.message;
    EXPECT_EQ(result->changed && ws.veTable.lowDensityMapPresent, read);
    if (read) {
      EXPECT_TRUE(ecu::pageMatches(ws.veTable, ecu::SimulatedEcu::builtInPage()));
    } else {
      EXPECT_EQ(ws.veTable.ve, before.ve);
    }
  }
}

TEST_F(EcuCommandsTest, SendVerifiesThenBurnsOnlyWhenAskedTo) {
  for (const common::Answer answer : {common::Answer::No, common::Answer::Yes}) {
    const bool yes = answer == common::Answer::Yes;
    SCOPED_TRACE(yes);
    prompts.answers = {answer};
    ws.veTable.at(2, 1) = static_cast<std::int16_t>(yes ? 99 : 98);
    ASSERT_TRUE(start(1).ok());
    runToEnd();
    ASSERT_TRUE(result && result->ok() && !result->changed);
    EXPECT_EQ(messages(), Lines{kOfferBurn});
    EXPECT_EQ(prompts.asked[0].buttons, common::MessageButtons::YesNo);
    // The 240 bytes in one write, then a fresh session for the read-back request.
    ASSERT_EQ(link.sessions.size(), yes ? 3u : 2u);
    EXPECT_EQ(link.sessions[0].writes, std::vector<Bytes>{*ecu::encodeVeWrites(ws.veTable)});
    EXPECT_EQ(link.sessions[1].writes, std::vector<Bytes>{bytes("V\r\n")});
    EXPECT_EQ(ecu.ram()[8 * 1 + 2], ws.veTable.at(2, 1));
    EXPECT_EQ(ecu.flash() == ecu.ram(), yes);
    if (yes) {
      EXPECT_EQ(link.sessions[2].writes, (std::vector<Bytes>{bytes("B"), bytes("C")}));
    }
    EXPECT_FALSE(link.isOpen());
  }
}

// A table the ECU cannot hold, a value that does not fit a byte or a port that will not open:
// nothing goes out and the table stays.
TEST_F(EcuCommandsTest, CommandsThatCannotStartSendNothing) {
  const struct {
    std::int16_t sizeMap;
    std::int16_t ve;  // at RPM bin 3, MAP bin 4; past a byte only Send refuses it
    const char* openFailure;
    CommandStatus status;
    const char* message;  // part of the one message box
  } cases[] = {{16, 0, "", CommandStatus::Refused, kEcuOnly8x8},
               {8, 0, "Device or resource busy", CommandStatus::Failed,
                "Could not open /dev/ttyS0: Device or resource busy"},
               {8, 256, "", CommandStatus::Refused, "VE value 256 at 2000 rev/min, 50 kPa"}};
  for (const auto& c : cases) {
    ws.veTable.sizeRpm = 8;
    ws.veTable.sizeMap = c.sizeMap;
    ws.veTable.at(3, 4) = c.ve;
    link.openFailures.clear();
    if (*c.openFailure) link.openFailures[kDevice] = c.openFailure;
    const vemap::VeTable before = ws.veTable;
    for (int which = c.ve > 255 ? 1 : 0; which < (c.ve > 255 ? 2 : 3); ++which) {
      SCOPED_TRACE(testing::Message() << c.message << " command " << which);
      EXPECT_EQ(start(which).status, c.status);
      EXPECT_TRUE(link.sessions.empty());
      EXPECT_FALSE(link.isOpen() || commands.busy());
      ASSERT_EQ(messages().size(), 1u);
      EXPECT_NE(messages()[0].find(c.message), std::string::npos) << messages()[0];
      EXPECT_EQ(ws.veTable.ve, before.ve);
    }
  }
}

TEST_F(EcuCommandsTest, ASecondCommandWaitsForTheFirstToEnd) {
  ASSERT_TRUE(start(0).ok());
  ASSERT_EQ(link.sessions.size(), 1u);
  EXPECT_EQ(link.sessions[0].writes, std::vector<Bytes>{bytes("V")});
  for (int which = 0; which < 3; ++which) EXPECT_EQ(start(which).status, CommandStatus::Refused);
  EXPECT_EQ(status.lines, Lines(3, kEcuBusy));
  EXPECT_TRUE(link.sessions.empty());
  commands.timerFired(EcuTimer::Burn);  // another command's timer does not end this one
  EXPECT_TRUE(commands.busy());
  runToEnd();
  ASSERT_TRUE(result && result->ok());
  EXPECT_TRUE(commands.readVeMap(kDevice).ok());
}

}  // namespace
}  // namespace tallimar::commands
