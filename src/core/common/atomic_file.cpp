// Whole-file saves through a temporary file beside the real target, a flush and a rename.
#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <random>
#include <streambuf>
#include <vector>

namespace tallimar::common {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxLinks = 40;  // as the system allows in one path

// An output buffer over a file descriptor that remembers the first write error.
class DescriptorBuffer : public std::streambuf {
 public:
  explicit DescriptorBuffer(int fd) : m_fd(fd), m_buffer(std::size_t{1} << 16) { reset(); }
  int error() const { return m_error; }

 protected:
  int_type overflow(int_type c) override {
    if (!flush()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
  }
  std::streamsize xsputn(const char* data, std::streamsize count) override {
    if (static_cast<std::size_t>(count) < m_buffer.size())
      return std::streambuf::xsputn(data, count);
    // Large pieces (a cell's values) go straight to the file.
    return flush() && writeAll(data, static_cast<std::size_t>(count)) ? count : 0;
  }
  int sync() override { return flush() ? 0 : -1; }

 private:
  void reset() { setp(m_buffer.data(), m_buffer.data() + m_buffer.size()); }
  bool flush() {
    const bool written = writeAll(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    reset();
    return written;
  }
  bool writeAll(const char* data, std::size_t count) {
    while (count > 0 && m_error == 0) {
      const ssize_t written = ::write(m_fd, data, count);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        m_error = written < 0 ? errno : EIO;
        break;
      }
      data += written;
      count -= static_cast<std::size_t>(written);
    }
    return m_error == 0;
  }

  int m_fd;
  std::vector<char> m_buffer;
  int m_error = 0;
};

// The temporary file of one save: removed unless it was renamed over the target.
class TemporaryFile {
 public:
  ~TemporaryFile() {
    if (fd >= 0) ::close(fd);
    if (!path.empty()) ::unlink(path.c_str());
  }
  // Creates a new file beside target with the given mode; errno on failure. Its name is
  // short and hidden, whatever the length of the target's name.
  bool create(const fs::path& target, mode_t mode) {
    std::random_device device;
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::string name =
          (target.parent_path() / (".tallimar-save." + std::to_string(device() % 1000000u)))
              .string();
      fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
      if (fd >= 0) {
        path = name;
        return true;
      }
      if (errno != EEXIST) return false;
    }
    return false;
  }
  int close() {
    const int result = ::close(fd);
    fd = -1;
    return result;
  }
  void keep() { path.clear(); }

  std::string path;
  int fd = -1;
};

std::string nameOf(const std::string& path) {
  const std::string name = fs::path(path).filename().string();
  return name.empty() ? path : name;
}

std::string because(int error) { return std::strerror(error != 0 ? error : EIO); }

// The file a save must replace: path with every symbolic link on the way followed (the last
// component only; the folders are opened by the system as they are).
Expected<fs::path> finalTarget(const std::string& path) {
  fs::path current = path;
  for (int links = 0; links <= kMaxLinks; ++links) {
    struct stat info {};
    if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    std::error_code error;
    const fs::path target = fs::read_symlink(current, error);
    if (error) return fail("cannot be written: " + error.message());
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  return fail("cannot be written: " + because(ELOOP));
}

// Best effort: the rename is on the disk once the folder is. A folder that cannot be
// flushed (some file systems refuse) does not undo a save that has happened.
void flushFolderOf(const fs::path& target) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Whether target may be replaced: nothing there yet, or a regular file the user may write.
// access() says yes to root for every file: a file without any write bit is read-only too.
Outcome checkTarget(const fs::path& target, const struct stat* old) {
  if (!old) return {};
  if (!S_ISREG(old->st_mode)) return fail("is not a file");
  if ((old->st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
    return fail("is read-only");
  return {};
}

// Saves into target; failures of the file are named after `name`, the user's file.
Outcome saveInto(const fs::path& target, const std::string& name, const StreamWriter& write) {
  const auto refused = [&name](const std::string& what) { return fail(name + " " + what); };
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (const Outcome allowed = checkTarget(target, exists ? &old : nullptr); !allowed)
    return refused(allowed.reason());

  TemporaryFile temporary;
  if (!temporary.create(target, exists ? 0600 : 0666))
    return refused("cannot be written: " + because(errno));
  if (exists) {
    // The owner first: changing it may clear set-id bits, which the mode then restores.
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
      (void)::fchown(temporary.fd, old.st_uid, old.st_gid);  // allowed for root only
    if (::fchmod(temporary.fd, old.st_mode & 07777) != 0)
      return refused("cannot be written: " + because(errno));
  }

  DescriptorBuffer buffer(temporary.fd);
  std::ostream out(&buffer);
  if (const Outcome written = write(out); !written) return written;
  out.flush();
  if (!out || buffer.error() != 0) return refused("cannot be written: " + because(buffer.error()));
  // On the disk before the rename, so that a crash leaves the old file or the new one whole.
  if (::fsync(temporary.fd) != 0 || temporary.close() != 0)
    return refused("cannot be written: " + because(errno));
  if (::rename(temporary.path.c_str(), target.c_str()) != 0)
    return refused("cannot be replaced: " + because(errno));
  temporary.keep();
  flushFolderOf(target);
  return {};
}

}  // namespace

Outcome writeFileAtomically(const std::string& path, const StreamWriter& write) {
  const auto target = finalTarget(path);
  if (!target) return fail(nameOf(path) + " " + target.reason());
  return saveInto(*target, nameOf(path), write);
}

Outcome checkSaveTarget(const std::string& path) {
  const auto target = finalTarget(path);
  if (!target) return fail(nameOf(path) + " " + target.reason());
  struct stat old {};
  const bool exists = ::stat(target->c_str(), &old) == 0;
  if (const Outcome allowed = checkTarget(*target, exists ? &old : nullptr); !allowed)
    return fail(nameOf(path) + " " + allowed.reason());
  return {};
}

Outcome writeFileAtomically(const std::string& path, std::string_view bytes) {
  return writeFileAtomically(path, [bytes](std::ostream& out) {
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return Outcome();
  });
}

}  // namespace tallimar::common
