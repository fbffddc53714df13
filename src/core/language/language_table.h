// The language table: the lines of the last *.Lang translation file read, and the caption
// lookup every window uses to re-caption its controls.
//
// A translation line reads "<window>,<control>,<index>:<caption>", e.g.
// "frmMSMain,mnuExit,:Beenden" or "frmMSMain,mnuLanguage,3:Deutsch"; the index part is
// empty for a control that is not part of a control array.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/expected.h"
#include "common/status_log.h"

namespace tallimar::language {

inline constexpr std::size_t kLanguageTableLines = 501;
// Language files larger than this are refused unread (a full file is some tens of kB).
inline constexpr std::size_t kMaxLanguageFileBytes = std::size_t{4} * 1024 * 1024;

class LanguageTable {
 public:
  // Reads programFolder/<name>.lang (the file name matched ignoring letter case) into the
  // table: line i into entry i, lines ending in CR LF, LF or CR. The table is not cleared
  // first, so entries past the file's last line keep what an earlier file put there. On
  // failure (no such file, unreadable or too large, or a 502nd line) the status line
  // "Failed Reading <name>.Lang - Default is English" is added to log and is the reason of
  // the failure; the lines stored before the failure stay (the first 501 lines of a longer
  // file).
  common::Outcome readFile(const std::string& programFolder, const std::string& name,
                           common::StatusLog& log);

  // Stores the lines of text as readFile does; false (nothing logged) for a 502nd line.
  bool readText(std::string_view text);

  // The caption for one control: the first entry, from the top, that contains
  // "<window>,<control>,<index>:" (case-sensitive) gives its text after its first ":".
  // Empty when no entry contains the key.
  std::string lookupCaption(std::string_view window, std::string_view control,
                            std::string_view index) const;

  const std::string& line(std::size_t i) const { return m_lines.at(i); }

 private:
  std::array<std::string, kLanguageTableLines> m_lines;
};

// A language menu entry: the file names of the *.Lang files of folder (extension matched
// ignoring case), alphabetically, at most `limit` of them, each with its menu caption (the
// name up to its first ".") and its language name (the name without its extension, the
// text stored in the "Language" setting when the entry is chosen).
struct LanguageChoice {
  std::string fileName;
  std::string caption;
  std::string language;
};
std::vector<LanguageChoice> listLanguages(const std::string& programFolder, std::size_t limit);

}  // namespace tallimar::language
