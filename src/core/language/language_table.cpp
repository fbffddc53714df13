// Reading translation files into the 501-line table and looking captions up.
#include "language/language_table.h"

#include <algorithm>

#include "common/file_lookup.h"
#include "common/text_lines.h"

namespace tallimar::language {

bool LanguageTable::readText(std::string_view text) {
  const std::vector<std::string> lines = common::splitLines(text);
  const std::size_t stored = std::min(lines.size(), m_lines.size());
  for (std::size_t i = 0; i < stored; ++i) m_lines[i] = lines[i];
  return lines.size() <= m_lines.size();
}

common::Outcome LanguageTable::readFile(const std::string& programFolder, const std::string& name,
                                        common::StatusLog& log) {
  bool ok = false;
  if (const auto path = common::findFileIgnoringCase(programFolder, name + ".lang")) {
    const auto bytes = common::readWholeFile(*path, kMaxLanguageFileBytes);
    ok = bytes && readText(*bytes);
  }
  if (ok) return {};
  const std::string line = "Failed Reading " + name + ".Lang - Default is English";
  log.append(line);
  return common::fail(line);
}

std::string LanguageTable::lookupCaption(std::string_view window, std::string_view control,
                                         std::string_view index) const {
  std::string key;
  key.append(window).append(",").append(control).append(",").append(index).append(":");
  for (const std::string& entry : m_lines) {
    if (entry.find(key) == std::string::npos) continue;
    return entry.substr(entry.find(':') + 1);
  }
  return {};
}

std::vector<LanguageChoice> listLanguages(const std::string& programFolder, std::size_t limit) {
  std::vector<LanguageChoice> choices;
  for (const std::string& fileName : common::listFilesWithExtension(programFolder, ".lang")) {
    if (choices.size() == limit) break;
    choices.push_back({fileName, fileName.substr(0, fileName.find('.')),
                       fileName.substr(0, fileName.size() - 5)});
  }
  return choices;
}

}  // namespace tallimar::language
