// O2 crossover detection over a stream of datalog records.
#include "engine/crossover_detector.h"

#include <algorithm>
#include <array>
#include <cstring>
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

// Writes number right-aligned in width (at most 8) at out, which has room for 8 characters
// more, and returns the end; a number too long for the width is written in full. By hand, as
// this runs for every crossover point.
constexpr auto kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
    pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

[[gnu::always_inline]] inline char* putAligned(char* out, std::int64_t number, int width) {
  static constexpr std::int64_t kFits[] = {1,      10,      100,      1000,     10000,
                                           100000, 1000000, 10000000, 100000000};
  if (number >= 0 && number < kFits[width]) {
    std::memcpy(out, "        ", 8);
    char* digit = out + width;
    auto rest = static_cast<std::uint32_t>(number);
    while (rest >= 100) {  // two digits at a time
      digit -= 2;
      std::memcpy(digit, &kDigitPairs[2 * (rest % 100)], 2);
      rest /= 100;
    }
    if (rest >= 10) {
      digit -= 2;
      std::memcpy(digit, &kDigitPairs[2 * rest], 2);
    } else {
      *--digit = static_cast<char>('0' + rest);
    }
    return out + width;
  }
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

template <std::size_t kSize>
char* put(char* out, const char (&text)[kSize]) {
  std::memcpy(out, text, kSize - 1);
  return out + kSize - 1;
}

// Writes the diagnostic line into `line` (room for 128 characters: the six numbers take at
// most 20 + 5 x 6, the texts 33, and 8 more may be written past the end) and returns its end.
char* writeDiagnosticLine(char* line, std::int64_t samplePosition, const CrossoverPoint& point) {
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
  return putAligned(end, point.newVE, 3);
}

}  // namespace

std::string diagnosticLine(std::int64_t samplePosition, const CrossoverPoint& point) {
  char line[128];
  return std::string(line, writeDiagnosticLine(line, samplePosition, point));
}

CrossoverDetector::CrossoverDetector(float transferVolts, std::int16_t rpmMin)
    : m_transfer(transferVolts), m_rpmMin(rpmMin) {}

CrossoverDetector CrossoverDetector::againstSampleTargets(std::int16_t rpmMin) {
  CrossoverDetector detector(0.0f, rpmMin);
  detector.m_sampleTargets = true;
  // The history holds how far each sample lay from its target; the start is on the low side.
  detector.m_history.previous = detector.m_history.beforePrevious = -1.0f;
  return detector;
}

template <bool kSampleTargets>
bool CrossoverDetector::isKeptCrossing(History& history, const DatalogRecord& record,
                                       float transfer, std::int16_t rpmMin) {
  const bool statusOne = record.status == 1;
  bool kept = false;
  if (history.warmUp >= 1 && statusOne) {
    // Against its own target a sample's side is the sign of the difference, which IEEE
    // subtraction of two finite values gives exactly.
    const float t = kSampleTargets ? 0.0f : transfer;
    const float o2 = kSampleTargets ? record.o2 - record.o2Target : record.o2;
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

CrossoverDetector::Step CrossoverDetector::offer(const DatalogRecord& record,
                                                 std::int64_t samplePosition) {
  if (m_stopped) return Step::NewVeOutOfRange;
  if (full()) return Step::Full;
  const bool kept = m_sampleTargets
                        ? isKeptCrossing<true>(m_history, record, m_transfer, m_rpmMin)
                        : isKeptCrossing<false>(m_history, record, m_transfer, m_rpmMin);
  if (kept && !keep(record, samplePosition)) return Step::NewVeOutOfRange;
  return full() ? Step::Full : Step::Scanning;
}

bool CrossoverDetector::keep(const DatalogRecord& record, std::int64_t samplePosition) {
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

std::size_t CrossoverDetector::offerAll(std::span<const DatalogRecord> records,
                                        std::int64_t firstPosition) {
  if (m_stopped) return 0;
  if (full()) return records.size();  // records after the cap are taken and ignored
  return m_sampleTargets ? offerEach<true>(records, firstPosition)
                         : offerEach<false>(records, firstPosition);
}

// As offer() record by record, with the history and settings held in registers.
template <bool kSampleTargets>
std::size_t CrossoverDetector::offerEach(std::span<const DatalogRecord> records,
                                         std::int64_t firstPosition) {
  History history = m_history;
  const float transfer = m_transfer;
  const std::int16_t rpmMin = m_rpmMin;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (!isKeptCrossing<kSampleTargets>(history, records[i], transfer, rpmMin)) continue;
    if (!keep(records[i], firstPosition + static_cast<std::int64_t>(i))) {
      m_history = history;
      return i;
    }
    if (full()) break;
  }
  m_history = history;
  return records.size();
}

void publishCrossovers(CrossoverDetector& detector, CrossoverPoints& into,
                       common::StatusLog& status, CrossoverList& list) {
  status.append("Finding O2 Crossover");
  // The lines go to the list in batches of kCrossoverListBatch; a batch's strings are written
  // over for the next one, so their memory is taken once, not once per line.
  const auto& points = detector.points();
  const auto& positions = detector.positions();
  std::vector<std::string> batch(std::min(points.size(), kCrossoverListBatch));
  for (std::size_t first = 0; first < points.size(); first += batch.size()) {
    const std::size_t count = std::min(batch.size(), points.size() - first);
    for (std::size_t i = 0; i < count; ++i) {
      char line[128];
      batch[i].assign(line, writeDiagnosticLine(line, positions[first + i], points[first + i]));
    }
    list.append(std::span(batch.data(), count));
  }
  const bool full = detector.full();
  into = detector.takePoints();
  if (full) status.append("Maximum Crossover Points Found");
  status.append(std::to_string(into.size()) + " Crossover Points Found");
}

bool findCrossovers(std::span<const DatalogRecord> records, float transferVolts,
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
