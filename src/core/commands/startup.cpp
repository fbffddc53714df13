// The start-up sequence, in the order the program has always followed.
#include "commands/startup.h"

#include "formats/factor_table_loader.h"
#include "settings/settings_io.h"

namespace tallimar::commands {

CommandResult runStartup(workspace::Workspace& workspace, const settings::SettingsStore& store,
                         common::StatusLog& log, StartupWindow& window) {
  window.fillLanguageMenu();
  window.placeWindow();
  window.setTitle();
  window.applyLanguage(settings::readLanguage(store));

  // Reading has no side effects, so the whole record is read here at once; the steps
  // below use the fields in the order the program always has.
  settings::Settings& settings = workspace.settings;
  settings::loadSettings(store, settings);

  workspace.factors.setIdentity();
  if (settings.incPath.empty())
    log.append(kNoIncPathWarning);
  else
    formats::loadAllFactorTables(settings.incPath, workspace.factors, log);

  window.showPlotLimits(settings);
  window.setPrintPreview(settings::readPrintPreview(store));

  workspace.veTable.sizeRpm = settings.veSizeRPM;
  workspace.veTable.sizeMap = settings.veSizeMAP;
  workspace.veTable.setStartupBins();
  log.append("Ready");
  return CommandResult::done(true);
}

}  // namespace tallimar::commands
