// The secondary windows of the program, connected to the main window's menu entries.
#include "program_windows.h"

#include "ui/app/main_window.h"
#include "ui/vemap/ve_map_window.h"

namespace tallimar::ui {

void connectProgramWindows(MainWindow& mainWindow) {
  mainWindow.setWindowFactory(SecondaryWindow::ModifyVeMap, [](MainWindow& main) -> QWidget* {
    VeMapWindowHooks hooks;
    hooks.closed = [&main] { main.MenuButtons(true); };
    hooks.mainStatusLog = &main.statusLog();
    return createVeMapWindow(main.workspace(), main.settingsStore(), main.prompts(),
                             main.programFolder(), std::move(hooks), &main);
  });
}

}  // namespace tallimar::ui
