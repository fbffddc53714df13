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

bool fail(std::string* error, const std::string& message, const std::string& temporary) {
  if (!temporary.empty()) std::remove(temporary.c_str());
  if (error) *error = message;
  return false;
}

}  // namespace

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
  const std::string temporary = temporaryNameFor(path);
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return fail(error, "cannot create " + temporary + ": " + std::strerror(errno), "");
  const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool flushed = std::fflush(file) == 0;
  const bool closed = std::fclose(file) == 0;
  if (!written || !flushed || !closed)
    return fail(error, "cannot write " + temporary + ": " + std::strerror(errno), temporary);
  std::error_code ec;
  std::filesystem::rename(temporary, path, ec);
  if (ec) return fail(error, "cannot replace " + path + ": " + ec.message(), temporary);
  return true;
}

}  // namespace tallimar::common
