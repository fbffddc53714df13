// Reading a MegaSquirt datalog: recognising its layout from the first lines, then streaming
// its data lines as DatalogRecords to a sink, one at a time. The file is never held in memory
// as a whole, so a datalog of any length reads in constant memory.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "files/datalog_line.h"
#include "engine/datalog_record.h"

namespace tallimar::files {

// The layout test on at most the first two lines of a file (a line ends at CR or CR LF):
// exactly one line is the no-line-feed layout; of two, a first line beginning with "seconds"
// (any letter case) is the classic layout and one beginning with "time" the full layout.
struct DatalogProbe {
  enum class Kind {
    Layout,        // `layout` is set
    Unrecognised,  // two lines, the first begins with neither word
    Unreadable,    // cannot be opened or read, or empty; `problem` says which
  };
  Kind kind = Kind::Unreadable;
  DatalogLayout layout = DatalogLayout::NoLineFeed;
  std::string problem;
};
DatalogProbe probeDatalog(const std::string& path);

// Receives the records of a read in file order, in batches. firstPosition is the 1-based
// place of records[0] (the first line after the header is 1). Returns how many records it
// took: fewer than records.size() stops the read at the first record not taken.
class DatalogRecordSink {
 public:
  virtual ~DatalogRecordSink() = default;
  virtual std::size_t take(std::span<const engine::DatalogRecord> records, std::int64_t firstPosition) = 0;
};

// Called now and then with the bytes read so far and the file's size; returning false
// cancels the read.
using ReadProgress = std::function<bool(std::uint64_t bytesDone, std::uint64_t bytesTotal)>;

struct DatalogReadResult {
  enum class Kind {
    Read,           // every data line was read; `entries` is the count
    MissingHeader,  // the first line does not pass the layout's header rule
    BadLine,        // a data line could not be read; `line` and `problem` say where and why
    SinkStopped,    // the sink refused the record of `line`
    Unreadable,     // the file could not be opened or read; `problem` says why
    Cancelled,      // the progress callback returned false
  };
  Kind kind = Kind::Read;
  // The count the program reports as "DataLog Entries Read: ": the records read. In the
  // no-line-feed layout the text after the last LF is not a record, and a file without any
  // LF gives -1.
  std::int64_t entries = 0;
  std::int64_t line = 0;  // 1-based line of the file (the header is line 1)
  std::string problem;
};

// Reads the file in the given layout and hands every record to the sink in file order.
//  - classic and full: lines end at CR or CR LF (a lone LF is part of the line); the first
//    line, upper-cased, must begin with "SECONDS" (classic) or "TIME" (full); every further
//    line is a record, including a last line without a line end.
//  - no-line-feed: the text is cut at LF into pieces; the first tab-separated field of the
//    first piece, upper-cased, must equal "SECONDS"; the text after the last LF is not read.
// A data line with too few columns (a blank line included), a 16-bit column that is not a
// number or lies outside -32768..32767, or an O2 value beyond the single range ends the read
// as BadLine.
DatalogReadResult readDatalog(const std::string& path, DatalogLayout layout,
                              DatalogRecordSink& sink, const ReadProgress& progress = {});

}  // namespace tallimar::files
