// windows_shot [--lines N] [--main WxH] [--vemap [WxH | max]]: the main window after opening a
// generated datalog (--main resizes it); --vemap opens "Modify VE Map" at its default size, the
// given one or maximised, filters and calculates. For scripts/screenshot; not a test.
#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

#include "common/scripted_prompts.h"
#include "program_windows.h"
#include "settings/settings_store.h"
#include "support/datalog_generator.h"
#include "ui/app/main_window.h"
#include "ui/vemap/ve_map_window.h"
#include "workspace/workspace.h"

namespace {

QSize sizeOf(const QString& text) {
  const QStringList parts = text.split('x');
  return parts.size() == 2 ? QSize(parts[0].toInt(), parts[1].toInt()) : QSize();
}

void ready() {
  std::printf("ready\n");
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tallimar;
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  auto option = [&args](const QString& name) {
    const auto at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args[at + 1] : QString();
  };
  QTemporaryDir folder;
  const std::string path = testsupport::writeDatalog(
      folder.filePath("drive.xls").toStdString(),
      option("--lines").isEmpty() ? 40000 : option("--lines").toLongLong());

  workspace::Workspace workspace;
  settings::MemorySettingsStore store;
  common::ScriptedPrompts prompts;
  prompts.openAnswers.push_back({path});
  ui::MainWindow window(workspace, store, prompts, folder.path());
  ui::connectProgramWindows(window);
  window.startUp();
  if (const QSize size = sizeOf(option("--main")); size.isValid()) {
    window.resize(size);
    window.move(0, 0);
  }
  window.show();
  QObject::connect(&window, &ui::MainWindow::commandFinished, &window, [&] {
    if (!args.contains("--vemap")) return ready();
    window.findChild<QAction*>("mnuCalculateNewMap")->trigger();
    auto* veMap = window.findChild<ui::VeMapWindow*>();
    if (!veMap) return ready();
    const QString how = option("--vemap");
    if (how == "max")
      veMap->showMaximized();
    else if (const QSize size = sizeOf(how); size.isValid())
      veMap->resize(size);
    QObject::connect(veMap, &ui::VeMapWindow::filteringFinished, veMap, [veMap] {
      veMap->findChild<QPushButton*>("cmdCalculateMap")->click();
      ready();
    });
    veMap->findChild<QPushButton*>("cmdFilterRawDatalog")->click();
  });
  window.findChild<QAction*>("mnuOpenDatalog")->trigger();
  return QApplication::exec();
}
