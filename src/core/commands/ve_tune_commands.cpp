// Writing the VE table into a copy of a tune file, with the base tune chosen by the user.
#include "commands/ve_tune_commands.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "common/atomic_file.h"
#include "common/text_lines.h"
#include "formats/xml_tune.h"

namespace tallimar::commands {

namespace {

constexpr const char* kTitle = "Tallimar";

std::string fileNameOf(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

std::string folderOf(const std::string& path) {
  return std::filesystem::path(path).parent_path().string();
}

bool exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

common::Expected<std::string> readTune(const std::string& path) {
  auto bytes = common::readWholeFile(path, formats::kMaxTuneFileBytes);
  if (!bytes) return common::fail(fileNameOf(path) + " " + bytes.reason());
  return std::move(bytes).value();
}

CommandResult exportFailed(const std::string& why, common::StatusLog& log) {
  log.append(why);
  log.append("Export Failed");
  return CommandResult::failed();
}

// The base's bytes with the current table in them, written atomically to outPath.
CommandResult writeInto(const workspace::Workspace& ws, const std::string& basePath,
                        const std::string& baseBytes, const std::string& outPath,
                        common::StatusLog& log) {
  const auto written = formats::writeTuneVeTable(baseBytes, ws.veTable);
  if (!written) return exportFailed(fileNameOf(basePath) + ": " + written.reason(), log);
  const common::Outcome saved = common::writeFileAtomically(outPath, written->bytes);
  if (!saved) return exportFailed(saved.reason(), log);
  log.append("Tune constants written: " + written->constantsText + " into " + fileNameOf(outPath));
  log.append("Finished Exporting");
  return CommandResult::done();
}

}  // namespace

bool isTunePath(std::string_view path) {
  if (path.size() < 4) return false;
  std::string ending(path.substr(path.size() - 4));
  std::transform(ending.begin(), ending.end(), ending.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ending == ".msq";
}

std::string updateTuneQuestion(const std::string& fileName) {
  return fileName +
         " is a tune file. Replace its VE table and bins with the current table? Everything "
         "else in the tune is kept.";
}

CommandResult saveLdMapToTune(const workspace::Workspace& ws, common::Prompts& prompts,
                              common::StatusLog& log, const std::string& outPath,
                              const std::string& initialFolder) {
  // A tune that already holds a VE table is updated in place, once the user agrees.
  if (exists(outPath)) {
    const auto current = readTune(outPath);
    if (current && formats::readTuneVeTable(*current)) {
      if (prompts.message(kTitle, updateTuneQuestion(fileNameOf(outPath)),
                          common::MessageButtons::YesNo,
                          common::MessageIcon::Question) != common::Answer::Yes) {
        return CommandResult::cancelled();
      }
      return writeInto(ws, outPath, *current, outPath, log);
    }
  }
  // Otherwise everything but the table comes from a tune the user picks.
  const std::string outFolder = folderOf(outPath);
  const auto chosen = prompts.openFiles(
      {kBaseTuneTitle, kTuneFilter, "", "msq", outFolder.empty() ? initialFolder : outFolder},
      false);
  if (chosen.empty() || chosen.front().empty()) return CommandResult::cancelled();
  const auto base = readTune(chosen.front());
  if (!base) return exportFailed(base.reason(), log);
  return writeInto(ws, chosen.front(), *base, outPath, log);
}

CommandResult exportVeMapToTune(const workspace::Workspace& ws, const std::string& basePath,
                                const std::string& outPath, common::StatusLog& log) {
  log.append("Exporting VE Map");
  const auto base = readTune(basePath);
  if (!base) return exportFailed(base.reason(), log);
  return writeInto(ws, basePath, *base, outPath, log);
}

}  // namespace tallimar::commands
