// Opening a file the user named, for reading. Every reader of user-chosen files (datalogs,
// raw data maps, VE exchange, dump and tune files, factor tables, language files) comes
// through here, so that one rule holds for all: only a regular file is read, and opening
// never blocks (a FIFO with no writer would block open() forever; /dev/zero never ends).
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "common/expected.h"

namespace tallimar::common {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

struct OpenedFile {
  FilePointer file;        // open for reading in binary mode, at its start
  std::uint64_t size = 0;  // the size the file had when it was opened
};

// Opens path for reading when it is a regular file (a symbolic link to one included).
// Refused, without blocking and without reading a byte, with the reason "is not a file"
// (a folder, FIFO, socket or device) or "cannot be opened: <system reason>". The reason is
// meant to follow the file's name on a status line.
Expected<OpenedFile> openUserFile(const std::string& path);

}  // namespace tallimar::common
