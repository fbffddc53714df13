// Opening a datalog file for the line scanner.
#include "formats/datalog_line_scanner.h"

#include <filesystem>

namespace tallimar::formats {

FilePointer openDatalogFile(const std::string& path, std::string& problem, std::uint64_t* size) {
  // A pipe or a device may never end (/dev/zero): only plain files are datalogs.
  std::error_code ec;
  if (std::filesystem::exists(path, ec) && !std::filesystem::is_regular_file(path, ec)) {
    problem = "is not a file";
    return nullptr;
  }
  FilePointer file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    problem = std::string("cannot be opened: ") + std::strerror(errno);
    return file;
  }
  if (size) {
    *size = 0;
    if (std::fseek(file.get(), 0, SEEK_END) == 0) {
      const long end = std::ftell(file.get());
      if (end > 0) *size = static_cast<std::uint64_t>(end);
    }
    std::rewind(file.get());
  }
  return file;
}

std::string readFailure(const LineScanner& scanner) {
  return std::string("cannot be read: ") + std::strerror(scanner.error());
}

}  // namespace tallimar::formats
