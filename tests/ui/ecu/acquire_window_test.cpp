// The live-data window on an in-memory line, with its real timers, and its opening from the
// main window.
#include "ui/ecu/acquire_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "common/scripted_prompts.h"
#include "common/twips.h"
#include "ui/app/main_window_fixture.h"
#include "program_windows.h"
#include "ui/ecu/analog_gauge.h"

namespace tallimar::ui {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A line whose device answers each request with `reply` a few milliseconds later, through
// the event loop as a port would.
class FakeLine : public ecu::SerialLink {
 public:
  struct Shared {
    Bytes reply;
    bool openFails = false;
    int writes = 0;
  };
  explicit FakeLine(Shared& shared) : m_shared(shared) {}
  common::Outcome open(const std::string& device) override {
    if (m_shared.openFails) return common::fail("Could not open " + device + ": No such file");
    m_open = true;
    return {};
  }
  bool isOpen() const override { return m_open; }
  void close() override { m_open = false; }
  common::Outcome write(std::span<const std::uint8_t>) override {
    ++m_shared.writes;
    if (!m_shared.reply.empty())
      QTimer::singleShot(3, &m_context, [this] {
        if (!m_open) return;
        m_received = m_shared.reply;
        if (m_ready && m_received.size() >= m_count) m_ready();
      });
    return {};
  }
  void whenWritten(std::function<void(common::Outcome)>) override {}
  Bytes takeAll() override { return std::exchange(m_received, {}); }
  void notifyWhenWaiting(std::size_t count, std::function<void()> ready) override {
    m_count = count;
    m_ready = std::move(ready);
  }

 private:
  Shared& m_shared;
  QObject m_context;
  bool m_open = false;
  Bytes m_received;
  std::size_t m_count = 0;
  std::function<void()> m_ready;
};

class AcquireWindowTest : public ::testing::Test {
 protected:
  AcquireWindowTest() {
    workspace.settings.dataRate = 10;
    workspace.factors.setIdentity();
    workspace.factors[files::FactorKind::Thermistor][77] = 120;
    line.reply = Bytes(ecu::kLiveRecordBytes, 0);
    line.reply[2] = 0x05;
    line.reply[4] = 95;
    line.reply[6] = 77;
    line.reply[9] = 128;
    line.reply[13] = 35;
    line.reply[19] = 7;
  }
  AcquireWindow& open() {
    AcquireWindowHooks hooks;
    hooks.closed = [this] { ++closedCalls; };
    hooks.makeLink = [this] { return std::make_unique<FakeLine>(line); };
    window = new AcquireWindow(workspace, store, prompts, std::move(hooks));
    window->show();
    return *window;
  }
  void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
  }
  template <class T>
  T* child(const char* name, int index = -1) {
    for (T* found : window->findChildren<T*>(name))
      if (index < 0 || found->property("index").toInt() == index) return found;
    return nullptr;
  }
  QString text(const char* name, int index = -1) { return child<QLineEdit>(name, index)->text(); }
  bool enabled(const char* name, int index = -1) {
    return child<QWidget>(name, index)->isEnabled();
  }
  Lines messages() {
    Lines texts;
    for (const auto& question : prompts.asked)
      if (question.kind == "message") texts.push_back(question.text);
    return texts;
  }

  workspace::Workspace workspace;
  settings::MemorySettingsStore store;
  common::ScriptedPrompts prompts;
  FakeLine::Shared line;
  QPointer<AcquireWindow> window;
  int closedCalls = 0;
};

TEST_F(AcquireWindowTest, PollsAndShowsRecordsUntilPaused) {
  open();
  EXPECT_FALSE(enabled("cmdPauseToggle"));
  child<QPushButton>("cmdStartComm")->click();
  EXPECT_FALSE(enabled("cmdStartComm"));
  runFor(200);
  const int samples = text("Text2").toInt();
  EXPECT_GE(samples, 5);
  EXPECT_LE(line.writes - samples, 1);
  EXPECT_EQ(text("txtDataCollector"), "YES");
  EXPECT_DOUBLE_EQ(window->gauge(ecu::LiveGauge::Map)->value(), 95);
  EXPECT_DOUBLE_EQ(window->gauge(ecu::LiveGauge::Coolant)->value(), 80);
  EXPECT_DOUBLE_EQ(window->gauge(ecu::LiveGauge::Rpm)->value(), 35);
  EXPECT_DOUBLE_EQ(window->gauge(ecu::LiveGauge::O2)->value(), 1);  // 2.5 V, clamped
  EXPECT_EQ(window->gauge(ecu::LiveGauge::O2)->model().readOut().text, "2.50");
  EXPECT_EQ(text("txtVEBins", 0), "O2-2 7");
  EXPECT_EQ(text("txtVEBins", 1), "O2En 0");
  EXPECT_TRUE(enabled("txtStatus", 2));   // Running
  EXPECT_TRUE(enabled("txtStatus", 3));   // Afterstart
  EXPECT_FALSE(enabled("txtStatus", 1));  // Cranking
  EXPECT_FALSE(enabled("txtStatus", 4));  // Warmup

  child<QPushButton>("cmdPauseToggle")->click();
  const int writes = line.writes;
  runFor(60);
  EXPECT_EQ(line.writes, writes);
  EXPECT_EQ(text("txtDataCollector"), "NO");
  EXPECT_TRUE(enabled("cmdStartComm"));
  EXPECT_TRUE(messages().empty());
  window->close();
}

TEST_F(AcquireWindowTest, PortThatCannotOpenIsReportedAndCloseCallsBackOnce) {
  line.openFails = true;
  store.save("MegaSquirt", "Settings", "ComDevice1", "/dev/ttyUSB7");
  open();
  child<QPushButton>("cmdStartComm")->click();
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_NE(messages()[0].find("/dev/ttyUSB7"), std::string::npos);
  EXPECT_TRUE(enabled("cmdStartComm"));
  EXPECT_FALSE(enabled("cmdPauseToggle"));
  child<QPushButton>("cmdClose")->click();
  QApplication::processEvents();
  EXPECT_EQ(closedCalls, 1);
}

class AcquireFromMainWindow : public MainWindowFixture {};

TEST_F(AcquireFromMainWindow, OpensPlacedWithMenusOffAndClosingEnablesThem) {
  startWithoutLanguages();
  connectProgramWindows(*window);
  window->show();
  entry("mnuCPUAcquire")->trigger();
  auto* acquire = window->findChild<AcquireWindow*>(AcquireWindow::kWindowName);
  ASSERT_NE(acquire, nullptr);
  EXPECT_TRUE(acquire->isVisible());
  EXPECT_FALSE(entry("mnuExit")->isEnabled());
  EXPECT_TRUE(entry("mnuCreateWBFactor")->isEnabled());
  const QRect main = window->frameGeometry();
  EXPECT_EQ(acquire->pos().y(), main.top() + common::twipsToPixels(300, window->logicalDpiY()));
  acquire->close();  // the title bar's close, not the Close button
  QApplication::processEvents();
  EXPECT_TRUE(entry("mnuExit")->isEnabled());
  EXPECT_TRUE(entry("mnuCPUAcquire")->isEnabled());
}

}  // namespace
}  // namespace tallimar::ui
