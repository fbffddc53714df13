// The "MS CPU" commands of the "Modify VE Map" window: Read VE Map, Send VE Map (with its
// read-back and the offer to burn) and Burn RAM to Flash, over one SerialLink. Each command
// opens the port, sends its request and asks its owner to start a one-shot reply timer
// ("Timer1" read, "Timer2" send and verify, "Timer3" burn; "DataRate" x 5 ms); the owner
// calls timerFired when it fires, and the command ends there with its message boxes.
//
// A start returns Refused or Failed when the command ended at once (finished is then not
// called), or Done when its request is on its way: finished then reports the end, exactly
// once. Only one command runs at a time.
#pragma once

#include <functional>
#include <string>

#include "commands/command_result.h"
#include "common/prompts.h"
#include "common/status_log.h"
#include "ecu/serial_link.h"
#include "ecu/ve_exchange.h"
#include "workspace/workspace.h"

namespace tallimar::commands {

// The reply timers, numbered as the window names them.
enum class EcuTimer { Read = 1, SendVerify = 2, Burn = 3 };

inline constexpr const char* kEcuOnly8x8 =
    "This function only works wth the Standard Code and an 8x8 map";
inline constexpr const char* kNoEcu = "Could not connnect to MegaSquirt";
inline constexpr const char* kVerifyFailed =
    "DataError, MegaSquirt did not receive VE table correctly";
inline constexpr const char* kOfferBurn =
    "VE map sent to RAM and verified. Do you wish to burn map to flash also?";
inline constexpr const char* kEcuBusy = "Another MegaSquirt command is still waiting for its reply";

struct EcuCommandHooks {
  // Start the one-shot timer; call timerFired(timer) when it fires.
  std::function<void(EcuTimer)> startTimer;
  // A started command ended. changed: the VE table was replaced (redisplay it).
  std::function<void(CommandResult)> finished;
};

class EcuCommands {
 public:
  // The references must outlive the commands.
  EcuCommands(workspace::Workspace& workspace, ecu::SerialLink& link, common::Prompts& prompts,
              common::StatusLog& status, EcuCommandHooks hooks);

  // `mnuReadVEMap`, `mnuWriteVEMap`, `mnuBurnVEtoFlash` on the given serial device.
  CommandResult readVeMap(const std::string& device);
  CommandResult sendVeMap(const std::string& device);
  CommandResult burnVeToFlash(const std::string& device);

  // The reply timer fired: takes the reply, closes the port and ends or chains the command.
  void timerFired(EcuTimer timer);

  // A command is under way (its request out or its writes still leaving).
  bool busy() const { return m_exchange.kind() != ecu::ExchangeKind::None; }

 private:
  CommandResult refusedWhileBusyOrNot8x8();
  CommandResult started(const common::Outcome& outcome);
  CommandResult startBurn(const std::string& device);
  void requestOut(const common::Outcome& outcome);
  CommandResult readReply(const std::vector<std::uint8_t>& reply);
  CommandResult verifyReply(const std::vector<std::uint8_t>& reply);
  CommandResult burnReply(const std::vector<std::uint8_t>& reply);
  void finish(CommandResult result);
  void message(const std::string& text, common::MessageIcon icon);

  workspace::Workspace& m_ws;
  common::Prompts& m_prompts;
  common::StatusLog& m_status;
  EcuCommandHooks m_hooks;
  ecu::VeExchange m_exchange;
  std::string m_device;
  bool m_burnAsked = false;  // the user answered Yes to the burn after a verified send
};

}  // namespace tallimar::commands
