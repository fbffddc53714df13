// The serial sequences of Read VE Map, Send VE Map (with its read-back) and Burn RAM to Flash.
#include "ecu/ve_exchange.h"

#include <array>

namespace tallimar::ecu {
namespace {

constexpr std::array<std::uint8_t, 1> kRead{'V'};
constexpr std::array<std::uint8_t, 3> kVerifyRead{'V', 0x0D, 0x0A};
constexpr std::array<std::uint8_t, 1> kBurn{'B'};
constexpr std::array<std::uint8_t, 1> kTest{'C'};

}  // namespace

VeExchange::VeExchange(SerialLink& link, std::function<void(common::Outcome)> requestOut)
    : m_link(link), m_requestOut(std::move(requestOut)) {}

VeExchange::~VeExchange() { abandon(); }

common::Outcome VeExchange::begin(ExchangeKind kind, const std::string& device) {
  if (m_kind != ExchangeKind::None)
    return common::fail("Another MegaSquirt command is still waiting for its reply");
  if (common::Outcome opened = m_link.open(device); !opened) {
    m_link.close();
    return opened;
  }
  m_kind = kind;
  m_device = device;
  ++m_generation;
  return {};
}

common::Outcome VeExchange::send(std::span<const std::uint8_t> bytes) {
  common::Outcome written = m_link.write(bytes);
  if (!written) abandon();
  return written;
}

common::Outcome VeExchange::beginRead(const std::string& device) {
  if (common::Outcome ok = begin(ExchangeKind::Read, device); !ok) return ok;
  if (common::Outcome ok = send(kRead); !ok) return ok;
  m_awaitingTick = true;
  if (m_requestOut) m_requestOut({});
  return {};
}

common::Outcome VeExchange::beginBurn(const std::string& device) {
  if (common::Outcome ok = begin(ExchangeKind::Burn, device); !ok) return ok;
  if (common::Outcome ok = send(kBurn); !ok) return ok;
  if (common::Outcome ok = send(kTest); !ok) return ok;
  m_awaitingTick = true;
  if (m_requestOut) m_requestOut({});
  return {};
}

common::Outcome VeExchange::beginSendVerify(const std::string& device,
                                            std::span<const std::uint8_t> writes) {
  if (common::Outcome ok = begin(ExchangeKind::SendVerify, device); !ok) return ok;
  if (common::Outcome ok = send(writes); !ok) return ok;
  // Closing the port before the writes have left would cut them off: the read-back would
  // then see a half-written table.
  const int generation = m_generation;
  m_link.whenWritten([this, generation](common::Outcome outcome) {
    if (generation == m_generation && m_kind == ExchangeKind::SendVerify && !m_awaitingTick)
      writesLeft(std::move(outcome));
  });
  return {};
}

void VeExchange::writesLeft(common::Outcome outcome) {
  if (outcome) {
    m_link.close();  // the reopen discards anything the ECU sent meanwhile
    outcome = m_link.open(m_device);
    if (outcome) outcome = m_link.write(kVerifyRead);
  }
  if (!outcome) {
    abandon();
  } else {
    m_awaitingTick = true;
  }
  if (m_requestOut) m_requestOut(std::move(outcome));
}

std::vector<std::uint8_t> VeExchange::tick() {
  if (!m_awaitingTick) return {};
  std::vector<std::uint8_t> reply = m_link.takeAll();
  abandon();
  return reply;
}

void VeExchange::abandon() {
  m_link.close();
  m_kind = ExchangeKind::None;
  m_awaitingTick = false;
  ++m_generation;
}

}  // namespace tallimar::ecu
