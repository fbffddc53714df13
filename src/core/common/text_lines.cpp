// Line splitting for CR LF, LF and CR files, and whole-file reading with a size guard.
#include "common/text_lines.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "common/user_file.h"

namespace tallimar::common {

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\n' || c == '\r') {
      lines.emplace_back(text.substr(start, i - start));
      i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

Expected<std::string> readWholeFile(const std::string& path, std::size_t maxBytes) {
  auto opened = openUserFile(path);
  if (!opened) return Failure{opened.reason()};
  const auto tooLarge = [&] {
    return fail("is larger than " + std::to_string(maxBytes) + " bytes");
  };
  if (opened->size > maxBytes) return tooLarge();
  // Read to the end rather than trusting the size: a file may grow meanwhile, and some
  // (under /proc) report none.
  std::string bytes(static_cast<std::size_t>(opened->size), '\0');
  std::size_t length = 0;
  std::FILE* file = opened->file.get();
  while (true) {
    if (length == bytes.size()) {
      if (length >= maxBytes + 1) break;
      bytes.resize(std::min(maxBytes + 1, std::max<std::size_t>(length * 2, 4096)));
    }
    const std::size_t got = std::fread(bytes.data() + length, 1, bytes.size() - length, file);
    length += got;
    if (got == 0) break;
  }
  if (std::ferror(file)) return fail(std::string("cannot be read: ") + std::strerror(errno));
  if (length > maxBytes) return tooLarge();
  bytes.resize(length);
  return bytes;
}

}  // namespace tallimar::common
