// tallimar: the desktop program. Makes the working data, the per-user settings store and
// the dialogs, builds the main window, wires its secondary windows, then runs the main
// window's start-up and shows it. With --gauge-demo it shows the gauge exerciser alone;
// --version prints the version and starts nothing.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <cstring>

#include "program_windows.h"
#include "ui/app/main_window.h"
#include "ui/app/qt_prompts.h"
#include "ui/app/qt_settings_store.h"
#include "ui/ecu/gauge_exerciser.h"
#include "workspace/workspace.h"

namespace {

// The program's own folder (its language files, "Current" in the settings dialog): the
// executable's folder, or for a program installed as <prefix>/bin/tallimar the folder
// <prefix>/share/tallimar that the installation fills.
QString programFolder() {
  const QDir executable(QCoreApplication::applicationDirPath());
  if (executable.dirName() == QStringLiteral("bin")) {
    const QString shared =
        QDir::cleanPath(executable.absoluteFilePath(QStringLiteral("../share/tallimar")));
    if (QFileInfo(shared).isDir()) return shared;
  }
  return executable.absolutePath();
}

}  // namespace

int main(int argc, char** argv) {
  // Before the application: printing the version needs no display.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("tallimar %d.%d.%d\n", TALLIMAR_VERSION_MAJOR, TALLIMAR_VERSION_MINOR,
                TALLIMAR_VERSION_PATCH);
    return 0;
  }
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
  tallimar::ui::MainWindow window(workspace, store, prompts, programFolder());
  prompts.setParent(&window);
  tallimar::ui::connectProgramWindows(window);
  window.startUp();
  window.show();
  return QApplication::exec();
}
