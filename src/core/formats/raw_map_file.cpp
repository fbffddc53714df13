// Writer and reader of the binary raw data map file.
#include "formats/raw_map_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

namespace tallimar::formats {
namespace {

using engine::kRawMapCells;
using engine::kRawRpmCells;

void putUint16(std::string& out, std::uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
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

 private:
  bool fill() {
    m_begin = 0;
    m_end = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
    if (m_end == 0 && std::ferror(m_file)) m_failed = true;
    return m_end > 0;
  }
  std::FILE* m_file;
  std::vector<char> m_buffer;
  std::size_t m_begin = 0;
  std::size_t m_end = 0;
  bool m_failed = false;
};

}  // namespace

common::Expected<std::string> encodeRawMapFile(const engine::RawDataMap& map) {
  std::size_t total = kEmptyRawMapFileBytes;
  for (int m = 0; m < kRawMapCells; ++m) {
    for (int r = 0; r < kRawRpmCells; ++r) {
      const std::size_t length = map.at(r, m).values.size();
      if (length > kMaxRawMapValuesBytes) {
        return common::fail("The raw data map cell at RPM " + std::to_string(r * 100) +
                            " and MAP " + std::to_string(m) + " holds " + std::to_string(length) +
                            " bytes of values, more than a raw data map file can hold (" +
                            std::to_string(kMaxRawMapValuesBytes) + ")");
      }
      total += length;
    }
  }
  std::string bytes;
  bytes.reserve(total);
  for (int m = 0; m < kRawMapCells; ++m) {
    for (int r = 0; r < kRawRpmCells; ++r) {
      const engine::RawDataCell& cell = map.at(r, m);
      putUint16(bytes, static_cast<std::uint16_t>(cell.values.size()));
      bytes += cell.values;
      putUint16(bytes, static_cast<std::uint16_t>(cell.average));
      putUint16(bytes, static_cast<std::uint16_t>(cell.median));
    }
  }
  return bytes;
}

common::Expected<engine::RawDataMap> loadRawMapFile(const std::string& path) {
  // A pipe or a device may never end (/dev/zero): only plain files are map files.
  std::error_code ec;
  if (std::filesystem::exists(path, ec) && !std::filesystem::is_regular_file(path, ec))
    return common::fail("is not a file");
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) return common::fail(std::string("cannot be opened: ") + std::strerror(errno));
  ByteReader reader(file.get());
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
  if (!reader.atEnd()) {
    return common::fail(reader.failed() ? std::string("cannot be read: ") + std::strerror(errno)
                                        : "goes on after the last record of the raw data map: "
                                          "not a raw data map file");
  }
  return map;
}

}  // namespace tallimar::formats
