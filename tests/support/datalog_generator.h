// Generated MegaSquirt datalogs for tests and benchmarks: a small engine model on closed-loop
// EGO control (the O2 swings around 0.5 V, Gego follows it, Status leaves running now and then).
#pragma once

#include <cstdint>
#include <string>

namespace tallimar::testsupport {

enum class LogLayout { NoLineFeed, Classic, Full };

struct DatalogShape {
  LogLayout layout = LogLayout::Classic;
  std::int64_t samples = 1000;  // data lines
  std::uint32_t seed = 1;
  std::string lineEnd;             // empty: "\r\n" (classic, full) or "\n" (no-line-feed)
  bool lastLineEnded = true;       // false: the last data line has no line end
  bool lowerCaseHeader = false;    // "seconds\trpm..." / "time\tsecl..."
  double statusGapChance = 0.004;  // per sample: a run of other Status bits begins
  int halfCycleMin = 6;            // samples the O2 stays rich (or lean) in a row
  int halfCycleMax = 12;
};

// The whole file in memory (for small files).
std::string generateDatalog(const DatalogShape& shape);
// The file written to disk as it is generated, in constant memory (for huge files).
void writeDatalog(const std::string& path, const DatalogShape& shape);
// The usual case: a classic log of `samples` lines of the drive from `seed`; returns the path.
std::string writeDatalog(const std::string& path, std::int64_t samples, std::uint32_t seed = 1);
// The same drive as a named-column log of today's tuning software: two title lines, `columns`
// names (at least 22; the AFR target near the end), a units row, tab-separated rows ending in
// LF. The O2 swing becomes a wide-band AFR around 14.7, Status the Engine byte.
void writeMslDatalog(const std::string& path, const DatalogShape& shape, int columns = 40);

}  // namespace tallimar::testsupport
