// Reading the settings record from the store and writing it back, with the stored text
// forms and conversions of every field.
#pragma once

#include "settings/settings.h"
#include "settings/settings_store.h"

namespace tallimar::settings {

// Reads every field of the record from the store (application "MegaSquirt", section
// "Settings"), in the start-up order, each with its default text when the key is missing.
// Fields whose stored text is not recognised keep the value they have in `into`.
void loadSettings(const SettingsStore& store, Settings& into);

// Saves every field of the record to the store in its stored text form (not the per-window
// keys "Language", "PrintPreview" and "VEMapColors").
void saveSettings(SettingsStore& store, const Settings& settings);

}  // namespace tallimar::settings
