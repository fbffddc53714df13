#include "ecu/acquisition.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <vector>

namespace tallimar::ecu {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A line to a device that answers each request after a delay, and the window's two timers,
// on one millisecond clock. Bytes that arrive are reported once `threshold` of them wait.
class LiveBench : public SerialLink, public LiveTimers {
 public:
  LiveBench() : tables{table, table, table}, acq(*this, *this, "/dev/ttyS0", tables) {}

  common::Outcome open(const std::string& device) override {
    if (opensLeft == 0) return common::fail("Could not open " + device + ": no such device");
    if (opensLeft > 0) --opensLeft;
    ++opens;
    m_open = true;
    m_received.clear();
    return {};
  }
  bool isOpen() const override { return m_open; }
  void close() override { m_open = false, m_replyAt = -1; }
  common::Outcome write(std::span<const std::uint8_t> bytes) override {
    EXPECT_TRUE(m_open);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), Bytes(kLiveRequest.begin(), kLiveRequest.end()));
    ++writes;
    if (answer) m_reply = answer(), m_replyAt = now + replyDelayMs;
    return {};
  }
  Bytes takeAll() override { return std::exchange(m_received, {}); }
  void whenWritten(std::function<void(common::Outcome)>) override {}
  void notifyWhenWaiting(std::size_t, std::function<void()>) override {}
  void setEnabled(LiveTimer timer, bool enabled) override {
    const int interval = timer == LiveTimer::Poll ? pollIntervalMs(50) : watchdogIntervalMs(50);
    (timer == LiveTimer::Poll ? m_pollDue : m_watchdogDue) = enabled ? now + interval : -1;
  }

  // Runs the clock up to `until`: in each millisecond a due reply arrives (and is reported),
  // then the watchdog, then the poll timer ticks.
  void runUntil(int until) {
    for (; now < until;) {
      ++now;
      if (m_replyAt == now) {
        m_replyAt = -1;
        m_received.insert(m_received.end(), m_reply.begin(), m_reply.end());
        if (m_received.size() >= threshold) notified.push_back(acq.notification());
      }
      if (m_watchdogDue == now && (m_watchdogDue = -1, acq.watchdogTick())) ++watchdogMessages;
      if (m_pollDue == now) m_pollDue = now + pollIntervalMs(50), acq.pollTick();
    }
  }
  // Stopped: no timers, port closed, Start offered and nothing collected.
  void expectStopped() const {
    EXPECT_TRUE(m_pollDue < 0 && m_watchdogDue < 0 && !m_open && !acq.polling());
    const auto& shown = acq.indicators();
    EXPECT_TRUE(shown.startEnabled && !shown.pauseEnabled && !shown.collecting);
  }

  static Bytes record(std::uint8_t rpm) {
    Bytes r(kLiveRecordBytes, 0);
    r[13] = rpm;
    return r;
  }

  CountTable table{};
  LiveFactorTables tables;
  Acquisition acq;
  std::function<Bytes()> answer = [] { return record(35); };
  int replyDelayMs = 23;  // 22 bytes at 9600 baud
  std::size_t threshold = kLiveRecordBytes;
  int opensLeft = -1;  // opens that succeed before every further one fails; -1 all
  int now = 0, opens = 0, writes = 0, watchdogMessages = 0;
  std::vector<Acquisition::Notified> notified;

 private:
  bool m_open = false;
  Bytes m_received, m_reply;
  int m_replyAt = -1, m_pollDue = -1, m_watchdogDue = -1;
};

TEST(LiveRecord, DecodesThroughTheFactorTablesAndRefusesEveryOtherLength) {
  CountTable kpa{}, thermistor{}, throttle{};
  kpa[100] = 95;
  thermistor[77] = 40;  // 40 - 40: 0 degrees
  throttle[51] = 20;
  constexpr std::uint8_t x = 0xEE;  // a byte the record does not use
  const Bytes record{x, x, 0x05, x, 100, x, 77, 51, x, 128, x, x, x, 35, x, x, x, 104, x, 3, 1, x};
  const auto s = decodeLiveRecord(record, {kpa, thermistor, throttle});
  ASSERT_TRUE(s.ok());
  // Status 0000 0101: running and afterstart, not cranking nor warming up.
  EXPECT_EQ(std::tuple(s->mapKpa, s->coolant, s->throttle, s->o2Volts, s->rpmHundreds, s->gammaE,
                       s->secondO2, s->o2Enable, s->running, s->cranking, s->afterstart, s->warmup),
            std::tuple(95.0, 0.0, 20.0, 2.5, 35.0, 104.0, 3, 1, true, false, true, false));
  EXPECT_EQ(statusDigits(0xFA), "11111010");

  for (std::size_t n : {21u, 23u})
    EXPECT_FALSE(decodeLiveRecord(Bytes(n, 1), {kpa, kpa, kpa}).ok()) << n;
}

