// The live-data window on an in-memory line, with its real timers, and its opening from the
// main window. (The record's decoding and the poll rules are pinned in the core tests.)
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
  // A window whose line answers every poll with a record of Status 0000 0101, MAP 95 and
  // RPM 3500.
  void open(const std::string& openFailure = {}) {
    workspace.settings.dataRate = 10;
    AcquireWindowHooks hooks;
    hooks.closed = [this] { ++closedCalls; };
    hooks.makeLink = [this, openFailure] {
      auto made = std::make_unique<TimedLine>();
      made->responder = [](std::span<const std::uint8_t>) {
        std::vector<std::uint8_t> reply(ecu::kLiveRecordBytes, 0);
        reply[2] = 0x05, reply[4] = 95, reply[13] = 35;
        return reply;
      };
      if (!openFailure.empty()) made->openFailures["/dev/ttyS0"] = openFailure;
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
  QString text(const char* name) { return child<QLineEdit>(name)->text(); }

  workspace::Workspace workspace;
  settings::MemorySettingsStore store;
  common::ScriptedPrompts prompts;
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
  EXPECT_DOUBLE_EQ(window->gauge(ecu::LiveGauge::Rpm)->value(), 35);
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
  open("No such file");
  child<QPushButton>("cmdStartComm")->click();
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_NE(prompts.asked[0].text.find("/dev/ttyS0"), std::string::npos);
  EXPECT_TRUE(child("cmdStartComm")->isEnabled());
  EXPECT_FALSE(child("cmdPauseToggle")->isEnabled());
  child<QPushButton>("cmdClose")->click();
  QApplication::processEvents();
  EXPECT_EQ(closedCalls, 1);
}

using AcquireFromMainWindow = MainWindowFixture;

TEST_F(AcquireFromMainWindow, ClosingTheRealWindowByItsTitleBarEnablesTheMenus) {
  startWithoutLanguages();
  connectProgramWindows(*window);
  window->show();
  entry("mnuCPUAcquire")->trigger();
  auto* acquire = window->findChild<AcquireWindow*>(AcquireWindow::kWindowName);
  ASSERT_TRUE(acquire && acquire->isVisible());
  EXPECT_EQ(enabledOfThirteen(), 0);
  acquire->close();
  QApplication::processEvents();
  EXPECT_EQ(enabledOfThirteen(), 13);
}

}  // namespace
}  // namespace tallimar::ui
