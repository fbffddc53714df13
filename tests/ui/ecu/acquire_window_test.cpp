// The live-data window without an ECU: a port that cannot open, and its opening and closing
// from the main window. (Polling is checked against the simulator, its rules in core.)
#include "ui/ecu/acquire_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>

#include "program_windows.h"
#include "settings/serial_device.h"
#include "ui/app/main_window_fixture.h"

namespace tallimar::ui {
namespace {

using AcquireWindowTest = MainWindowFixture;

TEST_F(AcquireWindowTest, PortThatCannotOpenIsReportedAndCloseCallsBackOnce) {
  settings::saveSerialDevice(store, 1, "/dev/tallimar-no-such-port");
  int closed = 0;
  AcquireWindowHooks hooks;
  hooks.closed = [&closed] { ++closed; };
  auto* acquire = new AcquireWindow(workspace, store, prompts, std::move(hooks));
  acquire->show();
  acquire->findChild<QPushButton*>("cmdStartComm")->click();
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_NE(prompts.asked[0].text.find("/dev/tallimar-no-such-port"), std::string::npos);
  EXPECT_TRUE(acquire->findChild<QPushButton*>("cmdStartComm")->isEnabled());
  EXPECT_FALSE(acquire->findChild<QPushButton*>("cmdPauseToggle")->isEnabled());
  acquire->findChild<QPushButton*>("cmdClose")->click();
  QApplication::processEvents();
  EXPECT_EQ(closed, 1);
}

TEST_F(AcquireWindowTest, ClosingTheRealWindowByItsTitleBarEnablesTheMenus) {
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
