// Reading a datalog file line by line from a large buffer: the line scanner the datalog readers
// share, and opening a file for it.
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "common/user_file.h"
#include "formats/datalog_line.h"
#include "formats/datalog_plain_lines.h"

namespace tallimar::formats {

inline constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
inline constexpr std::size_t kFillBytes = std::size_t{1} << 18;
inline constexpr std::size_t kKeptPrefixBytes = 64;  // what is kept of a line too long to hold

using common::FilePointer;

// Hands out the lines of a file one by one, from a buffer refilled in large chunks. A line
// ends at `terminator`; with crLf a LF right after the CR belongs to the line end.
class LineScanner {
 public:
  struct Line {
    std::string_view text;    // without the line end; valid until the next call
    bool terminated = false;  // false for a last line that runs to the end of the file
    bool tooLong = false;     // longer than kMaxDatalogLineBytes: text holds its beginning
  };

  LineScanner(std::FILE* file, char terminator, bool crLf)
      : m_file(file),
        m_terminator(terminator),
        m_crLf(crLf),
        m_buffer(new char[kBufferBytes + kPlainLinesPadding]) {}

  bool next(Line& line) {
    m_begin = m_lineEnd;
    m_scanned = std::max(m_scanned, m_begin);
    while (true) {
      if (m_skipLf) {
        if (m_begin == m_size && !fill()) return false;
        if (m_buffer[m_begin] == '\n') ++m_begin;
        m_skipLf = false;
        m_scanned = std::max(m_scanned, m_begin);
      }
      const void* found = std::memchr(m_buffer.get() + m_scanned, m_terminator, m_size - m_scanned);
      if (found) {
        const auto end = static_cast<std::size_t>(static_cast<const char*>(found) - m_buffer.get());
        const bool tooLong = end - m_begin > kMaxDatalogLineBytes;
        if (tooLong) m_longPrefix.assign(m_buffer.get() + m_begin, kKeptPrefixBytes);
        line = {tooLong ? std::string_view(m_longPrefix)
                        : std::string_view(m_buffer.get() + m_begin, end - m_begin),
                true, tooLong};
        finishLineAt(end);
        return true;
      }
      m_scanned = m_size;
      if (m_size - m_begin > kMaxDatalogLineBytes) return skipLongLine(line);
      if (m_eof || !fill()) {
        if (m_begin == m_size) return false;
        line = {std::string_view(m_buffer.get() + m_begin, m_size - m_begin), false, false};
        m_lineEnd = m_size;
        return true;
      }
    }
  }

  // The whole lines in the buffer from the next line on, read ahead when the buffer holds
  // none; empty at the end of the file and where a line is too long to hold (next() deals
  // with both). kPlainLinesPadding bytes after them are readable. With crLf a CR at the very
  // end of the buffer waits for the next read, which tells whether an LF belongs to it.
  std::string_view wholeLines() {
    m_begin = m_lineEnd;
    while (true) {
      if (m_skipLf) {
        if (m_begin == m_size && !fill()) return {};
        if (m_buffer[m_begin] == '\n') ++m_begin;
        m_skipLf = false;
        m_lineEnd = m_begin;
      }
      m_scanned = std::max(m_scanned, m_begin);
      const std::size_t last = lastLineEnd();
      if (last > m_begin) return {m_buffer.get() + m_begin, last - m_begin};
      if (m_eof || m_size - m_begin > kMaxDatalogLineBytes || !fill()) return {};
    }
  }
  // Passes over the first `bytes` of what wholeLines() gave.
  void advance(std::size_t bytes) {
    m_lineEnd = m_begin + bytes;
    m_scanned = std::max(m_scanned, m_lineEnd);
  }

  bool failed() const { return m_error; }
  int error() const { return m_errno; }
  std::uint64_t consumed() const { return m_offset + m_lineEnd; }

 private:
  void finishLineAt(std::size_t end) {
    m_lineEnd = end + 1;
    if (m_crLf) {
      if (m_lineEnd < m_size) {
        if (m_buffer[m_lineEnd] == '\n') ++m_lineEnd;
      } else {
        m_skipLf = true;
      }
    }
  }

