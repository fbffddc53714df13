// Open and save commands of the raw data map file and the crossover export.
#include "commands/raw_map_commands.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "commands/raw_map_revision.h"
#include "common/atomic_file.h"
#include "common/number_text.h"
#include "engine/raw_map_builder.h"
#include "formats/crossover_export.h"
#include "formats/raw_map_file.h"

namespace tallimar::commands {
namespace {

using common::MessageButtons;
using common::MessageIcon;

constexpr const char* kTitle = "Tallimar";

std::string localDateTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[64];
  const std::size_t length = std::strftime(text, sizeof text, "%x %X", &local);
  return std::string(text, length);
}

// Every save and load says why it failed, then ends on its failure line.
CommandResult failedWith(common::StatusLog& status, const std::string& why, const char* line) {
  status.append(why);
  status.append(line);
  return CommandResult::failed();
}

CommandResult writeOrFail(const std::string& path, const common::StreamWriter& write,
                          common::StatusLog& status) {
  const common::Outcome written = common::writeFileAtomically(path, write);
  if (!written) return failedWith(status, written.reason(), "Save Failed");
  status.append("Finished Saving");
  return CommandResult::done();
}

std::string bytesText(std::uint64_t count) {
  return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

// The save dialog of both saves: it starts in the program's folder with a preset name that
// carries the transfer voltage the file was made with ("<stem><O2Transfer> Volts.<ext>").
std::optional<std::string> askSavePath(common::Prompts& prompts, const char* title,
                                       const std::string& extension, const std::string& stem,
                                       const settings::Settings& settings,
                                       const CommandOptions& options) {
  common::FileRequest request;
  request.title = title;
  request.filter = "*." + extension;
  request.defaultExtension = extension;
  request.presetName = stem + common::shortestText(settings.o2Transfer) + " Volts." + extension;
  request.initialFolder = options.programFolder;
  return prompts.saveFile(request);
}

}  // namespace

CommandResult openRawDataMap(workspace::Workspace& workspace, common::Prompts& prompts,
                             common::StatusLog& status, const CommandOptions& options) {
  status.append("Loading Raw Data Map");
  common::FileRequest request;
  request.title = "Open Raw Data Map";
  request.filter = "*.HDMAP";
  request.presetName = "*.HDMAP";
  request.initialFolder = options.programFolder;
  const auto chosen = prompts.openFiles(request, false);
  if (chosen.empty()) return CommandResult::cancelled();
  std::uint64_t extraBytes = 0;
  auto loaded = formats::loadRawMapFile(chosen.front(), &extraBytes);
  if (!loaded)
    return failedWith(status, fileNameOf(chosen.front()) + " " + loaded.reason(), "Loading Failed");
  workspace.rawMap = std::move(loaded).value();
  if (extraBytes > 0)
    status.append("Extra data after the last record ignored: " + bytesText(extraBytes));
  status.append("Loading Finished");
  workspace.rawDataMapPresent = true;
  rawMapChanged(workspace, status);
  return CommandResult::done(true);
}

CommandResult saveRawDataMap(workspace::Workspace& workspace, common::Prompts& prompts,
                             common::StatusLog& status, const CommandOptions& options) {
  if (!workspace.rawDataMapPresent) {
    prompts.message(kTitle, "Nothing to save", MessageButtons::Ok, MessageIcon::None);
    return CommandResult::refused();
  }
  status.append("Saving Raw Data Map");
  const auto path = askSavePath(prompts, "Save Raw Data Map", "HDMAP", "Raw Data Map at ",
                                workspace.settings, options);
  if (!path) return CommandResult::cancelled();
  // Streamed cell by cell: a map of gigabytes is never held twice.
  const engine::RawDataMap& map = workspace.rawMap;
  return writeOrFail(
      *path, [&map](std::ostream& out) { return formats::writeRawMapFile(map, out); }, status);
}

CommandResult saveCrossoverPoints(workspace::Workspace& workspace, common::Prompts& prompts,
                                  common::StatusLog& status, const CommandOptions& options) {
  if (!workspace.datalogPresent && !workspace.rawDataMapPresent) {
    prompts.message(kTitle, "Nothing to save, open a datalog or high density map first",
                    MessageButtons::Ok, MessageIcon::None);
    return CommandResult::refused();
  }
  status.append("Saving Crossover Point List");
  const auto path = askSavePath(prompts, "Save Crossover Points", "xls", "TransferPoints at ",
                                workspace.settings, options);
  if (!path) return CommandResult::cancelled();
  const std::string dateTime = options.dateTime ? options.dateTime() : localDateTime();
  return writeOrFail(
      *path,
      [&workspace, &dateTime](std::ostream& out) -> common::Outcome {
        const common::Outcome written = formats::writeCrossoverExport(
            workspace.rawMap, workspace.crossovers, workspace.settings, dateTime, out);
        if (!written) return common::fail("Cannot export: " + written.reason());
        return {};
      },
      status);
}

CommandResult clearRawDataMapCommand(workspace::Workspace& workspace, common::StatusLog& status,
                                     engine::CrossoverList& list) {
  status.append("Clearing Crossover Array");
  engine::clearRawDataMap(workspace.rawMap);
  workspace.rawDataMapPresent = false;
  list.clear();
  status.append("Finished Clearing Array");
  rawMapChanged(workspace, status);
  return CommandResult::done(true);
}

}  // namespace tallimar::commands
