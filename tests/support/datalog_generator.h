// Generated MegaSquirt datalogs for tests and benchmarks: a small engine model on closed-loop
// EGO control, so the narrow-band O2 voltage swings around the transfer voltage, the EGO
// correction follows it, and the Status bits leave the running state now and then (warm-up,
// acceleration). Written in any of the three layouts, with options for the odd cases.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/datalog_record.h"

namespace tallimar::testsupport {

enum class LogLayout { NoLineFeed, Classic, Full };

struct DatalogShape {
  LogLayout layout = LogLayout::Classic;
  std::int64_t samples = 1000;  // data lines
  std::uint32_t seed = 1;
  double transferVolts = 0.5;      // the O2 swings around this voltage
  std::string lineEnd;             // empty: "\r\n" (classic, full) or "\n" (no-line-feed)
  bool lastLineEnded = true;       // false: the last data line has no line end
  bool lowerCaseHeader = false;    // "seconds\trpm..." / "time\tsecl..."
  double statusGapChance = 0.004;  // per sample: a run of other Status bits begins
  int halfCycleMin = 6;            // samples the O2 stays rich (or lean) in a row
  int halfCycleMax = 12;
  int rpmLow = 900, rpmHigh = 6500;  // rev/min
  int mapLow = 25, mapHigh = 100;    // kPa
};

// One generated sample with the values it is written with.
struct GeneratedSample {
  double time = 0;  // seconds since the start (full layout, column 0)
  int seconds = 0;  // the ECU's 8-bit seconds counter
  int rpm = 0;      // rev/min; the full layout writes rpm / 100, rounded down
  int map = 0;
  int tps = 0;
  int o2Millivolts = 0;  // written as volts with three decimals
  int status = 1;
  int gego = 100, gair = 100, gwarm = 100, gbaro = 100, gve = 60, gammaE = 100;
  int mat = 70, clt = 180;
};

class DatalogGenerator {
 public:
  explicit DatalogGenerator(const DatalogShape& shape);
  std::string header() const;                             // without line end
  GeneratedSample next();                                 // the next sample of the drive
  std::string line(const GeneratedSample& sample) const;  // without line end
  // The record a correct reader makes of the sample's line.
  engine::DatalogRecord record(const GeneratedSample& sample) const;

 private:
  DatalogShape m_shape;
  std::mt19937 m_random;
  std::int64_t m_index = 0;
  double m_rpm, m_map, m_rpmTarget, m_mapTarget;
  bool m_rich = false;
  int m_halfCycleLeft = 0;
  int m_gapLeft = 0;
  int m_gapStatus = 0;
  int m_gego = 100;
};

// The whole file in memory (for small files).
std::string generateDatalog(const DatalogShape& shape);
// The file written to disk as it is generated, in constant memory (for huge files).
void writeDatalog(const std::string& path, const DatalogShape& shape);
// The usual case: a classic log of `samples` lines of the drive from `seed`; returns the path.
std::string writeDatalog(const std::string& path, std::int64_t samples, std::uint32_t seed = 1);
// A named-column log of the same drive as today's tuning software writes it for a
// MegaSquirt-II: two title lines, a header of `columns` names (at least 22; the ones read are
// spread over it, the AFR target near the end), a units row, then tab-separated rows ending
// in LF. The O2 swing becomes a wide-band AFR around 14.7 and Status the Engine byte (warm-up
// when not 1).
void writeMslDatalog(const std::string& path, const DatalogShape& shape, int columns = 40);
// The records a correct reader hands out for the file, in order.
std::vector<engine::DatalogRecord> expectedRecords(const DatalogShape& shape);

}  // namespace tallimar::testsupport
