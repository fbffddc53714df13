// Import and export of the VE table as the window's File menu runs them.
#include "files/ve_map_file_commands.h"

#include <filesystem>

#include "commands/ve_tune_commands.h"
#include "common/atomic_file.h"
#include "common/text_lines.h"
#include "files/ve_exchange_writer.h"
#include "files/ve_map_readers.h"
#include "files/xml_tune.h"

namespace tallimar::files {

namespace {

constexpr const char* kTitle = "Tallimar";

std::string initialFolder(const workspace::Workspace& ws, const std::string& programFolder) {
  return ws.settings.incPath.empty() ? programFolder : ws.settings.incPath;
}

bool writeTable(const workspace::Workspace& ws, const std::string& path, common::StatusLog& log) {
  std::string error;
  const auto text = veExchangeText(ws.veTable, &error);
  if (text && common::writeFileAtomically(path, *text, &error)) {
    log.append("Finished Exporting");
    return true;
  }
  if (!error.empty()) log.append(error);
  log.append("Export Failed");
  return false;
}

std::string fileNameOf(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

bool refuse(const std::string& why, common::StatusLog& log) {
  log.append(why);
  log.append("Loading Failed");
  return false;
}

// Reads path by its ending into the Workspace; nothing changes unless the whole file is read.
bool readChosenFile(workspace::Workspace& ws, const std::string& path, common::StatusLog& log) {
  const VeFileKind kind = veFileKindOf(path);
  if (kind == VeFileKind::Other) return true;  // reads nothing, but counts as loaded
  std::string bytes;
  if (!common::readWholeFile(path, bytes, kMaxVeMapFileBytes)) {
    return refuse("Could not read " + path + " (missing, unreadable or too large)", log);
  }
  vemap::VeTable table = ws.veTable;
  VeReadResult result;
  switch (kind) {
    case VeFileKind::Exchange:
      result = readVeExchange(bytes, table);
      break;
    case VeFileKind::Dump:
      result = readMegaTuneDump(bytes, table);
      break;
    default: {  // a tune: only today's XML tunes hold a table this program reads
      const auto tune = readTuneVeTable(bytes);
      if (!tune) return refuse(fileNameOf(path) + ": " + tune.reason(), log);
      tune->copyInto(table);
      log.append("Tune constants read: " + tune->constantsText());
      result.ok = true;
      break;
    }
  }
  if (!result.ok) return refuse(result.error, log);
  ws.veTable = table;
  ws.settings.veSizeRPM = table.sizeRpm;
  ws.settings.veSizeMAP = table.sizeMap;
  return true;
}

VeImportOutcome finishImport(workspace::Workspace& ws, const std::string& path,
                             common::StatusLog& log) {
  if (!readChosenFile(ws, path, log)) return {};
  ws.veTable.lowDensityMapPresent = true;
  log.append("Finished Loading");
  return {true, vemap::redrawAfterTableChange(ws.rawDataMapPresent)};
}

}  // namespace

bool saveLdMapCommand(const workspace::Workspace& ws, common::Prompts& prompts,
                      common::StatusLog& log, const std::string& programFolder) {
  log.append("Exporting VE Map");
  const auto path = prompts.saveFile(
      {kExportTitle, kExportFilter, kExportPresetName, "vex", initialFolder(ws, programFolder)});
  if (!path || path->empty()) return false;
  if (commands::isTunePath(*path)) {
    return commands::saveLdMapToTune(ws, prompts, log, *path, initialFolder(ws, programFolder))
        .ok();
  }
  return writeTable(ws, *path, log);
}

bool exportVeMapFile(const workspace::Workspace& ws, const std::string& path,
                     common::StatusLog& log) {
  log.append("Exporting VE Map");
  return writeTable(ws, path, log);
}

VeImportOutcome openLdMapCommand(workspace::Workspace& ws, common::Prompts& prompts,
                                 common::StatusLog& log, const std::string& programFolder) {
  if (ws.veTable.lowDensityMapPresent &&
      prompts.message(kTitle, kOverwriteQuestion, common::MessageButtons::YesNo,
                      common::MessageIcon::None) != common::Answer::Yes) {
    return {};
  }
  log.append("Importing MegaTune Dump File");
  const auto files = prompts.openFiles(
      {kImportTitle, kImportFilter, "", "", initialFolder(ws, programFolder)}, false);
  if (files.empty() || files.front().empty()) return {};
  return finishImport(ws, files.front(), log);
}

VeImportOutcome importVeMapFile(workspace::Workspace& ws, const std::string& path,
                                common::StatusLog& log) {
  log.append("Importing MegaTune Dump File");
  return finishImport(ws, path, log);
}

}  // namespace tallimar::files
