// Reading a MegaSquirt datalog: recognising its layout from the first lines, then streaming
// its data lines as DatalogRecords to a sink, one at a time. The file is never held in memory
// as a whole, so a datalog of any length reads in constant memory.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/expected.h"
#include "engine/datalog_record.h"
#include "formats/datalog_line.h"

namespace tallimar::formats {

// The layout test. A named-column log is recognised first: among its first 20 lines (ended
// by LF, CR LF or CR) one whose first tab-separated field is "Time" and which has "RPM" and
// "MAP" columns, any letter case; except that such a header on the first line ended by a CR
// is the full layout's. Otherwise on at most the first two lines (a line ends at CR or
// CR LF): exactly one line is the no-line-feed layout; of two, a first line beginning with
// "seconds" (any letter case) is the classic layout and one beginning with "time" the full
// layout. The failure says why a file cannot be looked at ("is empty", "cannot be opened: ...").
struct DatalogProbe {
  std::optional<DatalogLayout> layout;  // none: two lines, the first begins with neither word
};
common::Expected<DatalogProbe> probeDatalog(const std::string& path);

// Receives the records of a read in file order, in batches. firstPosition is the 1-based
// place of records[0] (the first line after the header is 1). Returns how many records it
// took: fewer than records.size() stops the read at the first record not taken.
class DatalogRecordSink {
 public:
  virtual ~DatalogRecordSink() = default;
  virtual std::size_t take(std::span<const engine::DatalogRecord> records,
                           std::int64_t firstPosition) = 0;
};

// Called now and then with the bytes read so far and the file's size; returning false
// cancels the read.
using ReadProgress = std::function<bool(std::uint64_t bytesDone, std::uint64_t bytesTotal)>;

// What a read gives besides the records. A read that ended early says how (`end`); the
// records before that were handed over.
struct DatalogRead {
  enum class End {
    Complete,       // every data line was read; `entries` is the count
    MissingHeader,  // the first line does not pass the layout's header rule
    MissingColumn,  // a named-column log lacks a column it needs; `problem` names it
    BadLine,        // a data line could not be read; `line` and `problem` say where and why
    SinkStopped,    // the sink refused the record of `line`
    Cancelled,      // the progress callback returned false
  };
  End end = End::Complete;
  // The count the program reports as "DataLog Entries Read: ": the records read. In the
  // no-line-feed layout the text after the last LF is not a record, and a file without any
  // LF gives -1. In a named-column log, the samples read (gap lines not counted).
  std::int64_t entries = 0;
  std::int64_t line = 0;  // 1-based line of the file
  std::string problem;
  // The file line of record 1 (the first line after the header, or after a units row).
  std::int64_t firstRecordLine = 2;
  // Named-column logs only: samples that Status keeps out of crossover detection (warm-up,
  // cranking, after-start, enrichment), gap lines (MARK lines, lines that are not numbers),
  // and what the read says about the file's end (NUL bytes, a cut-short last line).
  std::int64_t statusSkipped = 0;
  std::int64_t gapLines = 0;
  std::int64_t belowRpmMin = 0;  // samples with Status 1 but below DatalogReadOptions::rpmMin
  std::vector<std::string> warnings;
};

// How to read: progress reports, and for named-column logs the O2 signal's crossing point.
struct DatalogReadOptions {
  ReadProgress progress;
  float o2TransferVolts = 0.5f;     // narrow-band O2 in volts (the O2Transfer setting)
  float wideBandTargetAfr = 14.7f;  // wide-band AFR without a target column (WBTargetAFR)
  std::int16_t rpmMin = 1200;       // counted for a named-column log's report (RPMMin)
};

// Reads the file in the given layout and hands every record to the sink in file order.
//  - classic and full: lines end at CR or CR LF (a lone LF is part of the line); the first
//    line, upper-cased, must begin with "SECONDS" (classic) or "TIME" (full); every further
//    line is a record, including a last line without a line end.
//  - no-line-feed: the text is cut at LF into pieces; the first tab-separated field of the
//    first piece, upper-cased, must equal "SECONDS"; the text after the last LF is not read.
//  - named columns: see datalog_msl.h.
// A data line with too few columns (a blank line included), a 16-bit column that is not a
// number or lies outside -32768..32767, or an O2 value beyond the single range ends the read
// as BadLine. The failure says why the file could not be read at all ("cannot be opened: ...").
common::Expected<DatalogRead> readDatalog(const std::string& path, DatalogLayout layout,
                                          DatalogRecordSink& sink,
                                          const DatalogReadOptions& options = {});

}  // namespace tallimar::formats
