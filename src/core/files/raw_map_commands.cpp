// Open and save commands of the raw data map file and the crossover export.
#include "files/raw_map_commands.h"

#include <ctime>

#include "common/atomic_file.h"
#include "common/number_text.h"
#include "files/crossover_export.h"
#include "files/raw_map_file.h"
#include "workspace/workspace.h"

namespace tallimar::files {
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

CommandResult saveFailed(common::StatusLog& status, const std::string& why) {
  status.append("Save Failed");
  status.append(why);
  return CommandResult::Failed;
}

CommandResult writeOrFail(const std::string& path, const std::string& bytes,
                          common::StatusLog& status) {
  std::string error;
  if (!common::writeFileAtomically(path, bytes, &error)) return saveFailed(status, error);
  status.append("Finished Saving");
  return CommandResult::Done;
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
  const auto files = prompts.openFiles(request, false);
  if (files.empty()) return CommandResult::Cancelled;
  std::string problem;
  if (!loadRawMapFile(files.front(), workspace.rawMap, problem)) {
    status.append("Loading Failed");
    status.append(fileNameOf(files.front()) + " " + problem);
    return CommandResult::Failed;
  }
  status.append("Loading Finished");
  workspace.rawDataMapPresent = true;
  return CommandResult::Done;
}

CommandResult saveRawDataMap(workspace::Workspace& workspace, common::Prompts& prompts,
                             common::StatusLog& status, const CommandOptions& options) {
  if (!workspace.rawDataMapPresent) {
    prompts.message(kTitle, "Nothing to save", MessageButtons::Ok, MessageIcon::None);
    return CommandResult::Refused;
  }
  status.append("Saving Raw Data Map");
  common::FileRequest request;
  request.title = "Save Raw Data Map";
  request.filter = "*.HDMAP";
  request.defaultExtension = "HDMAP";
  request.presetName =
      "Raw Data Map at " + common::shortestText(workspace.settings.o2Transfer) + " Volts.HDMAP";
  request.initialFolder = options.programFolder;
  const auto path = prompts.saveFile(request);
  if (!path) return CommandResult::Cancelled;
  OverfullCell overfull;
  const auto bytes = encodeRawMapFile(workspace.rawMap, &overfull);
  if (!bytes) {
    return saveFailed(status, "The raw data map cell at RPM " +
                                  std::to_string(overfull.rpmIndex * 100) + " and MAP " +
                                  std::to_string(overfull.mapKpa) + " holds " +
                                  std::to_string(overfull.bytes) +
                                  " bytes of values, more than a raw data map file can hold (" +
                                  std::to_string(kMaxRawMapValuesBytes) + ")");
  }
  return writeOrFail(*path, *bytes, status);
}

CommandResult saveCrossoverPoints(workspace::Workspace& workspace, common::Prompts& prompts,
                                  common::StatusLog& status, const CommandOptions& options) {
  if (!workspace.datalogPresent && !workspace.rawDataMapPresent) {
    prompts.message(kTitle, "Nothing to save, open a datalog or high density map first",
                    MessageButtons::Ok, MessageIcon::None);
    return CommandResult::Refused;
  }
  status.append("Saving Crossover Point List");
  common::FileRequest request;
  request.title = "Save Crossover Points";
  request.filter = "*.xls";
  request.defaultExtension = "xls";
  request.presetName =
      "TransferPoints at " + common::shortestText(workspace.settings.o2Transfer) + " Volts.xls";
  request.initialFolder = options.programFolder;
  const auto path = prompts.saveFile(request);
  if (!path) return CommandResult::Cancelled;
  std::string problem;
  const std::string dateTime = options.dateTime ? options.dateTime() : localDateTime();
  const auto text = buildCrossoverExport(workspace.rawMap, workspace.crossovers, workspace.settings,
                                         dateTime, problem);
  if (!text) return saveFailed(status, "Cannot export: " + problem);
  return writeOrFail(*path, *text, status);
}

}  // namespace tallimar::files
