// The secondary windows of the program, connected to the main window's menu entries.
#include "ui/app/program_windows.h"

#include "ui/app/main_window.h"
#include "ui/vemap/ve_map_window.h"

namespace tallimar::ui {

void connectProgramWindows(MainWindow& mainWindow) {
  mainWindow.setWindowFactory(SecondaryWindow::ModifyVeMap, [](MainWindow& main) -> QWidget* {
    VeMapWindowHooks hooks;
    hooks.closed = [&main] { main.MenuButtons(true); };
    // A language file that cannot be read is reported in the main window's status list.
    hooks.mainStatusLog = &main.statusLog();
    // Both windows print through one preview window and show one "PrintPreview" setting.
    hooks.reportOutput = &main.reportOutput();
    hooks.printPreviewChanged = [&main] { main.showPrintPreviewSetting(); };
    return createVeMapWindow(main.workspace(), main.settingsStore(), main.prompts(),
                             main.programFolder(), std::move(hooks), &main);
  });
}

}  // namespace tallimar::ui
