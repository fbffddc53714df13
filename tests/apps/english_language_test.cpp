// English.Lang as the build writes it: current, read cleanly, and putting every caption back.
#include "english_language.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <vector>

#include "common/scripted_prompts.h"
#include "common/text_lines.h"
#include "settings/settings_store.h"
#include "ui/app/main_window.h"
#include "ui/app/settings_dialog.h"
#include "ui/common/language_applier.h"
#include "ui/vemap/ve_map_window.h"
#include "workspace/workspace.h"

namespace tallimar::ui {
namespace {

// Every named control with its caption, in the window's order.
std::vector<std::pair<QObject*, QString>> captions(QWidget& window) {
  std::vector<std::pair<QObject*, QString>> all;
  for (QObject* control : window.findChildren<QObject*>())
    if (!control->objectName().isEmpty()) all.emplace_back(control, controlCaption(*control));
  return all;
}

TEST(EnglishLanguage, TheBuiltFileIsCurrentAndReadsWithoutAFailure) {
  const QString built = QStringLiteral(TALLIMAR_ENGLISH_LANG);
  QFile file(built);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << built.toStdString();
  const std::string text = file.readAll().toStdString();
  EXPECT_EQ(text, englishLanguageFile());

  language::LanguageTable table;
  common::VectorStatusLog log;
  EXPECT_TRUE(table.readFile(QFileInfo(built).absolutePath().toStdString(), "English", log));
  EXPECT_TRUE(log.lines.empty());
  EXPECT_LE(common::splitLines(text).size(), language::kLanguageTableLines);
}

TEST(EnglishLanguage, ChoosingEnglishAfterAnotherLanguagePutsEveryCaptionBack) {
  const std::string english = englishLanguageFile();
  // Another language: every line of the English file with a caption of its own.
  std::string other;
  for (const std::string& line : common::splitLines(english))
    other += line.substr(0, line.find(':') + 1) + "Anders\r\n";
  language::LanguageTable englishTable, otherTable;
  ASSERT_TRUE(englishTable.readText(english));
  ASSERT_TRUE(otherTable.readText(other));

  workspace::Workspace workspace;
  workspace.settings.rpmMax = 6500;  // the plot's limits are the user's, not the file's
  settings::MemorySettingsStore store;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog log;
  const QString folder = QStringLiteral("/nonexistent");
  MainWindow main(workspace, store, prompts, folder);
  main.startUp();
  SettingsDialog dialog(workspace, store, prompts, log, folder, SettingsCaller::MainWindow,
                        nullptr);
  VeMapWindow veWindow(workspace, store, prompts, folder, VeMapWindowHooks{});
  veWindow.load();
  const std::pair<QWidget*, const char*> windows[] = {{&main, MainWindow::kWindowName},
                                                      {&dialog, SettingsDialog::kWindowName},
                                                      {&veWindow, VeMapWindow::kWindowName}};
  for (const auto& [window, name] : windows) {
    SCOPED_TRACE(name);
    const auto laidOut = captions(*window);
    EXPECT_GT(applyLanguageTable(*window, name, otherTable), 20);
    EXPECT_NE(captions(*window), laidOut);
    applyLanguageTable(*window, name, englishTable);
    const auto back = captions(*window);
    for (std::size_t i = 0; i < laidOut.size(); ++i)
      EXPECT_EQ(back[i].second, laidOut[i].second) << laidOut[i].first->objectName().toStdString();
  }
}

}  // namespace
}  // namespace tallimar::ui
