// Import and export of the VE table as the window's File menu runs them.
#include "commands/ve_map_file_commands.h"

#include "commands/command_options.h"
#include "commands/ve_tune_commands.h"
#include "common/atomic_file.h"
#include "common/text_lines.h"
#include "formats/ve_exchange_writer.h"
#include "formats/ve_map_readers.h"
#include "formats/xml_tune.h"

namespace tallimar::commands {

namespace {

constexpr const char* kTitle = "Tallimar";

std::string initialFolder(const workspace::Workspace& ws, const std::string& programFolder) {
  return ws.settings.incPath.empty() ? programFolder : ws.settings.incPath;
}

CommandResult writeTable(const workspace::Workspace& ws, const std::string& path,
                         common::StatusLog& log) {
  const auto text = formats::veExchangeText(ws.veTable);
  const common::Outcome written = text ? common::writeFileAtomically(path, *text)
                                       : common::Outcome(common::fail(text.reason()));
  if (written) {
    log.append("Finished Exporting");
    return CommandResult::done();
  }
  log.append(written.reason());
  log.append("Export Failed");
  return CommandResult::failed();
}

bool refuse(const std::string& why, common::StatusLog& log) {
  log.append(why);
  log.append("Loading Failed");
  return false;
}

// Reads path by its ending into the Workspace; nothing changes unless the whole file is read.
bool readChosenFile(workspace::Workspace& ws, const std::string& path, common::StatusLog& log) {
  using formats::VeFileKind;
  const VeFileKind kind = formats::veFileKindOf(path);
  if (kind == VeFileKind::Other) return true;  // reads nothing, but counts as loaded
  const auto bytes = common::readWholeFile(path, kMaxVeMapFileBytes);
  if (!bytes) return refuse(fileNameOf(path) + " " + bytes.reason(), log);
  vemap::VeTable table = ws.veTable;
  if (kind == VeFileKind::Msq) {  // only today's XML tunes hold a table this program reads
    const auto tune = formats::readTuneVeTable(*bytes);
    if (!tune) return refuse(fileNameOf(path) + ": " + tune.reason(), log);
    tune->copyInto(table);
    log.append("Tune constants read: " + tune->constantsText());
  } else {
    const common::Outcome read = kind == VeFileKind::Exchange
                                     ? formats::readVeExchange(*bytes, table)
                                     : formats::readMegaTuneDump(*bytes, table);
    if (!read) return refuse(read.reason(), log);
  }
  ws.veTable = table;
  ws.settings.veSizeRPM = table.sizeRpm;
  ws.settings.veSizeMAP = table.sizeMap;
  return true;
}

CommandResult finishImport(workspace::Workspace& ws, const std::string& path,
                           common::StatusLog& log) {
  if (!readChosenFile(ws, path, log)) return CommandResult::failed();
  ws.veTable.lowDensityMapPresent = true;
  log.append("Finished Loading");
  return CommandResult::done(true);
}

}  // namespace

CommandResult saveLdMapCommand(const workspace::Workspace& ws, common::Prompts& prompts,
                               common::StatusLog& log, const std::string& programFolder) {
  log.append("Exporting VE Map");
  const auto path = prompts.saveFile(
      {kExportTitle, kExportFilter, kExportPresetName, "vex", initialFolder(ws, programFolder)});
  if (!path || path->empty()) return CommandResult::cancelled();
  if (isTunePath(*path))
    return saveLdMapToTune(ws, prompts, log, *path, initialFolder(ws, programFolder));
  return writeTable(ws, *path, log);
}

CommandResult exportVeMapFile(const workspace::Workspace& ws, const std::string& path,
                              common::StatusLog& log) {
  log.append("Exporting VE Map");
  return writeTable(ws, path, log);
}

CommandResult openLdMapCommand(workspace::Workspace& ws, common::Prompts& prompts,
                               common::StatusLog& log, const std::string& programFolder) {
  if (ws.veTable.lowDensityMapPresent &&
      prompts.message(kTitle, kOverwriteQuestion, common::MessageButtons::YesNo,
                      common::MessageIcon::None) != common::Answer::Yes) {
    return CommandResult::cancelled();
  }
  log.append("Importing MegaTune Dump File");
  const auto chosen = prompts.openFiles(
      {kImportTitle, kImportFilter, "", "", initialFolder(ws, programFolder)}, false);
  if (chosen.empty() || chosen.front().empty()) return CommandResult::cancelled();
  return finishImport(ws, chosen.front(), log);
}

CommandResult importVeMapFile(workspace::Workspace& ws, const std::string& path,
                              common::StatusLog& log) {
  log.append("Importing MegaTune Dump File");
  return finishImport(ws, path, log);
}

}  // namespace tallimar::commands
