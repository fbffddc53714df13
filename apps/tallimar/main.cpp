// tallimar: the desktop program. Makes the working data, the per-user settings store and
// the dialogs, builds the main window, wires its secondary windows, then runs the main
// window's start-up and shows it.
#include <QApplication>

#include "program_windows.h"
#include "ui/app/main_window.h"
#include "ui/app/qt_prompts.h"
#include "ui/app/qt_settings_store.h"
#include "workspace/workspace.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  tallimar::workspace::Workspace workspace;
  tallimar::ui::QtSettingsStore store;
  tallimar::ui::QtPrompts prompts;
  tallimar::ui::MainWindow window(workspace, store, prompts);
  prompts.setParent(&window);
  tallimar::ui::connectProgramWindows(window);
  window.startUp();
  window.show();
  return QApplication::exec();
}
