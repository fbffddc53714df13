// The secondary windows of the program, connected to the main window's menu entries.
#include "program_windows.h"

#include "ui/app/main_window.h"
#include "ui/app/settings_dialog.h"
#include "ui/ecu/acquire_window.h"
#include "ui/ecu/gauge_exerciser.h"
#include "ui/tools/wb_factor_window.h"
#include "ui/vemap/ve_map_window.h"

namespace tallimar::ui {
namespace {

SettingsDialog* settingsFor(MainWindow& main, SettingsCaller caller, QWidget& callerWindow) {
  // Factor tables reloaded on Save report in the main window's status list.
  return createSettingsDialog(main.workspace(), main.settingsStore(), main.prompts(),
                              main.statusLog(), main.programFolder(), caller, callerWindow);
}

}  // namespace

void connectProgramWindows(MainWindow& mainWindow) {
  mainWindow.setWindowFactory(SecondaryWindow::ModifyVeMap, [](MainWindow& main) -> QWidget* {
    VeMapWindowHooks hooks;
    hooks.closed = [&main] { main.MenuButtons(true); };
    hooks.settings = [&main](VeMapWindow& window) {
      SettingsDialog* dialog = settingsFor(main, SettingsCaller::ModifyVeMap, window);
      window.disableWhileOpen(dialog);  // its menus and controls, until the dialog finishes
      // A new table size shows in the grid at once.
      QObject::connect(dialog, &SettingsDialog::saved, &window, [&window](bool resized) {
        if (resized) window.Display8x8Map();
      });
      dialog->show();
    };
    hooks.mainStatusLog = &main.statusLog();
    // Both windows print through one preview window and show one "PrintPreview" setting.
    hooks.reportOutput = &main.reportOutput();
    hooks.printPreviewChanged = [&main] { main.showPrintPreviewSetting(); };
    return createVeMapWindow(main.workspace(), main.settingsStore(), main.prompts(),
                             main.programFolder(), std::move(hooks), &main);
  });
  mainWindow.setWindowFactory(SecondaryWindow::Settings, [](MainWindow& main) -> QWidget* {
    return settingsFor(main, SettingsCaller::MainWindow, main);
  });
  mainWindow.setWindowFactory(SecondaryWindow::WbFactorTables, [](MainWindow& main) -> QWidget* {
    return createWbFactorWindow(main.workspace(), main.prompts(), main.programFolder(), &main);
  });
  mainWindow.setWindowFactory(SecondaryWindow::AcquireData, [](MainWindow& main) -> QWidget* {
    AcquireWindowHooks hooks;
    hooks.closed = [&main] { main.MenuButtons(true); };
    return new AcquireWindow(main.workspace(), main.settingsStore(), main.prompts(),
                             std::move(hooks), &main);
  });
  mainWindow.setWindowFactory(SecondaryWindow::GaugeExerciser, [](MainWindow& main) -> QWidget* {
    auto* exerciser = new GaugeExerciser(main.settingsStore(), main.prompts(), &main);
    exerciser->setWindowFlag(Qt::Window);
    exerciser->setAttribute(Qt::WA_DeleteOnClose);
    return exerciser;
  });
}

}  // namespace tallimar::ui
