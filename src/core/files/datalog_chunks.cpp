// Chunks of a datalog read ahead on two threads; see datalog_chunks.h.
#include "files/datalog_chunks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

#include "files/datalog_plain_lines.h"
#include "files/datalog_reader.h"

namespace tallimar::files {
namespace {

// How far a chunk reads on past its end to finish the line that runs over it; a longer line
// ends the reading ahead there.
constexpr std::size_t kLookaheadBytes = 4 * 1024;
// Chunks read ahead of the one the caller takes: this bounds the memory in use.
constexpr std::size_t kSlots = 3;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Where lines begin, from the bytes alone: at a line end's last byte's successor. In the CR
// layouts a line ends at CR, or at CR LF when an LF follows (a lone LF is part of a line), so
// an offset q > 0 begins a line when byte q-1 is a CR not followed by LF, or an LF after a CR.
struct LineEnds {
  char terminator;
  bool crLf;

  // The first line start at or after q (q >= 2) among n bytes; nullopt when it lies beyond
  // them, or when a CR is their last byte and the file goes on (an LF may follow).
  std::optional<std::size_t> firstStart(const char* data, std::size_t n, bool atEof,
                                        std::size_t q) const {
    std::size_t end;  // offset of the line end byte before the start
    if (!crLf) {
      if (data[q - 1] == terminator) return q;
      const void* found = std::memchr(data + q, terminator, n - q);
      if (!found) return std::nullopt;
      return static_cast<std::size_t>(static_cast<const char*>(found) - data) + 1;
    }
    if (data[q - 1] == '\n' && data[q - 2] == '\r') return q;
    if (data[q - 1] == '\r') {
      end = q - 1;
    } else {
      const void* found = std::memchr(data + q, '\r', n - q);
      if (!found) return std::nullopt;
      end = static_cast<std::size_t>(static_cast<const char*>(found) - data);
    }
    if (end + 1 < n) return data[end + 1] == '\n' ? end + 2 : end + 1;
    return atEof ? std::optional<std::size_t>(end + 1) : std::nullopt;
  }

