// main_window_shot [--lines N | --open FILE] [--enlarge List1|lstStatus] [--about]: the main
// window after "Open Datalog" of a generated datalog of N lines (20000) or of FILE, then the
// named list double-clicked or the About box open, until stopped. For scripts/screenshot
// (TALLIMAR_BIN pointing here); not a test.
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
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  auto option = [&args](const QString& name) {
    const auto at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args[at + 1] : QString();
  };
  const qint64 lines = option("--lines").isEmpty() ? 20000 : option("--lines").toLongLong();

  QTemporaryDir folder;
  std::string path = option("--open").toStdString();
  if (path.empty()) {
    path = folder.filePath("drive.xls").toStdString();
    tallimar::testsupport::writeDatalog(path, lines);
  }

  tallimar::workspace::Workspace workspace;
  tallimar::settings::MemorySettingsStore store;
  tallimar::common::ScriptedPrompts prompts;
  prompts.openAnswers.push_back({path});
  tallimar::ui::MainWindow window(workspace, store, prompts, folder.path());
  window.startUp();
  window.show();
  QObject::connect(&window, &tallimar::ui::MainWindow::commandFinished, &window, [&] {
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
