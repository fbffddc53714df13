// O2 crossover detection over a stream of datalog records.
#include "engine/crossover_detector.h"

#include <string_view>

#include "common/number_text.h"

namespace tallimar::engine {

std::optional<std::int16_t> newVE(std::int16_t gve, std::int16_t gego) {
  const double value = (gve / 100.0) * (gego / 100.0) * 100.0;
  // Rounded half to even as common::toInt16 rounds, without its library calls (this runs for
  // every crossing): adding and taking away 1.5 x 2^52 rounds a double to a whole number in
  // the processor's rounding to nearest, ties to even, exactly for any |value| < 2^51; here
  // |value| < 2^24. (Strict IEEE arithmetic, as the build always has it: no -ffast-math.)
  constexpr double kRounder = 6755399441055744.0;
  const double rounded = (value + kRounder) - kRounder;
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) return std::nullopt;
  return static_cast<std::int16_t>(rounded);
}

namespace {

// Writes number right-aligned in width at out (a longer number is written in full) and
// returns the end; digits are written by hand, as this runs for every crossover point.
char* putAligned(char* out, std::int64_t number, int width) {
  char digits[24];
  int count = 0;
  std::uint64_t magnitude =
      number < 0 ? 0 - static_cast<std::uint64_t>(number) : static_cast<std::uint64_t>(number);
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (number < 0) digits[count++] = '-';
  for (int pad = width - count; pad > 0; --pad) *out++ = ' ';
  while (count > 0) *out++ = digits[--count];
  return out;
}

char* put(char* out, std::string_view text) {
  for (char c : text) *out++ = c;
  return out;
}

}  // namespace

std::string diagnosticLine(std::int64_t samplePosition, const CrossoverPoint& point) {
  char line[128];  // the six numbers take at most 20 + 5 x 6 characters
  char* end = put(line, "Count:");
  end = putAligned(end, samplePosition - 1, 6);
  end = put(end, " MAP:");
  end = putAligned(end, point.map, 3);
  end = put(end, " RPM:");
  end = putAligned(end, point.rpm, 5);
  end = put(end, " Gego:");
  end = putAligned(end, point.gego, 3);
  end = put(end, " Gve:");
  end = putAligned(end, point.gve, 3);
  end = put(end, " Nve:");
  end = putAligned(end, point.newVE, 3);
  return std::string(line, end);
}

CrossoverDetector::CrossoverDetector(float transferVolts, std::int16_t rpmMin)
    : m_transfer(transferVolts), m_rpmMin(rpmMin) {}

bool CrossoverDetector::isKeptCrossing(History& history, const files::DatalogRecord& record,
                                       float transfer, std::int16_t rpmMin) {
  const bool statusOne = record.status == 1;
  bool kept = false;
  if (history.warmUp >= 1 && statusOne) {
    const float t = transfer;
    const float o2 = record.o2;
    // Strict comparisons: a voltage equal to the transfer voltage is on neither side. (The
    // sides are combined without branches: which way the voltage goes is anyone's guess.)
    const bool falling = (history.previous > t) & (history.beforePrevious > t) & (o2 < t);
    const bool rising = (history.previous < t) & (history.beforePrevious < t) & (o2 > t);
    // A crossing below RPMMin is not kept but still moves the history on.
    kept = (falling | rising) && record.rpm >= rpmMin;
    history.beforePrevious = history.previous;
    history.previous = o2;
  }
  // The warm-up counter as the program has always run it: any other Status sets it to -1,
  // and every sample adds 1. At the start of a file two Status-1 samples are passed over,
  // after a Status gap only one (the gap sample itself counts from -1 to 0).
  if (!statusOne) history.warmUp = -1;
  if (history.warmUp < 1) ++history.warmUp;
  return kept;
}

CrossoverDetector::Step CrossoverDetector::offer(const files::DatalogRecord& record,
                                                 std::int64_t samplePosition) {
  if (m_stopped) return Step::NewVeOutOfRange;
  if (full()) return Step::Full;
  if (isKeptCrossing(m_history, record, m_transfer, m_rpmMin) && !keep(record, samplePosition))
    return Step::NewVeOutOfRange;
  return full() ? Step::Full : Step::Scanning;
}

bool CrossoverDetector::keep(const files::DatalogRecord& record, std::int64_t samplePosition) {
  const auto corrected = newVE(record.gve, record.gego);
  if (!corrected) {
    m_stopped = true;
    return false;
  }
  if (m_points.empty()) {
    // Room for every point a file can give, so the list never moves; pages are only used as
    // points arrive.
    m_points.reserve(kMaxCrossoverPoints);
    m_positions.reserve(kMaxCrossoverPoints);
  }
  m_points.push_back(
      {record.rpm, record.map, record.gego, record.gve, record.gammaE, record.o2, *corrected});
  m_positions.push_back(samplePosition);
  return true;
}

std::size_t CrossoverDetector::offerAll(std::span<const files::DatalogRecord> records,
                                        std::int64_t firstPosition) {
  // As offer() record by record, with the history held in registers.
  if (m_stopped) return 0;
  History history = m_history;
  std::size_t i = 0;
  for (; i < records.size() && !full(); ++i) {
    if (isKeptCrossing(history, records[i], m_transfer, m_rpmMin) &&
        !keep(records[i], firstPosition + static_cast<std::int64_t>(i))) {
      m_history = history;
      return i;
    }
  }
  m_history = history;
  return records.size();  // records after the cap are taken and ignored
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
