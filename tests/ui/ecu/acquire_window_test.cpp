// The live-data window on an in-memory line, with its real timers, and its opening from the
// main window.
#include "ui/ecu/acquire_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "common/scripted_prompts.h"
#include "ecu/memory_serial_link.h"
#include "program_windows.h"
#include "ui/app/main_window_fixture.h"
#include "ui/ecu/analog_gauge.h"

namespace tallimar::ui {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The in-memory line, its replies delivered from the event loop as a port's would be.
class TimedLine : public ecu::MemorySerialLink {
 public:
  TimedLine() {
    QObject::connect(&m_tick, &QTimer::timeout, [this] { deliver(); });
    m_tick.start(3);
  }
  int writes() const {
    int n = 0;
    for (const Session& s : sessions) n += static_cast<int>(s.writes.size());
    return n;
  }

 private:
  QTimer m_tick;
};

class AcquireWindowTest : public ::testing::Test {
 protected:
  AcquireWindowTest() {
    workspace.settings.dataRate = 10;
    workspace.factors.setIdentity();
    workspace.factors[formats::FactorKind::Thermistor][77] = 120;
    reply = Bytes(ecu::kLiveRecordBytes, 0);
    for (auto [at, value] : {std::pair{2, 0x05}, {4, 95}, {6, 77}, {9, 128}, {13, 35}, {19, 7}})
      reply[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value);
  }
  void open() {
    AcquireWindowHooks hooks;
    hooks.closed = [this] { ++closedCalls; };
    hooks.makeLink = [this] {
      auto made = std::make_unique<TimedLine>();
      made->responder = [this](std::span<const std::uint8_t>) { return reply; };
      if (!openFailure.empty()) made->openFailures[device] = openFailure;
      line = made.get();
      return made;
    };
    window = new AcquireWindow(workspace, store, prompts, std::move(hooks));
    window->show();
  }
  template <class T = QWidget>
  T* child(const char* name, int index = -1) {
    for (T* found : window->findChildren<T*>(name))
      if (index < 0 || found->property("index").toInt() == index) return found;
    return nullptr;
  }
  QString text(const char* name, int index = -1) { return child<QLineEdit>(name, index)->text(); }

  workspace::Workspace workspace;
  settings::MemorySettingsStore store;
  common::ScriptedPrompts prompts;
  Bytes reply;
  std::string device = "/dev/ttyS0", openFailure;
  TimedLine* line = nullptr;
  QPointer<AcquireWindow> window;
  int closedCalls = 0;
};

TEST_F(AcquireWindowTest, PollsAndShowsRecordsUntilPaused) {
  open();
  EXPECT_FALSE(child("cmdPauseToggle")->isEnabled());
  child<QPushButton>("cmdStartComm")->click();
  EXPECT_FALSE(child("cmdStartComm")->isEnabled());
  QTest::qWait(200);
  const int samples = text("Text2").toInt();
  EXPECT_GE(samples, 5);
  EXPECT_LE(line->writes() - samples, 1);
  EXPECT_EQ(text("txtDataCollector"), "YES");
  EXPECT_DOUBLE_EQ(window->gauge(ecu::LiveGauge::Map)->value(), 95);
  EXPECT_DOUBLE_EQ(window->gauge(ecu::LiveGauge::Coolant)->value(), 80);  // 120 - 40
  EXPECT_DOUBLE_EQ(window->gauge(ecu::LiveGauge::Rpm)->value(), 35);
  EXPECT_DOUBLE_EQ(window->gauge(ecu::LiveGauge::O2)->value(), 1);  // 2.5 V, clamped
  EXPECT_EQ(window->gauge(ecu::LiveGauge::O2)->model().readOut().text, "2.50");
  EXPECT_EQ(text("txtVEBins", 0), "O2-2 7");
  EXPECT_EQ(text("txtVEBins", 1), "O2En 0");
  // Status 0000 0101: the Running and Afterstart lamps lit.
  for (const auto& [index, lit] : {std::pair{1, false}, {2, true}, {3, true}, {4, false}})
    EXPECT_EQ(child("txtStatus", index)->isEnabled(), lit) << index;

  child<QPushButton>("cmdPauseToggle")->click();
  const int writes = line->writes();
  QTest::qWait(60);
  EXPECT_EQ(line->writes(), writes);
  EXPECT_EQ(text("txtDataCollector"), "NO");
  EXPECT_TRUE(child("cmdStartComm")->isEnabled());
  EXPECT_TRUE(prompts.asked.empty());
  window->close();
}

TEST_F(AcquireWindowTest, PortThatCannotOpenIsReportedAndCloseCallsBackOnce) {
  device = "/dev/ttyUSB7";
  openFailure = "No such file";
  store.save("MegaSquirt", "Settings", "ComDevice1", device);
  open();
  child<QPushButton>("cmdStartComm")->click();
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_NE(prompts.asked[0].text.find("/dev/ttyUSB7"), std::string::npos);
  EXPECT_TRUE(child("cmdStartComm")->isEnabled());
  EXPECT_FALSE(child("cmdPauseToggle")->isEnabled());
  child<QPushButton>("cmdClose")->click();
  QApplication::processEvents();
  EXPECT_EQ(closedCalls, 1);
}

class AcquireFromMainWindow : public MainWindowFixture {};

TEST_F(AcquireFromMainWindow, ClosingTheRealWindowByItsTitleBarEnablesTheMenus) {
  startWithoutLanguages();
  connectProgramWindows(*window);
  window->show();
  entry("mnuCPUAcquire")->trigger();
  auto* acquire = window->findChild<AcquireWindow*>(AcquireWindow::kWindowName);
  ASSERT_TRUE(acquire && acquire->isVisible());
  EXPECT_FALSE(entry("mnuExit")->isEnabled());
  acquire->close();
  QApplication::processEvents();
  EXPECT_TRUE(entry("mnuExit")->isEnabled());
}

}  // namespace
}  // namespace tallimar::ui
