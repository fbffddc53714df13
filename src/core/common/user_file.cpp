// The one way the program opens a user's file for reading.
#include "common/user_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tallimar::common {
namespace {

Failure cannotOpen(int error) {
  return fail(std::string("cannot be opened: ") + std::strerror(error));
}

}  // namespace

Expected<OpenedFile> openUserFile(const std::string& path) {
  // Looked at before opening, so that no device is ever opened (opening some has effects);
  // and again after, on what was really opened, since the name may have changed hands.
  struct stat before {};
  if (::stat(path.c_str(), &before) == 0 && !S_ISREG(before.st_mode)) return fail("is not a file");
  // O_NONBLOCK: a FIFO put in the file's place meanwhile opens at once instead of waiting
  // for a writer; it is refused below. O_NOCTTY: a terminal never becomes ours.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return cannotOpen(errno);
  struct stat opened {};
  if (::fstat(fd, &opened) != 0) {
    const int error = errno;
    ::close(fd);
    return cannotOpen(error);
  }
  if (!S_ISREG(opened.st_mode)) {
    ::close(fd);
    return fail("is not a file");
  }
  // A regular file never blocks, but reads report EAGAIN on some file systems while the flag
  // is set: clear it.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    const int error = errno;
    ::close(fd);
    return cannotOpen(error);
  }
  FilePointer file(::fdopen(fd, "rb"));
  if (!file) {
    const int error = errno;
    ::close(fd);
    return cannotOpen(error);
  }
  return OpenedFile{std::move(file), static_cast<std::uint64_t>(opened.st_size)};
}

}  // namespace tallimar::common
