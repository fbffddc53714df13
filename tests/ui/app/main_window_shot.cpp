// main_window_shot [--lines N | --open FILE] [--enlarge List1|lstStatus] [--about]: the main
// window after opening a generated datalog of N lines (20000) or FILE, then the list enlarged
// or the About box open. For scripts/screenshot (TALLIMAR_BIN pointing here); not a test.
#include <QAction>
#include <QApplication>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "common/scripted_prompts.h"
#include "settings/settings_io.h"
#include "support/datalog_generator.h"
#include "ui/app/main_window.h"
#include "workspace/workspace.h"

int main(int argc, char** argv) {
  using namespace tallimar;
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  auto option = [&args](const QString& name) {
    const auto at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args[at + 1] : QString();
  };
  QTemporaryDir folder;
  std::string path = option("--open").toStdString();
  if (path.empty())
    path = testsupport::writeDatalog(
        folder.filePath("drive.xls").toStdString(),
        option("--lines").isEmpty() ? 20000 : option("--lines").toLongLong());

  workspace::Workspace workspace;
  settings::MemorySettingsStore store;
  common::ScriptedPrompts prompts;
  prompts.openAnswers.push_back({path});
  ui::MainWindow window(workspace, store, prompts, folder.path());
  window.startUp();
  window.show();
  QObject::connect(&window, &ui::MainWindow::commandFinished, &window, [&] {
    if (const QString list = option("--enlarge"); !list.isEmpty())
      if (auto* view = window.findChild<QListView*>(list))
        QTest::mouseDClick(view->viewport(), Qt::LeftButton);
    if (args.contains("--about")) window.findChild<QAction*>("mnuAbout")->trigger();
    std::printf("ready\n");
    std::fflush(stdout);
  });
  window.findChild<QAction*>("mnuOpenDatalog")->trigger();
  return QApplication::exec();
}
