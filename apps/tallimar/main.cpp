// tallimar: the desktop program. Makes the working data, the per-user settings store and
// the dialogs, builds the main window, wires its secondary windows, then runs the main
// window's start-up and shows it. With --gauge-demo it shows the gauge exerciser alone.
#include <QApplication>
#include <QStringList>

#include "program_windows.h"
#include "ui/app/main_window.h"
#include "ui/app/qt_prompts.h"
#include "ui/app/qt_settings_store.h"
#include "ui/ecu/gauge_exerciser.h"
#include "workspace/workspace.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  tallimar::ui::QtSettingsStore store;
  tallimar::ui::QtPrompts prompts;
  if (QApplication::arguments().contains(QStringLiteral("--gauge-demo"))) {
    tallimar::ui::GaugeExerciser exerciser(store, prompts);
    prompts.setParent(&exerciser);
    exerciser.show();
    return QApplication::exec();
  }
  tallimar::workspace::Workspace workspace;
  tallimar::ui::MainWindow window(workspace, store, prompts);
  prompts.setParent(&window);
  tallimar::ui::connectProgramWindows(window);
  window.startUp();
  window.show();
  return QApplication::exec();
}
