// The program's wiring of the VE and live-data windows to the main window.
#include "program_windows.h"

#include <QApplication>
#include <QMainWindow>

#include "support/recording_report_output.h"
#include "ui/app/main_window_fixture.h"
#include "ui/ecu/acquire_window.h"
#include "ui/tools/wb_factor_window.h"

namespace tallimar::ui {
namespace {

class ProgramWindows : public MainWindowFixture {
 protected:
  void SetUp() override {
    startWithoutLanguages();
    connectProgramWindows(*window);
  }
};

TEST_F(ProgramWindows, MenuEntriesOpenTheirWindowsAndClosingGivesTheMenusBack) {
  MainWindow& main = *window;
  entry("mnuCalculateNewMap")->trigger();
  auto* veWindow = main.findChild<QMainWindow*>("frmCalculateMap");
  ASSERT_NE(veWindow, nullptr);
  EXPECT_TRUE(veWindow->isVisible());
  EXPECT_TRUE(veWindow->isWindow());
  EXPECT_EQ(enabledOfThirteen(), 0);
  EXPECT_EQ(newStatusLines(startUpLines),
            Lines{"Failed Reading English.Lang - Default is English"});

  veWindow->close();
  QApplication::processEvents();
  EXPECT_EQ(enabledOfThirteen(), 13);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(main.findChild<QMainWindow*>("frmCalculateMap"), nullptr);  // each opening afresh

  main.show();  // the live-data window alike, closed by its title bar
  entry("mnuCPUAcquire")->trigger();
  auto* acquire = main.findChild<AcquireWindow*>(AcquireWindow::kWindowName);
  ASSERT_TRUE(acquire && acquire->isVisible());
  EXPECT_EQ(enabledOfThirteen(), 0);
  acquire->close();
  QApplication::processEvents();
  EXPECT_EQ(enabledOfThirteen(), 13);

  entry("mnuCreateWBFactor")->trigger();  // the wide-band factor creator leaves the menus alone
  auto* creator = main.findChild<WbFactorWindow*>(WbFactorWindow::kWindowName);
  ASSERT_TRUE(creator && creator->isVisible());
  EXPECT_EQ(enabledOfThirteen(), 13);
  creator->close();
}

TEST_F(ProgramWindows, BothWindowsShareThePreviewCheckMarkAndTheReportOutput) {
  testsupport::RecordingReportOutput output;
  window->setReportOutput(&output);
  workspace.rawDataMapPresent = true;  // the VE window opens on the "Raw Datalog" view
  entry("mnuCalculateNewMap")->trigger();
  auto* veWindow = window->findChild<QMainWindow*>("frmCalculateMap");
  ASSERT_NE(veWindow, nullptr);
  auto* preview = veWindow->findChild<QAction*>("mnuPrintPreview");
  auto* mainPreview = entry("mnuPrintPreview");
  ASSERT_TRUE(preview->isChecked() && mainPreview->isChecked());

  preview->trigger();
  EXPECT_FALSE(mainPreview->isChecked());
  EXPECT_EQ(stored("PrintPreview"), "False");
  veWindow->findChild<QAction*>("mnuPrintCurrentPlot")->trigger();
  ASSERT_EQ(output.printed.size(), 1u);
  EXPECT_EQ(testsupport::pageTitle(output.printed[0]), "Raw Data Map");
  preview->trigger();
  EXPECT_TRUE(mainPreview->isChecked());
  veWindow->findChild<QAction*>("mnuPrintCurrentPlot")->trigger();
  EXPECT_EQ(output.previewed.size(), 1u);
  veWindow->close();
}

}  // namespace
}  // namespace tallimar::ui
