// Splitting text into lines for the readers whose files come with any line end.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/expected.h"

namespace tallimar::common {

// Splits text into lines ended by CR LF, LF or a lone CR. The line ends are not part of
// the lines. A final line without an end is kept; text ending in a line end gives no extra
// empty line. "a\r\r\nb" gives "a", "", "b" (a CR CR LF pair is a lone CR, then CR LF).
std::vector<std::string> splitLines(std::string_view text);

// Reads a whole file as bytes, opened by openUserFile (a regular file only, never blocking).
// Fails when the file cannot be opened or read, or when it is larger than maxBytes (a guard
// against mistaken or hostile huge files). The reason follows the file's name on a status
// line ("is not a file", "cannot be opened: ...", "is larger than N bytes").
Expected<std::string> readWholeFile(const std::string& path, std::size_t maxBytes);

}  // namespace tallimar::common
