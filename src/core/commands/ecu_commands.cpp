// Read VE Map, Send VE Map and Burn RAM to Flash: the guard, the messages and what a reply
// does to the VE table.
#include "commands/ecu_commands.h"

#include "ecu/ve_page.h"

namespace tallimar::commands {
namespace {

using common::MessageButtons;
using common::MessageIcon;

constexpr const char* kTitle = "Tallimar";

}  // namespace

EcuCommands::EcuCommands(workspace::Workspace& workspace, ecu::SerialLink& link,
                         common::Prompts& prompts, common::StatusLog& status, EcuCommandHooks hooks)
    : m_ws(workspace),
      m_prompts(prompts),
      m_status(status),
      m_hooks(std::move(hooks)),
      m_exchange(link, [this](common::Outcome outcome) { requestOut(outcome); }) {}

void EcuCommands::message(const std::string& text, MessageIcon icon) {
  m_prompts.message(kTitle, text, MessageButtons::Ok, icon);
}

// Nothing is opened or sent while another command waits for its reply, nor for a table the
// ECU cannot hold.
CommandResult EcuCommands::refusedWhileBusyOrNot8x8() {
  if (busy()) {
    m_status.append(kEcuBusy);
    return CommandResult::refused();
  }
  if (!ecu::isEcuSized(m_ws.veTable)) {
    message(kEcuOnly8x8, MessageIcon::Stop);
    return CommandResult::refused();
  }
  return CommandResult::done();
}

CommandResult EcuCommands::started(const common::Outcome& outcome) {
  if (outcome) return CommandResult::done();
  message(outcome.reason(), MessageIcon::Exclamation);
  return CommandResult::failed();
}

CommandResult EcuCommands::readVeMap(const std::string& device) {
  if (CommandResult guard = refusedWhileBusyOrNot8x8(); !guard.ok()) return guard;
  m_device = device;
  return started(m_exchange.beginRead(device));
}

CommandResult EcuCommands::sendVeMap(const std::string& device) {
  if (CommandResult guard = refusedWhileBusyOrNot8x8(); !guard.ok()) return guard;
  const auto writes = ecu::encodeVeWrites(m_ws.veTable);
  if (!writes) {
    message(writes.reason(), MessageIcon::Stop);
    return CommandResult::refused();
  }
  m_device = device;
  return started(m_exchange.beginSendVerify(device, *writes));
}

CommandResult EcuCommands::burnVeToFlash(const std::string& device) {
  if (CommandResult guard = refusedWhileBusyOrNot8x8(); !guard.ok()) return guard;
  return startBurn(device);
}

CommandResult EcuCommands::startBurn(const std::string& device) {
  m_device = device;
  return started(m_exchange.beginBurn(device));
}

void EcuCommands::requestOut(const common::Outcome& outcome) {
  if (!outcome) {
    // The writes of a send never left the port, or the read-back could not be asked for.
    message(outcome.reason(), MessageIcon::Exclamation);
    finish(CommandResult::failed());
    return;
  }
  switch (m_exchange.kind()) {
    case ecu::ExchangeKind::Read:
      m_hooks.startTimer(EcuTimer::Read);
      break;
    case ecu::ExchangeKind::SendVerify:
      m_hooks.startTimer(EcuTimer::SendVerify);
      break;
    case ecu::ExchangeKind::Burn:
      m_hooks.startTimer(EcuTimer::Burn);
      break;
    case ecu::ExchangeKind::None:
      break;
  }
}

void EcuCommands::timerFired(EcuTimer timer) {
  if (!m_exchange.awaitingTick()) return;
  const ecu::ExchangeKind kind = m_exchange.kind();
  const bool ours = (timer == EcuTimer::Read && kind == ecu::ExchangeKind::Read) ||
                    (timer == EcuTimer::SendVerify && kind == ecu::ExchangeKind::SendVerify) ||
                    (timer == EcuTimer::Burn && kind == ecu::ExchangeKind::Burn);
  if (!ours) return;
  const std::vector<std::uint8_t> reply = m_exchange.tick();  // the port is closed now
  switch (kind) {
    case ecu::ExchangeKind::Read:
      finish(readReply(reply));
      break;
    case ecu::ExchangeKind::SendVerify:
      // A confirmed burn goes on at once; it reports the end of the whole command.
      if (const CommandResult verified = verifyReply(reply); !verified.ok() || !m_burnAsked) {
        finish(verified);
      } else if (const CommandResult burn = startBurn(m_device); !burn.ok()) {
        finish(burn);
      }
      break;
    case ecu::ExchangeKind::Burn:
      finish(burnReply(reply));
      break;
    case ecu::ExchangeKind::None:
      break;
  }
}

CommandResult EcuCommands::readReply(const std::vector<std::uint8_t>& reply) {
  vemap::VeTable& table = m_ws.veTable;
  if (!ecu::decodeVePage(reply, table)) {
    message(kNoEcu, MessageIcon::Exclamation);
    return CommandResult::failed();
  }
  table.lowDensityMapPresent = true;
  return CommandResult::done(true);
}

// Done when the ECU holds the table; m_burnAsked then says whether the user wants it burnt.
CommandResult EcuCommands::verifyReply(const std::vector<std::uint8_t>& reply) {
  m_burnAsked = false;
  if (reply.size() < ecu::kPageReplyBytes) {
    message(kNoEcu, MessageIcon::Exclamation);
    return CommandResult::failed();
  }
  if (!ecu::pageMatches(m_ws.veTable, reply)) {
    message(kVerifyFailed, MessageIcon::None);
    return CommandResult::failed();
  }
  const common::Answer answer =
      m_prompts.message(kTitle, kOfferBurn, MessageButtons::YesNo, MessageIcon::None);
  m_burnAsked = answer == common::Answer::Yes;
  return CommandResult::done();
}

CommandResult EcuCommands::burnReply(const std::vector<std::uint8_t>& reply) {
  // Any reply at all shows the ECU is there; its content is not examined.
  if (reply.empty()) {
    message(kNoEcu, MessageIcon::Exclamation);
    return CommandResult::failed();
  }
  return CommandResult::done();
}

void EcuCommands::finish(CommandResult result) {
  if (m_hooks.finished) m_hooks.finished(result);
}

}  // namespace tallimar::commands
