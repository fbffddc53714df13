// "Create Table" of the wide-band factor creator.
#include "commands/wb_factor_command.h"

#include <filesystem>
#include <system_error>

#include "common/atomic_file.h"

namespace tallimar::commands {
namespace {

void say(common::Prompts& prompts, const std::string& text, common::MessageIcon icon) {
  prompts.message("Tallimar", text, common::MessageButtons::Ok, icon);
}

}  // namespace

bool sameFolder(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return a.empty() && b.empty();
  std::error_code error;
  const bool same = std::filesystem::equivalent(a, b, error);
  if (!error) return same;
  auto plain = [](const std::string& folder) {
    std::filesystem::path path = std::filesystem::path(folder).lexically_normal();
    std::string text = path.string();
    while (text.size() > 1 && (text.back() == '/' || text.back() == '\\')) text.pop_back();
    return text;
  };
  return plain(a) == plain(b);
}

CommandResult createWbFactorTable(const std::vector<tools::WbRow>& rows,
                                  const std::string& programFolder, const std::string& incPath,
                                  common::Prompts& prompts) {
  const int used = tools::usedWbRows(rows);
  if (used < tools::kWbMinRows) {
    say(prompts, "Not Enough Data Points", common::MessageIcon::None);
    return CommandResult::refused();
  }
  std::vector<tools::WbPoint> points;
  points.reserve(static_cast<std::size_t>(used));
  for (int i = 0; i < used; ++i)
    points.push_back(tools::wbPoint(rows[static_cast<std::size_t>(i)]));
  if (const common::Outcome checked = tools::checkWbPoints(points); !checked) {
    say(prompts, checked.reason(), common::MessageIcon::Stop);
    return CommandResult::refused();
  }

  const std::string text = tools::wbFactorFileText(tools::wbFineTable(points));
  const std::string path =
      (std::filesystem::path(programFolder) / tools::kWbFactorFileName).string();
  const common::Outcome saved = common::writeFileAtomically(path, text);
  if (!saved) {
    say(prompts, "Could not write the wide-band factor table to " + path + ": " + saved.reason(),
        common::MessageIcon::Stop);
    return CommandResult::failed();
  }
  std::string done = "The wide-band factor table was written to " + path + ".";
  if (!sameFolder(programFolder, incPath))
    done += incPath.empty()
                ? "\n\nTallimar loads its factor tables from the folder set as \"INCPath\" in "
                  "Settings, and none is set: set it to this folder, or copy the file into the "
                  "folder you choose."
                : "\n\nTallimar loads its factor tables from the \"INCPath\" folder " + incPath +
                      ": copy the file there, or set \"INCPath\" to this folder in Settings.";
  say(prompts, done, common::MessageIcon::Information);
  return CommandResult::done();
}

}  // namespace tallimar::commands
