// A build without Qt has no per-user settings store.
#include "user_settings_store.h"

namespace tallimar::batch {

std::unique_ptr<settings::SettingsStore> openUserSettingsStore(std::string& why) {
  why =
      "this tallimar-batch was built without Qt and cannot read the user's settings; "
      "use --no-user-settings";
  return nullptr;
}

}  // namespace tallimar::batch
