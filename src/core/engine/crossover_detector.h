// O2 crossover detection: finds the samples of one datalog where the narrow-band O2 sensor
// crosses its transfer voltage, and keeps the engine state and the EGO-corrected VE there.
//
// The detector takes the records one at a time, in file order, so a datalog never has to be
// held in memory. Its points are handed to the workspace only when the whole file was read
// (publishCrossovers), so a read that fails half way leaves the previous points alone.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/status_log.h"
#include "engine/crossover_list.h"
#include "engine/crossover_point.h"
#include "engine/datalog_record.h"

namespace tallimar::engine {

// NewVE = (Gve / 100) x (Gego / 100) x 100 in double precision, rounded half to even
// (Gve 50, Gego 101 gives 50.5, which is 50). nullopt when the result does not fit 16 bits.
std::optional<std::int16_t> newVE(std::int16_t gve, std::int16_t gego);

// The crossover list's line for an accepted point; samplePosition is the sample's 1-based
// place in the datalog and is shown zero-based:
// "Count:    12 MAP: 55 RPM: 2500 Gego:100 Gve: 60 Nve: 60".
std::string diagnosticLine(std::int64_t samplePosition, const CrossoverPoint& point);

class CrossoverDetector {
 public:
  enum class Step {
    Scanning,         // go on with the next record
    Full,             // 200,000 points were found; later records are ignored
    NewVeOutOfRange,  // an accepted crossing whose NewVE does not fit 16 bits; nothing more
  };

  // transferVolts is the O2Transfer setting; crossings below rpmMin (rev/min) are not kept.
  CrossoverDetector(float transferVolts, std::int16_t rpmMin);

  // A detector for O2 signals that cross a target of their own in every record (o2Target:
  // a wide-band AFR or lambda, or volts against the transfer voltage): each tested sample is
  // on the rich or the lean side of its own target, or on neither when equal, and the same
  // strict rules and history of two samples apply to those sides. The history starts on the
  // low side, as 0.0 V does against a positive transfer voltage.
  static CrossoverDetector againstSampleTargets(std::int16_t rpmMin);

  // Offers the next record. samplePosition is its 1-based place in the datalog (data line 1
  // is 1). A sample is tested only when its Status is 1 and the two Status-1 samples before
  // it (since the start of the file or since the last sample with another Status) were seen;
  // a crossing needs the two previous tested voltages on one side of the transfer voltage
  // and this one strictly on the other.
  Step offer(const DatalogRecord& record, std::int64_t samplePosition);

  // Offers records in file order, records[0] at samplePosition. Returns how many were taken:
  // all of them, or those before the record whose NewVE did not fit (NewVeOutOfRange). After
  // the cap, records are taken and ignored.
  std::size_t offerAll(std::span<const DatalogRecord> records, std::int64_t firstPosition);

  bool full() const { return m_points.size() >= kMaxCrossoverPoints; }
  const CrossoverPoints& points() const { return m_points; }
  // The 1-based sample position of each point, in the same order.
  const std::vector<std::int64_t>& positions() const { return m_positions; }
  CrossoverPoints takePoints() { return std::move(m_points); }
  std::vector<std::int64_t> takePositions() { return std::move(m_positions); }

 private:
  // Keeps an accepted crossing; false when its NewVE does not fit 16 bits.
  bool keep(const DatalogRecord& record, std::int64_t samplePosition);

  float m_transfer;
  std::int16_t m_rpmMin;
  // What the scan remembers between samples.
  struct History {
    float previous = 0.0f;        // e1: voltage of the last tested sample
    float beforePrevious = 0.0f;  // e2: voltage of the tested sample before that
    int warmUp = -1;              // w: tested only from 1 on; capped at 1
  };
  // Takes one sample into the history; true when it is a crossing to keep.
  template <bool kSampleTargets>
  static bool isKeptCrossing(History& history, const DatalogRecord& record, float transfer,
                             std::int16_t rpmMin);
  template <bool kSampleTargets>
  std::size_t offerEach(std::span<const DatalogRecord> records, std::int64_t firstPosition);
  History m_history;
  bool m_sampleTargets = false;  // each record's o2 is compared with its o2Target
  bool m_stopped = false;
  CrossoverPoints m_points;
  std::vector<std::int64_t> m_positions;
};

// Reports a finished scan as the program does and makes its points the workspace's points:
// "Finding O2 Crossover", one diagnosticLine per point on the list (in batches), "Maximum
// Crossover Points Found" when the cap was reached, then "<count> Crossover Points Found".
void publishCrossovers(CrossoverDetector& detector, CrossoverPoints& into,
                       common::StatusLog& status, CrossoverList& list);

// Scans a whole record array at once (records in file order, the first at [0]) and publishes
// the result. For callers that already hold the records. Returns false, leaving `into` as it
// was, when a point's NewVE did not fit 16 bits (at index *failedRecord when given).
bool findCrossovers(std::span<const DatalogRecord> records, float transferVolts,
                    std::int16_t rpmMin, CrossoverPoints& into, common::StatusLog& status,
                    CrossoverList& list, std::size_t* failedRecord = nullptr);

}  // namespace tallimar::engine
