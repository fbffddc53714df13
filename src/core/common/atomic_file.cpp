// Whole-file writes through a temporary file and a rename.
#include "common/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

namespace tallimar::common {
namespace {

std::string temporaryNameFor(const std::string& path) {
  std::random_device device;
  return path + ".tmp" + std::to_string(device() % 1000000u);
}

Failure removeAndFail(const std::string& temporary, std::string message) {
  if (!temporary.empty()) std::remove(temporary.c_str());
  return fail(std::move(message));
}

}  // namespace

Outcome writeFileAtomically(const std::string& path, std::string_view bytes) {
  const std::string temporary = temporaryNameFor(path);
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return removeAndFail("", "cannot create " + temporary + ": " + std::strerror(errno));
  const bool written =
      bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool flushed = std::fflush(file) == 0;
  const bool closed = std::fclose(file) == 0;
  if (!written || !flushed || !closed)
    return removeAndFail(temporary, "cannot write " + temporary + ": " + std::strerror(errno));
  std::error_code ec;
  std::filesystem::rename(temporary, path, ec);
  if (ec) return removeAndFail(temporary, "cannot replace " + path + ": " + ec.message());
  return {};
}

}  // namespace tallimar::common
