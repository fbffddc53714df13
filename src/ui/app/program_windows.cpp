// The secondary windows of the program, connected to the main window's menu entries.
#include "ui/app/program_windows.h"

#include "ui/app/main_window.h"
#include "ui/ecu/acquire_window.h"
#include "ui/ecu/gauge_exerciser.h"
#include "ui/vemap/ve_map_window.h"

namespace tallimar::ui {

void connectProgramWindows(MainWindow& mainWindow) {
  mainWindow.setWindowFactory(SecondaryWindow::ModifyVeMap, [](MainWindow& main) -> QWidget* {
    VeMapWindowHooks hooks;
    hooks.closed = [&main] { main.MenuButtons(true); };
    // A language file that cannot be read is reported in the main window's status list.
    hooks.mainStatusLog = &main.statusLog();
    return createVeMapWindow(main.workspace(), main.settingsStore(), main.prompts(),
                             main.programFolder(), std::move(hooks), &main);
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
