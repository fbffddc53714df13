// The program's wiring: "Modify VE Map" opens the VE window over the main window's data, its
// language failure goes to the main window's status list, and closing it gives the menus back
// and unloads it.
#include "program_windows.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTemporaryDir>

#include "common/scripted_prompts.h"
#include "settings/settings_io.h"
#include "support/recording_report_output.h"
#include "ui/app/main_window.h"
#include "ui/common/string_list_model.h"
#include "workspace/workspace.h"

namespace tallimar::ui {
namespace {

TEST(ProgramWindows, ModifyVeMapOpensTheVeWindowAndClosingItGivesTheMenusBack) {
  workspace::Workspace workspace;
  settings::MemorySettingsStore store;
  common::ScriptedPrompts prompts;
  QTemporaryDir noLanguages;
  MainWindow main(workspace, store, prompts, noLanguages.path());
  main.startUp();
  connectProgramWindows(main);
  const std::size_t startUpLines = main.statusList().lines().size();
  QAction* modify = main.findChild<QAction*>("mnuCalculateNewMap");
  QAction* open = main.findChild<QAction*>("mnuOpenDatalog");

  modify->trigger();
  auto* veWindow = main.findChild<QMainWindow*>("frmCalculateMap");
  ASSERT_NE(veWindow, nullptr);
  EXPECT_TRUE(veWindow->isVisible());
  EXPECT_TRUE(veWindow->isWindow());
  EXPECT_EQ(veWindow->pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
  EXPECT_FALSE(open->isEnabled());
  EXPECT_EQ(main.statusList().lines().size(), startUpLines + 1);
  EXPECT_EQ(main.statusList().lines().back(), "Failed Reading English.Lang - Default is English");

  veWindow->close();
  QApplication::processEvents();
  EXPECT_TRUE(open->isEnabled());
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(main.findChild<QMainWindow*>("frmCalculateMap"), nullptr);  // each opening afresh
}

TEST(ProgramWindows, BothWindowsShareThePreviewCheckMarkAndTheReportOutput) {
  workspace::Workspace workspace;
  settings::MemorySettingsStore store;
  common::ScriptedPrompts prompts;
  QTemporaryDir noLanguages;
  MainWindow main(workspace, store, prompts, noLanguages.path());
  main.startUp();
  testsupport::RecordingReportOutput output;
  main.setReportOutput(&output);
  connectProgramWindows(main);
  workspace.rawDataMapPresent = true;  // the VE window opens on the "Raw Datalog" view
  main.findChild<QAction*>("mnuCalculateNewMap")->trigger();
  auto* veWindow = main.findChild<QMainWindow*>("frmCalculateMap");
  ASSERT_NE(veWindow, nullptr);
  auto* preview = veWindow->findChild<QAction*>("mnuPrintPreview");
  auto* mainPreview = main.findChild<QAction*>("mnuPrintPreview");
  ASSERT_TRUE(preview->isChecked() && mainPreview->isChecked());

  preview->trigger();
  EXPECT_FALSE(mainPreview->isChecked());
  EXPECT_EQ(store.get(settings::kApplication, settings::kSection, "PrintPreview", ""), "False");
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
