// The per-user settings store of the program: one INI file per application name, kept by
// QSettings in the user's configuration folder (~/.config/Tallimar/<application>.ini).
// Needs QtCore only, so headless programs can use it as well as the windows.
#pragma once

#include <QString>
#include <map>
#include <memory>

#include "settings/settings_store.h"

class QSettings;

namespace tallimar::ui {

class QtSettingsStore : public settings::SettingsStore {
 public:
  // The user's own store: organisation "Tallimar", one INI file per application.
  QtSettingsStore();
  // One explicit INI file that holds the keys of every application (for tests).
  explicit QtSettingsStore(const QString& iniFilePath);
  ~QtSettingsStore() override;

  // Reads "section/key" from the application's file. A value that QSettings reads as a
  // list (unquoted commas written by hand) is given back joined with ", ".
  std::string get(const std::string& application, const std::string& section,
                  const std::string& key, const std::string& defaultText) const override;
  // Writes "section/key" and flushes the file at once: nothing is saved at exit.
  void save(const std::string& application, const std::string& section, const std::string& key,
            const std::string& text) override;

 private:
  QSettings& settingsOf(const std::string& application) const;

  QString m_iniFilePath;  // empty: per-user files by application
  mutable std::map<std::string, std::unique_ptr<QSettings>> m_files;
};

}  // namespace tallimar::ui
