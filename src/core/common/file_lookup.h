// Finding a file by name in a folder without regard to letter case, as the program's
// factor tables and language files are named on the systems they come from
// ("kpafactor.inc" found as "kPaFactor.inc", "Deutsch.Lang" opened as "Deutsch.lang").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallimar::common {

// ASCII letter case folded to lower case; other bytes unchanged.
std::string toLowerAscii(std::string_view text);

// The full path of the regular file in folder whose name equals name ignoring ASCII letter
// case. An exact match wins; among several case variants the first in byte order wins.
// Only regular files (symbolic links to them included) count, so that a folder or a FIFO
// of that name is never opened. nullopt when there is none, the folder cannot be listed, or
// name is empty or holds a folder separator ("/" or "\": it must name a file in folder).
std::optional<std::string> findFileIgnoringCase(const std::string& folder, std::string_view name);

// Names (not paths) of the regular files in folder whose name ends in extension ignoring
// letter case (extension with its ".", e.g. ".lang"), sorted alphabetically ignoring case,
// byte order between names that differ only in case. Empty when the folder cannot be listed.
std::vector<std::string> listFilesWithExtension(const std::string& folder,
                                                std::string_view extension);

}  // namespace tallimar::common
