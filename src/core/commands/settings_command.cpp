// "Save" of the settings dialog.
#include "commands/settings_command.h"

#include <cstddef>
#include <string_view>

#include "formats/factor_table_loader.h"
#include "settings/serial_device.h"
#include "settings/settings_io.h"

namespace tallimar::commands {

CommandResult saveSettingsCommand(workspace::Workspace& ws, settings::SettingsStore& store,
                                  settings::SettingsForm& form, common::Prompts& prompts,
                                  common::StatusLog& factorLog) {
  settings::applyFieldChecks(form);
  auto converted = settings::settingsFromForm(form, ws.settings);
  if (!converted) {
    prompts.message("Tallimar", converted.reason(), common::MessageButtons::Ok,
                    common::MessageIcon::Stop);
    return CommandResult::refused();
  }
  const bool sizeChosen = form.mapSizeOption >= 0 && form.mapSizeOption < settings::kCustomMapSize;
  ws.settings = std::move(converted.value());

  settings::saveSetting(store, ws.settings, "INCPath");
  if (!ws.settings.incPath.empty())
    formats::loadAllFactorTables(ws.settings.incPath, ws.factors, factorLog);

  for (const char* key : settings::kSaveOrder) {
    const std::string_view name = key;
    if ((name == "VESizeRPM" || name == "VESizeMAP") && !sizeChosen) continue;
    settings::saveSetting(store, ws.settings, name);
  }

  for (int port = 1; port <= settings::kComPortCount; ++port) {
    const std::string& device = form.comDevices[static_cast<std::size_t>(port - 1)];
    if (device != settings::serialDevicePath(store, port))
      settings::saveSerialDevice(store, port, device);
  }

  bool resized = false;
  if (sizeChosen && (ws.veTable.sizeRpm != ws.settings.veSizeRPM ||
                     ws.veTable.sizeMap != ws.settings.veSizeMAP)) {
    ws.veTable.sizeRpm = ws.settings.veSizeRPM;
    ws.veTable.sizeMap = ws.settings.veSizeMAP;
    resized = true;
  }
  return CommandResult::done(resized);
}

}  // namespace tallimar::commands