TEST(Acquisition, EveryPollIsAnsweredAndShownOneRequestAtATime) {
  for (int delay : {23, 120}) {  // replies faster and slower than the poll interval
    LiveBench bench;
    bench.replyDelayMs = delay;
    ASSERT_TRUE(bench.acq.start().ok());
    bench.runUntil(3000);
    const long samples = bench.acq.indicators().samples;
    EXPECT_GT(samples, 3000 / (50 + delay) - 2) << delay;
    EXPECT_EQ(bench.writes - samples, bench.acq.requestOutstanding() ? 1 : 0) << delay;
    EXPECT_EQ(bench.notified.back().sample->rpmHundreds, 35);
    const auto& shown = bench.acq.indicators();
    EXPECT_TRUE(shown.collecting && shown.pauseEnabled && bench.watchdogMessages == 0);
  }
}

TEST(Acquisition, WatchdogStopsFiveIntervalsAfterAnUnansweredRequest) {
  LiveBench bench;
  bench.answer = nullptr;
  ASSERT_TRUE(bench.acq.start().ok());
  bench.runUntil(299);  // request at 50, deadline 250 ms later
  EXPECT_TRUE(bench.acq.polling());
  bench.runUntil(300);
  EXPECT_EQ(bench.watchdogMessages, 1);
  bench.expectStopped();
}

TEST(Acquisition, PauseAndEmptyReplyStopWithoutMessage) {
  LiveBench bench;
  ASSERT_TRUE(bench.acq.start().ok());
  bench.runUntil(500);
  bench.acq.pause();
  const long samples = bench.acq.indicators().samples;
  bench.expectStopped();
  EXPECT_FALSE(bench.acq.notification().sample);  // a late report while stopped
  EXPECT_EQ(bench.acq.indicators().samples, samples);

  ASSERT_TRUE(bench.acq.start().ok());
  bench.runUntil(550);  // a request is out
  const Acquisition::Notified empty = bench.acq.notification();
  EXPECT_TRUE(empty.stopped && !empty.restarted);
  EXPECT_EQ(bench.acq.indicators().samples, samples + 1);
  bench.runUntil(2000);
  EXPECT_TRUE(!bench.acq.polling() && bench.watchdogMessages == 0);
}

// A reply of the wrong length restarts from a freshly opened port; a port gone by then stops.
TEST(Acquisition, WrongLengthReplyRestartsFromAFreshPortIfItOpens) {
  for (const auto& [length, opensLeft] : {std::pair{21u, -1}, {23u, -1}, {3u, 1}}) {
    SCOPED_TRACE(length);
    LiveBench bench;
    bench.threshold = 1;
    bench.opensLeft = opensLeft;
    int replies = 0;
    bench.answer = [&] { return ++replies == 1 ? Bytes(length, 7) : LiveBench::record(12); };
    ASSERT_TRUE(bench.acq.start().ok());
    bench.runUntil(1000);
    const Acquisition::Notified first = bench.notified.at(0);
    EXPECT_TRUE(first.restarted && !first.sample);
    EXPECT_EQ(first.stopped, opensLeft == 1);
    EXPECT_EQ(bench.watchdogMessages, 0);
    if (first.stopped) {
      EXPECT_NE(first.failure.find("/dev/ttyS0"), std::string::npos);
      bench.expectStopped();
    } else {
      EXPECT_EQ(bench.opens, 2);
      EXPECT_EQ(bench.notified.back().sample->rpmHundreds, 12);
    }
  }
}

}  // namespace
}  // namespace tallimar::ecu
