// "Save" of the settings dialog: the form's values into the settings record, the store and
// the working data, in the order the dialog has always written them.
#pragma once

#include "commands/command_result.h"
#include "common/prompts.h"
#include "common/status_log.h"
#include "settings/settings_form.h"
#include "settings/settings_store.h"
#include "workspace/workspace.h"

namespace tallimar::commands {

// Runs the field checks on form (as leaving each field would) and converts it. A form that
// cannot be converted is refused with a stop message box titled "Tallimar" that names the
// field; nothing is written and the form keeps the texts to show again. Otherwise writes, in
// order: "INCPath" (then, when it is not empty, reloads all factor tables from it with their
// status lines on factorLog), every key of kSaveOrder (the map size only when a fixed size
// is chosen; the VE table takes that size too), and the "ComDevice<N>" key of every port
// whose device text differs from the device it maps to now. Returns Done, changed when the
// VE table's size changed.
CommandResult saveSettingsCommand(workspace::Workspace& ws, settings::SettingsStore& store,
                                  settings::SettingsForm& form, common::Prompts& prompts,
                                  common::StatusLog& factorLog);

}  // namespace tallimar::commands