  // The end of the last whole line among bytes [p, n), line end included; p for none.
  std::size_t lastWholeEnd(const char* data, std::size_t p, std::size_t n, bool atEof) const {
    std::size_t end = n;
    if (crLf && !atEof && end > p) --end;  // a last CR may yet be followed by LF
    while (end > p && data[end - 1] != terminator) --end;
    if (end > p && crLf && end < n && data[end] == '\n') ++end;
    return end;
  }
};

LineEnds lineEndsOf(DatalogLayout layout) {
  return layout == DatalogLayout::NoLineFeed ? LineEnds{'\n', false} : LineEnds{'\r', true};
}

}  // namespace

struct DatalogChunkReader::Slot {
  enum class State { Free, Reading, Done };
  State state = State::Free;
  bool abandoned = false;              // given up while the worker reads it: free it when done
  std::vector<DatalogRecord> records;  // kept between uses; `count` of them are the chunk's
  std::size_t count = 0;
  std::uint64_t start = 0;
  std::uint64_t end = 0;
  bool complete = false;
};

// What one thread needs to read chunks: its own file handle and byte buffer.
struct DatalogChunkReader::Reading {
  std::unique_ptr<std::FILE, FileCloser> file;
  std::vector<char> bytes;
};

DatalogChunkReader::DatalogChunkReader(std::string path, DatalogLayout layout,
                                       std::uint64_t dataStart, std::uint64_t fileSize,
                                       std::size_t chunkBytes)
    : m_path(std::move(path)),
      m_layout(layout),
      m_dataStart(dataStart),
      m_fileSize(std::max(fileSize, dataStart)),
      // A chunk and its look-ahead never hold a line as long as the line reader refuses.
      m_chunkBytes(std::clamp<std::size_t>(chunkBytes, 16, kMaxDatalogLineBytes / 2)),
      m_chunkCount(
          static_cast<std::size_t>((m_fileSize - m_dataStart + m_chunkBytes - 1) / m_chunkBytes)),
      m_callerReading(std::make_unique<Reading>()),
      m_started(std::chrono::steady_clock::now()),
      m_processorStarted(std::clock()) {
  for (std::size_t i = 0; i < kSlots; ++i) m_slots.push_back(std::make_unique<Slot>());
  m_spare = std::make_unique<Slot>();
  try {
    if (!std::getenv("NOWORKER") && std::thread::hardware_concurrency() != 1)
      m_worker = std::jthread([this] { work(); });
  } catch (const std::system_error&) {
    // No second thread: the caller reads every chunk itself.
  }
}

DatalogChunkReader::~DatalogChunkReader() {
  stop();
  if (m_worker.joinable()) m_worker.join();
}

void DatalogChunkReader::stop() {
  {
    const std::lock_guard lock(m_mutex);
    m_stop = true;
  }
  m_changed.notify_all();
}

bool DatalogChunkReader::sideBySide() {
  if (m_sideBySide) return *m_sideBySide;
  if (!m_worker.joinable()) return *(m_sideBySide = false);
  // Judged over the first few chunks and at least 2 ms, so a scheduler's hiccup weighs little.
  constexpr std::size_t kJudgedChunks = 6;
  const std::chrono::duration<double> passed = std::chrono::steady_clock::now() - m_started;
  if (m_given < kJudgedChunks || passed.count() < 0.002) return true;
  const double used =
      static_cast<double>(std::clock() - m_processorStarted) / static_cast<double>(CLOCKS_PER_SEC);
  // Two threads that both run use close to twice the time that passes; one and a half is
  // the least that still pays.
  return *(m_sideBySide = used >= 1.5 * passed.count());
}

DatalogChunkReader::Slot& DatalogChunkReader::slotOf(std::size_t index) {
  return *m_slots[index % m_slots.size()];
}

bool DatalogChunkReader::claim(std::size_t& index) {
  if (m_stop || m_claimed >= m_chunkCount || m_claimed >= m_released + m_slots.size() ||
      slotOf(m_claimed).state != Slot::State::Free)
    return false;
  index = m_claimed++;
  slotOf(index).state = Slot::State::Reading;
  return true;
}

void DatalogChunkReader::finished(std::size_t index) {
  Slot& slot = slotOf(index);
  slot.state = slot.abandoned ? Slot::State::Free : Slot::State::Done;
  slot.abandoned = false;
  m_changed.notify_all();
}

void DatalogChunkReader::work() {
  Reading reading;
  std::unique_lock lock(m_mutex);
  while (!m_stop && m_claimed < m_chunkCount) {
    std::size_t index;
    if (!claim(index)) {
      m_changed.wait(lock);
      continue;
    }
    lock.unlock();
    readChunk(reading, index, slotOf(index));
    lock.lock();
    finished(index);
  }
}

bool DatalogChunkReader::next(Chunk& chunk) {
  std::unique_lock lock(m_mutex);
  if (m_given > m_released) {
    Slot& done = slotOf(m_released++);
    if (done.state == Slot::State::Reading) {
      done.abandoned = true;
    } else {
      done.state = Slot::State::Free;
    }
    m_changed.notify_all();
  }
  if (m_given >= m_chunkCount) return false;
  const std::size_t index = m_given++;
  Slot& slot = slotOf(index);
  auto give = [&](const Slot& from) {
    chunk = {from.start, std::span(from.records.data(), from.count), from.end, from.complete};
    return true;
  };
  while (!(index < m_claimed && slot.state == Slot::State::Done)) {
    std::size_t own;
    if (claim(own)) {
      lock.unlock();
      readChunk(*m_callerReading, own, slotOf(own));
      lock.lock();
      finished(own);
    } else if (index < m_claimed) {
      // The worker is still on it, maybe kept waiting by other programs: read it here too
      // rather than wait. Either reading gives the same chunk.
      lock.unlock();
      readChunk(*m_callerReading, index, *m_spare);
      return give(*m_spare);
    } else {
      m_changed.wait(lock);
    }
  }
  return give(slot);
}

// Reads the lines that begin in chunk `index`: [a, b) of the data. A chunk that cannot be
// read at all says so with no records and `complete` false.
void DatalogChunkReader::readChunk(Reading& reading, std::size_t index, Slot& slot) {
  const std::uint64_t a = m_dataStart + index * m_chunkBytes;
  const std::uint64_t b = std::min<std::uint64_t>(a + m_chunkBytes, m_fileSize);
  slot.count = 0;
  slot.start = slot.end = a;
  slot.complete = false;
  const LineEnds ends = lineEndsOf(m_layout);
  try {
    // Two bytes before the chunk tell whether a line begins at its first byte.
    const std::uint64_t from = index == 0 ? a : a - 2;
    const std::uint64_t to = std::min<std::uint64_t>(b + kLookaheadBytes, m_fileSize);
    const bool atEof = to == m_fileSize;
    const auto n = static_cast<std::size_t>(to - from);
    std::vector<char>& bytes = reading.bytes;
    if (bytes.size() < n + kPlainLinesPadding) bytes.resize(n + kPlainLinesPadding);
    if (!reading.file) {
      reading.file.reset(std::fopen(m_path.c_str(), "rb"));
      // Whole chunks are read at once: no buffer in between.
      if (reading.file) std::setvbuf(reading.file.get(), nullptr, _IONBF, 0);
    }
    std::FILE* file = reading.file.get();
    if (!file || std::fseek(file, static_cast<long>(from), SEEK_SET) != 0 ||
        std::fread(bytes.data(), 1, n, file) != n)
      return;
    std::memset(bytes.data() + n, 0, kPlainLinesPadding);
    const char* data = bytes.data();

    const std::optional<std::size_t> first =
        index == 0 ? std::optional<std::size_t>(0) : ends.firstStart(data, n, atEof, 2);
    if (!first) return;
    const std::size_t limit = static_cast<std::size_t>(b - from);
    slot.start = slot.end = from + *first;
    if (*first >= limit) {  // no line begins in the chunk
      slot.complete = true;
      return;
    }
    // The lines that begin before b: up to the first line start at or after b, or, where that
    // is not among the bytes read, up to the last whole line.
    const std::optional<std::size_t> next = ends.firstStart(data, n, atEof, limit);
    const std::size_t blockEnd = next ? *next : ends.lastWholeEnd(data, *first, n, atEof);

    std::size_t q = *first;
    std::vector<DatalogRecord>& records = slot.records;
    while (q < blockEnd) {
      // Room for lines of 32 bytes and more at first (every page used costs), more if needed.
      if (slot.count == records.size()) records.resize(records.size() + (blockEnd - q) / 32 + 16);
      const PlainLines plain = readPlainLines(std::string_view(data + q, blockEnd - q), m_layout,
                                              std::span(records).subspan(slot.count));
      q += plain.bytes;
      slot.count += plain.records;
      if (q == blockEnd || slot.count == records.size()) continue;
      // A line that is not plain: the general reading, which also says whether it is refused.
      const auto* lineEnd =
          static_cast<const char*>(std::memchr(data + q, ends.terminator, blockEnd - q));
      const std::string_view text(data + q, static_cast<std::size_t>(lineEnd - (data + q)));
      if (parseDataLine(text, m_layout, records[slot.count])) {
        slot.end = from + q;
        return;
      }
      ++slot.count;
      q = static_cast<std::size_t>(lineEnd - data) + 1;
      if (ends.crLf && q < blockEnd && data[q] == '\n') ++q;
    }
    slot.end = from + blockEnd;
    slot.complete = next.has_value();
  } catch (const std::bad_alloc&) {
    slot.count = 0;
    slot.start = slot.end = a;
    slot.complete = false;
  }
}

}  // namespace tallimar::files
