// O2 crossover detection over a stream of datalog records.
#include "engine/crossover_detector.h"

#include <charconv>

#include "common/number_text.h"

namespace tallimar::engine {

std::optional<std::int16_t> newVE(std::int16_t gve, std::int16_t gego) {
  const double value = (gve / 100.0) * (gego / 100.0) * 100.0;
  return common::toInt16(value);
}

namespace {

// Appends number right-aligned in width (a longer number is written in full).
void appendAligned(std::string& out, std::int64_t number, std::size_t width) {
  char digits[24];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, number);
  (void)ec;
  const auto length = static_cast<std::size_t>(end - digits);
  if (length < width) out.append(width - length, ' ');
  out.append(digits, length);
}

}  // namespace

std::string diagnosticLine(std::int64_t samplePosition, const CrossoverPoint& point) {
  std::string line;
  line.reserve(64);
  line += "Count:";
  appendAligned(line, samplePosition - 1, 6);
  line += " MAP:";
  appendAligned(line, point.map, 3);
  line += " RPM:";
  appendAligned(line, point.rpm, 5);
  line += " Gego:";
  appendAligned(line, point.gego, 3);
  line += " Gve:";
  appendAligned(line, point.gve, 3);
  line += " Nve:";
  appendAligned(line, point.newVE, 3);
  return line;
}

CrossoverDetector::CrossoverDetector(float transferVolts, std::int16_t rpmMin)
    : m_transfer(transferVolts), m_rpmMin(rpmMin) {}

CrossoverDetector::Step CrossoverDetector::offer(const files::DatalogRecord& record,
                                                 std::int64_t samplePosition) {
  if (m_stopped) return Step::NewVeOutOfRange;
  if (full()) return Step::Full;
  const bool statusOne = record.status == 1;
  if (m_warmUp >= 1 && statusOne) {
    const float t = m_transfer;
    // Strict comparisons: a voltage equal to the transfer voltage is on neither side.
    const bool falling = m_previous > t && m_beforePrevious > t && record.o2 < t;
    const bool rising = m_previous < t && m_beforePrevious < t && record.o2 > t;
    if ((falling || rising) && record.rpm >= m_rpmMin) {
      const auto corrected = newVE(record.gve, record.gego);
      if (!corrected) {
        m_stopped = true;
        return Step::NewVeOutOfRange;
      }
      m_points.push_back(
          {record.rpm, record.map, record.gego, record.gve, record.gammaE, record.o2, *corrected});
      m_positions.push_back(samplePosition);
    }
    // A crossing below RPMMin is not kept but still moves the history on.
    m_beforePrevious = m_previous;
    m_previous = record.o2;
  }
  // The warm-up counter as the program has always run it: any other Status sets it to -1,
  // and every sample adds 1. At the start of a file two Status-1 samples are passed over,
  // after a Status gap only one (the gap sample itself counts from -1 to 0).
  if (!statusOne) m_warmUp = -1;
  if (m_warmUp < 1) ++m_warmUp;
  return full() ? Step::Full : Step::Scanning;
}

std::size_t CrossoverDetector::offerAll(std::span<const files::DatalogRecord> records,
                                        std::int64_t firstPosition) {
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (offer(records[i], firstPosition + static_cast<std::int64_t>(i)) == Step::NewVeOutOfRange)
      return i;
  }
  return records.size();
}

void publishCrossovers(CrossoverDetector& detector, CrossoverPoints& into,
                       common::StatusLog& status, CrossoverList& list) {
  status.append("Finding O2 Crossover");
  {
    CrossoverListBatcher batcher(list);
    const auto& points = detector.points();
    const auto& positions = detector.positions();
    for (std::size_t i = 0; i < points.size(); ++i)
      batcher.add(diagnosticLine(positions[i], points[i]));
  }
  const bool full = detector.full();
  into = detector.takePoints();
  if (full) status.append("Maximum Crossover Points Found");
  status.append(std::to_string(into.size()) + " Crossover Points Found");
}

bool findCrossovers(std::span<const files::DatalogRecord> records, float transferVolts,
                    std::int16_t rpmMin, CrossoverPoints& into, common::StatusLog& status,
                    CrossoverList& list, std::size_t* failedRecord) {
  CrossoverDetector detector(transferVolts, rpmMin);
  for (std::size_t i = 0; i < records.size(); ++i) {
    const auto step = detector.offer(records[i], static_cast<std::int64_t>(i) + 1);
    if (step == CrossoverDetector::Step::NewVeOutOfRange) {
      if (failedRecord) *failedRecord = i;
      return false;
    }
    if (step == CrossoverDetector::Step::Full) break;
  }
  publishCrossovers(detector, into, status, list);
  return true;
}

}  // namespace tallimar::engine
