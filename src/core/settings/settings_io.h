// Reading the settings record from the store and writing it back, with the stored text
// forms and conversions of every field.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/settings.h"
#include "settings/settings_store.h"

namespace tallimar::settings {

// Reads every field of the record from the store (application "MegaSquirt", section
// "Settings"), in the start-up order, each with its default text when the key is missing.
// Fields whose stored text is not recognised keep the value they have in `into`: a unit
// text other than its three exact words, a 16-bit text whose value lies outside
// -32768..32767, a single text that is not one "."-separated decimal number, a boolean
// text that is neither "True"/"False" (any case) nor a number, and a VE table size
// outside 1..16. "VERange" reads 0 only for the exact text "Average" and
// "VEOutlierEnable" is true only for the exact text "True".
void loadSettings(const SettingsStore& store, Settings& into);

// Saves every field of the record to the store in its stored text form (not the per-window
// keys "Language", "PrintPreview" and "VEMapColors"). Singles are written as their
// shortest decimal text with "."; a unit of 0 (none recognised) leaves its key untouched.
void saveSettings(SettingsStore& store, const Settings& settings);

// The stored text of one key of the record ("RPMMax" -> "10000"); nullopt for a key that is
// not in the record and for a unit of 0, which has no stored text.
std::optional<std::string> storedText(const Settings& settings, std::string_view key);
// Saves one key of the record in its stored text form; does nothing when storedText has none.
void saveSetting(SettingsStore& store, const Settings& settings, std::string_view key);

// The per-window keys, kept in the same application and section as the record.
// "Language": the chosen language file's name without extension, default "English".
std::string readLanguage(const SettingsStore& store);
void saveLanguage(SettingsStore& store, const std::string& language);
// "PrintPreview", shared by every window with a "Print Preview" entry: the general boolean
// reading of the stored text, default "True"; a text that is no boolean reads true.
bool readPrintPreview(const SettingsStore& store);
void savePrintPreview(SettingsStore& store, bool preview);
// "VEMapColors": true exactly when the stored text equals "True", default "True".
bool readVEMapColors(const SettingsStore& store);
void saveVEMapColors(SettingsStore& store, bool colours);

}  // namespace tallimar::settings
