// Fuzz target of what the program takes from the serial line: the VE page of "Read VE Map",
// the real-time record of the live window, and the simulated ECU's command parser.
#include <algorithm>
#include <vector>

#include "commands/ecu_commands.h"
#include "common/scripted_prompts.h"
#include "ecu/acquisition.h"
#include "ecu/memory_serial_link.h"
#include "ecu/realtime_record.h"
#include "ecu/simulated_ecu.h"
#include "ecu/ve_page.h"
#include "fuzz_targets.h"
#include "workspace/workspace.h"

namespace tallimar::fuzz {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct NoTimers : ecu::LiveTimers {
  void setEnabled(ecu::LiveTimer, bool) override {}
};

// "Read VE Map" answered with the bytes: a short reply leaves the table as it was; a page
// becomes a table that matches the page, sends as the page's bytes and reads back alike.
void checkReadVeMap(const Bytes& reply) {
  static workspace::Workspace ws;  // large (the raw data map): made once
  ws.veTable = {};
  ws.veTable.setStartupBins();
  for (int r = 0; r < 8; ++r)
    for (int m = 0; m < 8; ++m) ws.veTable.at(r, m) = static_cast<std::int16_t>(300 + r + m);
  const vemap::VeTable before = ws.veTable;
  ecu::MemorySerialLink link;
  link.responder = [&](std::span<const std::uint8_t>) { return reply; };
  common::ScriptedPrompts prompts;
  common::VectorStatusLog log;
  commands::EcuCommands commands(ws, link, prompts, log, {[](commands::EcuTimer) {}, nullptr});
  FUZZ_CHECK(commands.readVeMap("/dev/ttyS0").ok());
  commands.timerFired(commands::EcuTimer::Read);
  const vemap::VeTable& table = ws.veTable;
  if (reply.size() < ecu::kPageReplyBytes) {
    FUZZ_CHECK(table.ve == before.ve && table.rpmBins == before.rpmBins &&
               table.mapBins == before.mapBins && !table.lowDensityMapPresent);
    FUZZ_CHECK(prompts.asked.size() == 1);
    return;
  }
  FUZZ_CHECK(table.lowDensityMapPresent && ecu::pageMatches(table, reply));
  const auto writes = ecu::encodeVeWrites(table);
  FUZZ_CHECK(writes.ok());
  ecu::EcuPage blank{};
  ecu::SimulatedEcu device(blank);
  device.receive(*writes, 0);
  vemap::VeTable again = before;  // the page replaces its 8 x 8 corner, as it did before
  FUZZ_CHECK(ecu::decodeVePage(device.ram(), again));
  FUZZ_CHECK(again.ve == table.ve && again.rpmBins == table.rpmBins &&
             again.mapBins == table.mapBins);
}

// The live window's poll answered with the bytes: only a reply of exactly 22 bytes is shown,
// and its lamps are the status byte's bits.
void checkLiveReply(const Bytes& reply) {
  ecu::CountTable identity;
  for (std::size_t i = 0; i < identity.size(); ++i) identity[i] = static_cast<std::int16_t>(i);
  ecu::MemorySerialLink link;
  link.responder = [&](std::span<const std::uint8_t>) { return reply; };
  NoTimers timers;
  ecu::Acquisition live(link, timers, "/dev/ttyS0", {identity, identity, identity});
  FUZZ_CHECK(live.start().ok());
  live.pollTick();
  const auto notified = live.notification();
  FUZZ_CHECK(notified.sample.has_value() == (reply.size() == ecu::kLiveRecordBytes));
  FUZZ_CHECK(notified.stopped == reply.empty() && live.polling() == !reply.empty());
  if (!notified.sample) return;
  const ecu::LiveSample& s = *notified.sample;
  FUZZ_CHECK(s.status == reply[2] && s.running == ((reply[2] & 1) != 0) &&
             s.cranking == ((reply[2] & 2) != 0) && s.afterstart == ((reply[2] & 4) != 0) &&
             s.warmup == ((reply[2] & 8) != 0));
  FUZZ_CHECK(s.o2Volts >= 0 && s.o2Volts < 5 && s.mapKpa == reply[4]);
}

// The simulated ECU serves the same commands however the bytes are split.
void checkSplitCommands(const Bytes& bytes) {
  ecu::SimulatedEcu whole;
  const auto servedWhole = whole.receive(bytes, 3.0);
  ecu::SimulatedEcu split;
  const std::size_t cut = bytes.empty() ? 0 : bytes[0] % (bytes.size() + 1);
  auto served = split.receive(std::span(bytes).first(cut), 3.0);
  const auto rest = split.receive(std::span(bytes).subspan(cut), 3.0);
  served.insert(served.end(), rest.begin(), rest.end());
  FUZZ_CHECK(served.size() == servedWhole.size() && split.ram() == whole.ram() &&
             split.flash() == whole.flash());
  for (std::size_t i = 0; i < served.size(); ++i)
    FUZZ_CHECK(served[i].command == servedWhole[i].command &&
               served[i].reply == servedWhole[i].reply);
}

}  // namespace

int fuzzEcuReplies(const std::uint8_t* data, std::size_t size) {
  const Bytes bytes(data, data + size);
  checkReadVeMap(bytes);
  checkLiveReply(bytes);
  checkSplitCommands(bytes);
  return 0;
}

}  // namespace tallimar::fuzz
