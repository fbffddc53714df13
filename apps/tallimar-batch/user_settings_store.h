// The user's own settings store, the one the program reads at start-up. Available when
// tallimar-batch is built with Qt (TALLIMAR_BUILD_UI); otherwise there is none and the batch
// runs only with --no-user-settings.
#pragma once

#include <memory>
#include <string>

#include "settings/settings_store.h"

namespace tallimar::batch {

// nullptr, with `why` set, when this build has no per-user store.
std::unique_ptr<settings::SettingsStore> openUserSettingsStore(std::string& why);

}  // namespace tallimar::batch
