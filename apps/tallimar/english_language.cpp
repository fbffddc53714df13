// Walks the laid-out windows as the language applier does and writes their captions.
#include "english_language.h"

#include <QWidget>
#include <map>
#include <set>
#include <vector>

#include "common/scripted_prompts.h"
#include "settings/settings_store.h"
#include "ui/app/main_window.h"
#include "ui/app/settings_dialog.h"
#include "ui/common/language_applier.h"
#include "ui/vemap/ve_map_window.h"
#include "workspace/workspace.h"

namespace tallimar::ui {
namespace {

struct NullLog : common::StatusLog {
  void append(const std::string&) override {}
};

// The lines of one window, in its order of controls, keys shared with different captions
// left out.
void appendWindow(std::vector<std::string>& lines, QWidget& window, const std::string& windowName) {
  std::vector<std::string> keys;
  std::map<std::string, std::string> captions;
  std::set<std::string> clashing;
  for (QObject* control : window.findChildren<QObject*>()) {
    const QString name = control->objectName().trimmed();
    if (name.isEmpty() || name.startsWith(QStringLiteral("qt_"))) continue;
    const std::string caption = controlCaption(*control).toStdString();
    if (caption.empty()) continue;
    const QVariant index = control->property("index");
    bool isArray = false;
    const int number = index.isValid() ? index.toInt(&isArray) : 0;
    const std::string key = windowName + "," + name.toStdString() + "," +
                            (isArray ? std::to_string(number) : std::string()) + ":";
    const auto [found, added] = captions.emplace(key, caption);
    if (added)
      keys.push_back(key);
    else if (found->second != caption)
      clashing.insert(key);
  }
  for (const std::string& key : keys)
    if (!clashing.contains(key)) lines.push_back(key + captions[key]);
}

// The lines of the three windows laid out over the given working data.
std::vector<std::string> windowLines(workspace::Workspace& workspace) {
  settings::MemorySettingsStore store;
  common::ScriptedPrompts prompts;
  NullLog log;
  // An empty folder would mean the program's own folder, where an older English.Lang may
  // lie; the windows are laid out here, never translated.
  const QString noFolder = QStringLiteral("/nonexistent-tallimar-language-folder");
  std::vector<std::string> lines;
  MainWindow main(workspace, store, prompts, noFolder);
  appendWindow(lines, main, MainWindow::kWindowName);
  SettingsDialog dialog(workspace, store, prompts, log, noFolder, SettingsCaller::MainWindow,
                        nullptr);
  appendWindow(lines, dialog, SettingsDialog::kWindowName);
  VeMapWindow window(workspace, store, prompts, noFolder, VeMapWindowHooks{});
  appendWindow(lines, window, VeMapWindow::kWindowName);
  return lines;
}

}  // namespace

std::string englishLanguageFile() {
  // A caption the windows fill from the settings (the plot's axis limits) would put the
  // first run's values back over the user's when applied: laid out over other settings, such
  // a line reads differently and is left out.
  workspace::Workspace first;
  workspace::Workspace other;
  first.veTable.setStartupBins();
  other.settings.rpmMax = 7300;
  other.settings.rpmMin = 900;
  other.settings.mapMax = 210;
  other.settings.veSizeRPM = other.settings.veSizeMAP = 12;
  other.veTable.setStartupBins();
  const std::vector<std::string> otherLines = windowLines(other);
  const std::set<std::string> stable(otherLines.begin(), otherLines.end());
  std::string file;
  for (const std::string& line : windowLines(first))
    if (stable.contains(line)) file += line + "\r\n";
  return file;
}

}  // namespace tallimar::ui
