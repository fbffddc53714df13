// The per-user store of the program: QSettings, INI format (QtCore only, no window).
#include "ui/app/qt_settings_store.h"
#include "user_settings_store.h"

namespace tallimar::batch {

std::unique_ptr<settings::SettingsStore> openUserSettingsStore(std::string&) {
  return std::make_unique<ui::QtSettingsStore>();
}

}  // namespace tallimar::batch
