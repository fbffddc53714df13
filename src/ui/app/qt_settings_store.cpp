// QSettings-backed settings store, INI format, per user.
#include "ui/app/qt_settings_store.h"

#include <QSettings>
#include <QStringList>

namespace tallimar::ui {
namespace {

QString keyPath(const std::string& section, const std::string& key) {
  return QString::fromStdString(section) + '/' + QString::fromStdString(key);
}

}  // namespace

QtSettingsStore::QtSettingsStore() = default;

QtSettingsStore::QtSettingsStore(const QString& iniFilePath) : m_iniFilePath(iniFilePath) {}

QtSettingsStore::~QtSettingsStore() = default;

QSettings& QtSettingsStore::settingsOf(const std::string& application) const {
  const std::string slot = m_iniFilePath.isEmpty() ? application : std::string();
  auto& file = m_files[slot];
  if (!file) {
    file = m_iniFilePath.isEmpty()
               ? std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QStringLiteral("Tallimar"),
                                             QString::fromStdString(application))
               : std::make_unique<QSettings>(m_iniFilePath, QSettings::IniFormat);
  }
  return *file;
}

std::string QtSettingsStore::get(const std::string& application, const std::string& section,
                                 const std::string& key, const std::string& defaultText) const {
  const QVariant value = settingsOf(application).value(keyPath(section, key));
  if (!value.isValid()) return defaultText;
  if (value.typeId() == QMetaType::QStringList)
    return value.toStringList().join(QStringLiteral(", ")).toStdString();
  return value.toString().toStdString();
}

void QtSettingsStore::save(const std::string& application, const std::string& section,
                           const std::string& key, const std::string& text) {
  QSettings& file = settingsOf(application);
  file.setValue(keyPath(section, key), QString::fromStdString(text));
  file.sync();
}

}  // namespace tallimar::ui
