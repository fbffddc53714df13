// Writer and reader of the binary raw data map file.
#include "formats/raw_map_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <vector>

#include "common/user_file.h"

namespace tallimar::formats {
namespace {

using engine::kRawMapCells;
using engine::kRawRpmCells;

void putUint16(char* out, std::uint16_t value) {
  out[0] = static_cast<char>(value & 0xFF);
  out[1] = static_cast<char>(value >> 8);
}

std::uint16_t getUint16(const unsigned char* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::string cellName(std::size_t record) {
  return "RPM index " + std::to_string(record % kRawRpmCells) + ", MAP " +
         std::to_string(record / kRawRpmCells);
}

// Buffered reading of exact byte counts from a file.
class ByteReader {
 public:
  explicit ByteReader(std::FILE* file) : m_file(file), m_buffer(1 << 16) {}
  // Copies exactly count bytes; false when the file ends first or cannot be read.
  bool read(void* into, std::size_t count) {
    auto* out = static_cast<char*>(into);
    while (count > 0) {
      if (m_begin == m_end && !fill()) return false;
      const std::size_t take = std::min(count, m_end - m_begin);
      std::memcpy(out, m_buffer.data() + m_begin, take);
      m_begin += take, out += take, count -= take;
    }
    return true;
  }
  bool atEnd() { return m_begin == m_end && !fill(); }
  bool failed() const { return m_failed; }
  // Bytes handed out by read(), and bytes read from the file but not yet handed out.
  std::uint64_t consumed() const { return m_filled - (m_end - m_begin); }
  std::uint64_t buffered() const { return m_end - m_begin; }

 private:
  bool fill() {
    m_begin = 0;
    m_end = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
    m_filled += m_end;
    if (m_end == 0 && std::ferror(m_file)) m_failed = true;
    return m_end > 0;
  }
  std::FILE* m_file;
  std::vector<char> m_buffer;
  std::size_t m_begin = 0;
  std::size_t m_end = 0;
  std::uint64_t m_filled = 0;  // bytes read from the file
  bool m_failed = false;
};

}  // namespace

common::Outcome checkRawMapFits(const engine::RawDataMap& map) {
  for (int m = 0; m < kRawMapCells; ++m) {
    for (int r = 0; r < kRawRpmCells; ++r) {
      const std::size_t length = map.at(r, m).values.size();
      if (length > kMaxRawMapValuesBytes) {
        return common::fail("The raw data map cell at RPM " + std::to_string(r * 100) +
                            " and MAP " + std::to_string(m) + " holds " + std::to_string(length) +
                            " bytes of values, more than a raw data map file can hold (" +
                            std::to_string(kMaxRawMapValuesBytes) + ")");
      }
    }
  }
  return {};
}

common::Outcome writeRawMapFile(const engine::RawDataMap& map, std::ostream& out) {
  if (const common::Outcome fits = checkRawMapFits(map); !fits) return fits;
  for (int m = 0; m < kRawMapCells && out; ++m) {
    for (int r = 0; r < kRawRpmCells; ++r) {
      const engine::RawDataCell& cell = map.at(r, m);
      char field[2];
      putUint16(field, static_cast<std::uint16_t>(cell.values.size()));
      out.write(field, 2);
      out.write(cell.values.data(), static_cast<std::streamsize>(cell.values.size()));
      char figures[4];
      putUint16(figures, static_cast<std::uint16_t>(cell.average));
      putUint16(figures + 2, static_cast<std::uint16_t>(cell.median));
      out.write(figures, 4);
    }
  }
  return {};  // a stream that failed says so to whoever owns it
}

common::Expected<std::string> encodeRawMapFile(const engine::RawDataMap& map) {
  std::ostringstream out;
  if (const common::Outcome written = writeRawMapFile(map, out); !written)
    return common::Failure{written.reason()};
  return std::move(out).str();
}

common::Expected<engine::RawDataMap> loadRawMapFile(const std::string& path,
                                                    std::uint64_t* extraBytes) {
  auto opened = common::openUserFile(path);
  if (!opened) return common::Failure{opened.reason()};
  std::FILE* const file = opened->file.get();
  ByteReader reader(file);
  engine::RawDataMap map;
  for (std::size_t record = 0; record < kRawMapRecords; ++record) {
    const int r = static_cast<int>(record % kRawRpmCells);
    const int m = static_cast<int>(record / kRawRpmCells);
    engine::RawDataCell& cell = map.at(r, m);
    unsigned char field[2];
    bool complete = reader.read(field, 2);
    if (complete) {
      cell.values.resize(getUint16(field));
      complete = reader.read(cell.values.data(), cell.values.size());
    }
    unsigned char figures[4];
    complete = complete && reader.read(figures, 4);
    if (!complete) {
      return common::fail(reader.failed() ? std::string("cannot be read: ") + std::strerror(errno)
                                          : "ends inside record " + std::to_string(record + 1) +
                                                " of " + std::to_string(kRawMapRecords) + " (" +
                                                cellName(record) + "): not a whole raw data map");
    }
    cell.average = static_cast<std::int16_t>(getUint16(figures));
    cell.median = static_cast<std::int16_t>(getUint16(figures + 2));
  }
  // The file's records are read and the file closed: what follows them is not the map's.
  const bool atEnd = reader.atEnd();
  if (reader.failed()) return common::fail(std::string("cannot be read: ") + std::strerror(errno));
  if (extraBytes) {
    const std::uint64_t consumed = reader.consumed();
    *extraBytes =
        atEnd ? 0
              : std::max(opened->size > consumed ? opened->size - consumed : 0, reader.buffered());
  }
  return map;
}

}  // namespace tallimar::formats