  // The end of the last whole line in the buffer (after its line end); m_begin or less for
  // none. Found once per read into the buffer, so a long partial line at the buffer's end is
  // not searched again for every odd line before it.
  std::size_t lastLineEnd() {
    if (m_wholeEnd != kUnknown) return m_wholeEnd;
    std::size_t end = m_size;
    if (m_crLf && !m_eof && end > 0) --end;  // a last CR may yet be followed by LF
    while (end > 0 && m_buffer[end - 1] != m_terminator) --end;
    if (end > 0 && m_crLf && end < m_size && m_buffer[end] == '\n') ++end;
    return m_wholeEnd = end;
  }

  // Keeps the beginning of an overlong line and passes over the rest of it.
  bool skipLongLine(Line& line) {
    m_longPrefix.assign(m_buffer.get() + m_begin, kKeptPrefixBytes);
    line = {m_longPrefix, false, true};
    while (true) {
      const void* found = std::memchr(m_buffer.get() + m_scanned, m_terminator, m_size - m_scanned);
      if (found) {
        finishLineAt(static_cast<std::size_t>(static_cast<const char*>(found) - m_buffer.get()));
        line.terminated = true;
        return true;
      }
      m_begin = m_scanned = m_lineEnd = m_size;
      if (m_eof || !fill()) return true;
    }
  }

  // Moves the unread bytes to the front and reads more; false at the end of the file.
  bool fill() {
    m_wholeEnd = kUnknown;
    if (m_begin > 0) {
      std::memmove(m_buffer.get(), m_buffer.get() + m_begin, m_size - m_begin);
      m_offset += m_begin;
      m_size -= m_begin;
      m_scanned -= m_begin;
      m_lineEnd = m_lineEnd > m_begin ? m_lineEnd - m_begin : 0;
      m_begin = 0;
    }
    // A quarter megabyte at a time: only the part of the buffer that is read into is ever
    // touched, and every new page of memory costs (a line may still fill the whole buffer).
    const std::size_t wanted = std::min(kFillBytes, kBufferBytes - m_size);
    const std::size_t read = std::fread(m_buffer.get() + m_size, 1, wanted, m_file);
    if (read == 0) {
      if (std::ferror(m_file)) m_error = true, m_errno = errno;
      m_eof = true;
      return false;
    }
    m_size += read;
    // What lies past the bytes read is looked at (never used) by readPlainLines.
    std::memset(m_buffer.get() + m_size, 0, kPlainLinesPadding);
    return true;
  }

  std::FILE* m_file;
  char m_terminator;
  bool m_crLf;
  static constexpr std::size_t kBufferBytes = kMaxDatalogLineBytes + kChunkBytes;
  std::unique_ptr<char[]> m_buffer;  // not zero-filled: only the bytes read are looked at
  std::size_t m_begin = 0;           // start of the line being looked for
  std::size_t m_scanned = 0;         // bytes from m_begin on already searched for the terminator
  std::size_t m_size = 0;            // bytes in the buffer
  std::size_t m_lineEnd = 0;         // first byte after the last line handed out, line end included
  std::uint64_t m_offset = 0;        // file offset of the buffer's first byte
  static constexpr std::size_t kUnknown = ~std::size_t{0};
  std::size_t m_wholeEnd = kUnknown;  // lastLineEnd(), while the buffer holds the same bytes
  bool m_skipLf = false;
  bool m_eof = false;
  bool m_error = false;
  int m_errno = 0;
  std::string m_longPrefix;
};

// Opens a plain file for reading through common::openUserFile; nullptr with `problem` set
// ("cannot be opened: ...", "is not a file") when that fails or the path is no plain file (a
// pipe or a device may never end, a FIFO may block). With size, stores the file's size.
FilePointer openDatalogFile(const std::string& path, std::string& problem, std::uint64_t* size);

// "cannot be read: <reason>" for a scanner that failed.
std::string readFailure(const LineScanner& scanner);

}  // namespace tallimar::formats
