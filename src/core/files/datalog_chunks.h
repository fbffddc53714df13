// Reading a large datalog's data lines ahead in fixed-size chunks on two threads (a worker and
// the caller), while the caller takes the chunks' records in file order. Only lines that read
// without a doubt are read ahead; the first line that does not (a refused line, an overlong or
// unterminated one, a read error) ends the reading ahead, and the caller reads on line by line
// from there, so every outcome is that of reading the file line by line.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "files/datalog_line.h"
#include "files/datalog_record.h"

namespace tallimar::files {

class DatalogChunkReader {
 public:
  // Chunks of about chunkBytes (at least 16) from dataStart, a line start, to fileSize.
  DatalogChunkReader(std::string path, DatalogLayout layout, std::uint64_t dataStart,
                     std::uint64_t fileSize, std::size_t chunkBytes);
  ~DatalogChunkReader();  // stops the worker and waits for it
  DatalogChunkReader(const DatalogChunkReader&) = delete;
  DatalogChunkReader& operator=(const DatalogChunkReader&) = delete;

  struct Chunk {
    std::uint64_t start = 0;                 // file offset of the chunk's first line
    std::span<const DatalogRecord> records;  // one per line from `start` on, in file order
    std::uint64_t end = 0;  // file offset of the first line after them (a line start)
    // False: the line at `end` was not read ahead; nothing after it was either.
    bool complete = false;
  };
  // The next chunk in file order; false after the last. The records stay valid until the next
  // call. The caller reads chunks of its own while it waits.
  bool next(Chunk& chunk);

  // Whether the two threads run side by side: judged once, a few chunks in, from the processor
  // time the program used against the time that passed. False when they do not (other
  // programs have the cores, or there is no second thread): one thread then does better, as
  // the two only add the cost of sharing out the work.
  bool sideBySide();
  // Stops the worker after the chunk it is on; chunks given stay valid.
  void stop();

 private:
  struct Slot;
  struct Reading;
  void work();
  // Under the lock: claims the next chunk to read when one is due and its slot is free, and
  // marks a chunk read.
  bool claim(std::size_t& index);
  void finished(std::size_t index);
  Slot& slotOf(std::size_t index);
  void readChunk(Reading& reading, std::size_t index, Slot& slot);

  const std::string m_path;
  const DatalogLayout m_layout;
  const std::uint64_t m_dataStart;
  const std::uint64_t m_fileSize;
  const std::size_t m_chunkBytes;
  const std::size_t m_chunkCount;

  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<std::unique_ptr<Slot>> m_slots;  // chunk i in slot i % size
  std::unique_ptr<Slot> m_spare;               // a chunk the caller read itself meanwhile
  std::size_t m_claimed = 0;                   // chunks claimed by either thread
  std::size_t m_given = 0;                     // chunks given to the caller
  std::size_t m_released = 0;                  // chunks whose slot may be reused
  bool m_stop = false;
  std::unique_ptr<Reading> m_callerReading;
  const std::chrono::steady_clock::time_point m_started;
  const std::clock_t m_processorStarted;
  std::optional<bool> m_sideBySide;
  std::jthread m_worker;  // last: started after everything it uses
};

}  // namespace tallimar::files
