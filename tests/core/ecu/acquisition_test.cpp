#include "ecu/acquisition.h"

#include <gtest/gtest.h>

#include <functional>
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
  void close() override {
    m_open = false;
    m_replyAt = -1;
  }
  common::Outcome write(std::span<const std::uint8_t> bytes) override {
    if (!m_open) return common::fail("closed");
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), Bytes(kLiveRequest.begin(), kLiveRequest.end()));
    ++writes;
    if (answer) {
      m_reply = answer();
      m_replyAt = now + replyDelayMs;
    }
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
    while (now < until) {
      ++now;
      if (m_replyAt == now) {
        m_replyAt = -1;
        m_received.insert(m_received.end(), m_reply.begin(), m_reply.end());
        if (m_received.size() >= threshold) notified.push_back(acq.notification());
      }
      if (m_watchdogDue == now) {
        m_watchdogDue = -1;
        if (acq.watchdogTick()) ++watchdogMessages;
      }
      if (m_pollDue == now) {
        m_pollDue = now + pollIntervalMs(50);
        acq.pollTick();
      }
    }
  }
  bool timersOff() const { return m_pollDue < 0 && m_watchdogDue < 0; }

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
  int now = 0;
  int opens = 0;
  int writes = 0;
  int watchdogMessages = 0;
  std::vector<Acquisition::Notified> notified;

 private:
  bool m_open = false;
  Bytes m_received;
  Bytes m_reply;
  int m_replyAt = -1;
  int m_pollDue = -1;
  int m_watchdogDue = -1;
};

TEST(Acquisition, EveryPollIsAnsweredAndShownOneRequestAtATime) {
  for (int delay : {23, 120}) {
    LiveBench bench;
    bench.replyDelayMs = delay;
    ASSERT_TRUE(bench.acq.start().ok());
    EXPECT_FALSE(bench.acq.indicators().startEnabled);
    EXPECT_TRUE(bench.acq.indicators().pauseEnabled);
    bench.runUntil(3000);
    const long samples = bench.acq.indicators().samples;
    EXPECT_GT(samples, 3000 / (50 + delay) - 2) << delay;
    EXPECT_EQ(bench.writes - samples, bench.acq.requestOutstanding() ? 1 : 0) << delay;
    EXPECT_EQ(bench.notified.back().sample->rpmHundreds, 35);
    EXPECT_TRUE(bench.acq.indicators().collecting);
    EXPECT_EQ(bench.watchdogMessages, 0);
  }
}

TEST(Acquisition, WatchdogStopsFiveIntervalsAfterAnUnansweredRequest) {
  LiveBench bench;
  bench.answer = nullptr;
  ASSERT_TRUE(bench.acq.start().ok());
  bench.runUntil(299);  // request at 50, deadline 250 ms later
  EXPECT_TRUE(bench.acq.polling());
  EXPECT_EQ(bench.writes, 1);
  bench.runUntil(300);
  EXPECT_EQ(bench.watchdogMessages, 1);
  EXPECT_FALSE(bench.acq.polling());
  EXPECT_FALSE(bench.isOpen());
  EXPECT_TRUE(bench.timersOff());
  EXPECT_TRUE(bench.acq.indicators().startEnabled);
  EXPECT_FALSE(bench.acq.indicators().pauseEnabled);
  EXPECT_FALSE(bench.acq.indicators().collecting);
  bench.runUntil(2000);
  EXPECT_EQ(bench.writes, 1);
  EXPECT_EQ(bench.watchdogMessages, 1);
}

TEST(Acquisition, PauseAndEmptyReplyStopWithoutMessage) {
  LiveBench bench;
  ASSERT_TRUE(bench.acq.start().ok());
  bench.runUntil(500);
  bench.acq.pause();
  const long samples = bench.acq.indicators().samples;
  EXPECT_FALSE(bench.isOpen());
  EXPECT_TRUE(bench.timersOff());
  EXPECT_FALSE(bench.acq.indicators().collecting);
  EXPECT_FALSE(bench.acq.notification().sample);  // a late report while stopped
  EXPECT_EQ(bench.acq.indicators().samples, samples);

  ASSERT_TRUE(bench.acq.start().ok());
  bench.runUntil(550);  // a request is out
  const Acquisition::Notified empty = bench.acq.notification();
  EXPECT_TRUE(empty.stopped);
  EXPECT_FALSE(empty.restarted);
  EXPECT_FALSE(bench.acq.polling());
  EXPECT_EQ(bench.acq.indicators().samples, samples + 1);
  EXPECT_FALSE(bench.acq.indicators().collecting);
  bench.runUntil(2000);
  EXPECT_EQ(bench.watchdogMessages, 0);
}

TEST(Acquisition, WrongLengthReplyRestartsFromAFreshPort) {
  for (std::size_t length : {1u, 5u, 21u, 23u, 30u}) {
    LiveBench bench;
    bench.threshold = 1;
    int replies = 0;
    bench.answer = [&] { return ++replies == 1 ? Bytes(length, 7) : LiveBench::record(12); };
    ASSERT_TRUE(bench.acq.start().ok());
    bench.runUntil(80);
    ASSERT_EQ(bench.notified.size(), 1u) << length;
    EXPECT_TRUE(bench.notified[0].restarted);
    EXPECT_FALSE(bench.notified[0].sample);
    EXPECT_EQ(bench.opens, 2);
    EXPECT_TRUE(bench.acq.polling());
    bench.runUntil(1000);
    EXPECT_EQ(bench.notified.back().sample->rpmHundreds, 12) << length;
    EXPECT_EQ(bench.watchdogMessages, 0);
  }
}

TEST(Acquisition, PortThatCannotBeOpenedLeavesItStopped) {
  LiveBench bench;
  bench.opensLeft = 0;
  const common::Outcome started = bench.acq.start();
  ASSERT_FALSE(started.ok());
  EXPECT_NE(started.reason().find("/dev/ttyS0"), std::string::npos);
  EXPECT_FALSE(bench.acq.polling());
  EXPECT_TRUE(bench.acq.indicators().startEnabled);
  EXPECT_FALSE(bench.acq.indicators().pauseEnabled);
  bench.runUntil(1000);
  EXPECT_EQ(bench.writes, 0);

  // The restart after a wrong-length reply meets a port that has gone.
  LiveBench gone;
  gone.opensLeft = 1;
  gone.answer = [] { return Bytes(3, 1); };
  gone.threshold = 1;
  ASSERT_TRUE(gone.acq.start().ok());
  gone.runUntil(1000);
  ASSERT_EQ(gone.notified.size(), 1u);
  EXPECT_TRUE(gone.notified[0].stopped);
  EXPECT_NE(gone.notified[0].failure.find("/dev/ttyS0"), std::string::npos);
  EXPECT_TRUE(gone.acq.indicators().startEnabled);
  EXPECT_TRUE(gone.timersOff());
}

}  // namespace
}  // namespace tallimar::ecu
