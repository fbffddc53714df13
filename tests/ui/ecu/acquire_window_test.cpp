// The live-data window without an ECU: a port that cannot open. (Its opening from the main
// window is in the program's wiring tests; polling is checked against the simulator, its rules
// in core.)
#include "ui/ecu/acquire_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>

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

}  // namespace
}  // namespace tallimar::ui
