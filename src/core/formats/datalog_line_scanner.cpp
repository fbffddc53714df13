// Opening a datalog file for the line scanner.
#include "formats/datalog_line_scanner.h"

namespace tallimar::formats {

FilePointer openDatalogFile(const std::string& path, std::string& problem, std::uint64_t* size) {
  auto opened = common::openUserFile(path);
  if (!opened) {
    problem = opened.reason();
    return nullptr;
  }
  if (size) *size = opened->size;
  return std::move(opened->file);
}

std::string readFailure(const LineScanner& scanner) {
  return std::string("cannot be read: ") + std::strerror(scanner.error());
}

}  // namespace tallimar::formats
