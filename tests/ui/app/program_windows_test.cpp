// The program's own wiring of the main window to its secondary windows.
#include <QApplication>
#include <QMainWindow>
#include <QTest>

#include "main_window_fixture.h"
#include "ui/app/program_windows.h"

namespace tallimar::ui {
namespace {

class ProgramWindows : public MainWindowFixture {};

TEST_F(ProgramWindows, ModifyVeMapOpensTheTableWindowAndClosingItEnablesTheMenus) {
  MainWindow& main = startWithoutLanguages();
  connectProgramWindows(main);
  entry("mnuCalculateNewMap")->trigger();
  auto* veWindow = main.findChild<QMainWindow*>("frmCalculateMap");
  ASSERT_NE(veWindow, nullptr);
  EXPECT_TRUE(veWindow->isVisible());
  EXPECT_TRUE(veWindow->isWindow());
  EXPECT_FALSE(entry("mnuOpenDatalog")->isEnabled());
  EXPECT_TRUE(entry("mnuCreateWBFactor")->isEnabled());

  veWindow->close();
  QApplication::processEvents();
  EXPECT_TRUE(entry("mnuOpenDatalog")->isEnabled());
  // Each opening starts afresh: the closed window is gone.
  QTest::qWait(0);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(main.findChild<QMainWindow*>("frmCalculateMap"), nullptr);
}

}  // namespace
}  // namespace tallimar::ui
