// A main window over a fresh workspace, an in-memory store and scripted prompts.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QListView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "common/scripted_prompts.h"
#include "settings/settings_io.h"
#include "ui/app/main_window.h"
#include "ui/common/string_list_model.h"
#include "workspace/workspace.h"

namespace tallimar::ui {

using Lines = std::vector<std::string>;

// The thirteen entries MenuButtons switches.
inline const char* const kThirteen[] = {
    "mnuOpenDatalog",   "mnuOpenHighDensityMap", "mnuSaveHighDensityMap",
    "mnuSaveCrossover", "mnuPrintPreview",       "mnuPrintHDMap",
    "mnuExit",          "mnuCalculateNewMap",    "mnuclearHDMap",
    "mnuSettings",      "mnuCPUAcquire",         "mnuAbout",
    "mnuHelp"};

class MainWindowFixture : public ::testing::Test {
 protected:
  void put(const char* key, const std::string& text) {
    store.save(settings::kApplication, settings::kSection, key, text);
  }
  std::string stored(const char* key) {
    return store.get(settings::kApplication, settings::kSection, key, "<none>");
  }
  // A window over the fixture's workspace and store, started up.
  MainWindow& start(const QString& programFolder) {
    window = std::make_unique<MainWindow>(workspace, store, prompts, programFolder);
    window->startUp();
    startUpLines = statusLines().size();
    return *window;
  }
  MainWindow& startWithoutLanguages() { return start(emptyFolder.path()); }
  QAction* entry(const char* name) { return window->findChild<QAction*>(name); }
  QLabel* label(const char* name, int index = -1) {
    for (QLabel* found : window->findChildren<QLabel*>(name))
      if (index < 0 || found->property("index").toInt() == index) return found;
    return nullptr;
  }
  QListView* list(const char* name) { return window->findChild<QListView*>(name); }
  const Lines& statusLines() { return window->statusList().lines(); }
  const Lines& crossoverLines() { return window->crossoverList().lines(); }
  // Status lines added since the first `from` lines.
  Lines newStatusLines(std::size_t from) {
    const Lines& all = statusLines();
    return Lines(all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())), all.end());
  }
  int enabledOfThirteen() {
    int enabled = 0;
    for (const char* name : kThirteen) enabled += entry(name)->isEnabled() ? 1 : 0;
    return enabled;
  }
  // Triggers an entry and waits until a command it started on the worker has ended.
  void run(const char* name) {
    QSignalSpy finished(window.get(), &MainWindow::commandFinished);
    entry(name)->trigger();
    if (window->busy()) {
      ASSERT_TRUE(finished.wait(30000)) << name << " did not end";
    }
  }

  workspace::Workspace workspace;
  settings::MemorySettingsStore store;
  common::ScriptedPrompts prompts;
  QTemporaryDir emptyFolder;
  std::unique_ptr<MainWindow> window;
  std::size_t startUpLines = 0;
};

}  // namespace tallimar::ui
