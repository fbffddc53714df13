// VeExchange: the serial side of the three VE table commands, as a small state machine over
// a SerialLink and a one-shot reply tick. A command opens the port and sends its request;
// when its request is out the owner arms a one-shot timer; on the tick the reply is taken in
// one piece and the port closed. There is no polling, no checksum and no retry.
//
//   Read:        open, "V"                                   -> tick -> page
//   Send+verify: open, 80 x "W" offset value (240 bytes), wait until every byte has left the
//                port, close, open, "V" CR LF (one write)    -> tick -> page to compare
//   Burn:        open, "B", "C" (two writes)                 -> tick -> any byte
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "common/expected.h"
#include "ecu/serial_link.h"

namespace tallimar::ecu {

enum class ExchangeKind { None, Read, SendVerify, Burn };

class VeExchange {
 public:
  // requestOut is called when the request that the tick answers has gone out (ok: arm the
  // timer now) or when a send failed after begin returned (the port is then closed and the
  // exchange idle). For a read and a burn it is called from within begin.
  VeExchange(SerialLink& link, std::function<void(common::Outcome)> requestOut);
  ~VeExchange();
  VeExchange(const VeExchange&) = delete;
  VeExchange& operator=(const VeExchange&) = delete;

  // Each begin is refused while another exchange is under way, and when the port cannot be
  // opened or written (the port is then closed again). The writes of beginSendVerify are the
  // 240 bytes of encodeVeWrites.
  common::Outcome beginRead(const std::string& device);
  common::Outcome beginSendVerify(const std::string& device, std::span<const std::uint8_t> writes);
  common::Outcome beginBurn(const std::string& device);

  // The exchange under way, or None when idle.
  ExchangeKind kind() const { return m_kind; }
  // True once the request is out and the reply tick is awaited.
  bool awaitingTick() const { return m_awaitingTick; }

  // The one-shot tick: takes every byte received, closes the port and ends the exchange.
  // Without an exchange awaiting its tick nothing happens and the result is empty.
  std::vector<std::uint8_t> tick();

  // Drops an exchange under way (the window closes): port closed, nothing reported.
  void abandon();

 private:
  common::Outcome begin(ExchangeKind kind, const std::string& device);
  common::Outcome send(std::span<const std::uint8_t> bytes);
  void writesLeft(common::Outcome outcome);

  SerialLink& m_link;
  std::function<void(common::Outcome)> m_requestOut;
  ExchangeKind m_kind = ExchangeKind::None;
  bool m_awaitingTick = false;
  std::string m_device;
  int m_generation = 0;  // tells a late written-out report of an abandoned send from a live one
};

}  // namespace tallimar::ecu
