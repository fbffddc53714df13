// Case-insensitive file lookup and listing in one folder.
#include "common/file_lookup.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace tallimar::common {
namespace fs = std::filesystem;

std::string toLowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

namespace {

bool isRegularFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

// Names of the regular files in folder, in byte order; empty if it cannot be listed.
std::vector<std::string> regularFileNames(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) return names;
  for (const fs::directory_iterator end; it != end; it.increment(error)) {
    if (error) break;
    if (isRegularFile(it->path())) names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::optional<std::string> findFileIgnoringCase(const std::string& folder, std::string_view name) {
  if (folder.empty() || name.empty() || name.find_first_of("/\\") != std::string_view::npos)
    return std::nullopt;
  const fs::path exact = fs::path(folder) / std::string(name);
  if (isRegularFile(exact)) return exact.string();
  const std::string wanted = toLowerAscii(name);
  for (const auto& candidate : regularFileNames(folder))
    if (toLowerAscii(candidate) == wanted) return (fs::path(folder) / candidate).string();
  return std::nullopt;
}

std::vector<std::string> listFilesWithExtension(const std::string& folder,
                                                std::string_view extension) {
  const std::string wanted = toLowerAscii(extension);
  std::vector<std::string> matching;
  for (auto& candidate : regularFileNames(folder)) {
    const std::string lower = toLowerAscii(candidate);
    if (lower.size() > wanted.size() && lower.ends_with(wanted)) matching.push_back(candidate);
  }
  std::stable_sort(
      matching.begin(), matching.end(),
      [](const std::string& a, const std::string& b) { return toLowerAscii(a) < toLowerAscii(b); });
  return matching;
}

}  // namespace tallimar::common
