// A small engine model behind the generated datalogs.
#include "support/datalog_generator.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <stdexcept>
#include <vector>

namespace tallimar::testsupport {
namespace {

constexpr int kRpmLow = 900, kRpmHigh = 6500, kMapLow = 25, kMapHigh = 100;

std::string defaultLineEnd(const DatalogShape& shape) {
  if (!shape.lineEnd.empty()) return shape.lineEnd;
  return shape.layout == LogLayout::NoLineFeed ? "\n" : "\r\n";
}

std::string volts(int millivolts) {
  char text[16];
  std::snprintf(text, sizeof text, "%s%d.%03d", millivolts < 0 ? "-" : "",
                std::abs(millivolts) / 1000, std::abs(millivolts) % 1000);
  return text;
}

int floorDiv(int value, int by) { return value >= 0 ? value / by : -((-value + by - 1) / by); }

// One generated sample with the values it is written with.
struct GeneratedSample {
  double time = 0;  // seconds since the start (full layout, column 0)
  int seconds = 0;  // the ECU's 8-bit seconds counter
  int rpm = 0;      // rev/min; the full layout writes rpm / 100, rounded down
  int map = 0, tps = 0;
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

 private:
  DatalogShape m_shape;
  std::mt19937 m_random;
  std::int64_t m_index = 0;
  double m_rpm = kRpmLow + 300, m_map = kMapLow + 10, m_rpmTarget = m_rpm, m_mapTarget = m_map;
  bool m_rich = false;
  int m_halfCycleLeft = 0;
  int m_gapLeft = 0;
  int m_gapStatus = 0;
  int m_gego = 100;
};

DatalogGenerator::DatalogGenerator(const DatalogShape& shape)
    : m_shape(shape), m_random(shape.seed) {}

std::string DatalogGenerator::header() const {
  std::string text = m_shape.layout == LogLayout::Full
                         ? "Time\tSecL\tRPM\tMAP\tTP\tO2\tMAT\tCLT\tEngine\tGego\tGair\tGwarm\tGbar"
                           "o\tGammae\tTPSacc\tGve\tPW"
                         : "Seconds\tRPM\tMAP\tO2\tStatus\tGego\tGair\tGwarm\tGbaro\tGve\tGammaE";
  if (m_shape.lowerCaseHeader)
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

GeneratedSample DatalogGenerator::next() {
  auto uniform = [this](double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(m_random);
  };
  GeneratedSample s;
  s.time = static_cast<double>(m_index) * 0.1;
  s.seconds = static_cast<int>((m_index / 10) % 256);
  ++m_index;

  // The driver picks a new operating point now and then; the engine follows smoothly.
  if (uniform(0, 1) < 0.02) {
    m_rpmTarget = uniform(kRpmLow, kRpmHigh);
    m_mapTarget = uniform(kMapLow, kMapHigh);
  }
  m_rpm += (m_rpmTarget - m_rpm) * 0.08 + uniform(-15, 15);
  m_map += (m_mapTarget - m_map) * 0.08 + uniform(-0.6, 0.6);
  s.rpm = std::clamp(static_cast<int>(std::lround(m_rpm)), kRpmLow, kRpmHigh);
  s.map = std::clamp(static_cast<int>(std::lround(m_map)), kMapLow, kMapHigh);
  s.tps = std::clamp((s.map - 20) * 100 / 80, 0, 100);

  // Status: 1 = running; runs of warm-up (5) or acceleration (17) bits, or a stall (0).
  if (m_gapLeft == 0 && uniform(0, 1) < m_shape.statusGapChance) {
    m_gapLeft = static_cast<int>(uniform(1, 25));
    const int kinds[] = {0, 5, 17, 33};
    m_gapStatus = kinds[static_cast<int>(uniform(0, 4)) % 4];
  }
  s.status = m_gapLeft > 0 ? (--m_gapLeft, m_gapStatus) : 1;

  // Closed-loop EGO: the mixture flips between rich and lean, and Gego ramps against it.
  if (m_halfCycleLeft == 0) {
    m_rich = !m_rich;
    m_halfCycleLeft = static_cast<int>(uniform(m_shape.halfCycleMin, m_shape.halfCycleMax + 1));
  }
  --m_halfCycleLeft;
  const double transfer = 0.5;
  const double level = m_rich ? uniform(transfer + 0.15, 0.92) : uniform(0.04, transfer - 0.15);
  s.o2Millivolts = static_cast<int>(std::lround(level * 1000));
  m_gego = std::clamp(m_gego + (m_rich ? -1 : 1), 80, 120);
  s.gego = m_gego;

  s.gve = std::clamp(static_cast<int>(30 + s.map * 0.45 + s.rpm / 250.0 + uniform(-1, 1)), 20, 120);
  s.gair = 100 - (s.seconds % 7);
  s.gwarm = s.status == 5 ? 115 : 100;
  s.gammaE = s.gwarm * s.gair / 100;
  return s;
}

std::string DatalogGenerator::line(const GeneratedSample& s) const {
  char text[256];
  if (m_shape.layout == LogLayout::Full) {
    std::snprintf(
        text, sizeof text, "%.3f\t%d\t%d\t%d\t%d\t%s\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%.1f",
        s.time, s.seconds, floorDiv(s.rpm, 100), s.map, s.tps, volts(s.o2Millivolts).c_str(), s.mat,
        s.clt, s.status, s.gego, s.gair, s.gwarm, s.gbaro, s.gammaE, 0, s.gve, s.gve * 0.1);
  } else {
    std::snprintf(text, sizeof text, "%d\t%d\t%d\t%s\t%d\t%d\t%d\t%d\t%d\t%d\t%d", s.seconds, s.rpm,
                  s.map, volts(s.o2Millivolts).c_str(), s.status, s.gego, s.gair, s.gwarm, s.gbaro,
                  s.gve, s.gammaE);
  }
  return text;
}

template <typename Write>
void generate(const DatalogShape& shape, Write&& write) {
  DatalogGenerator generator(shape);
  const std::string end = defaultLineEnd(shape);
  write(generator.header());
  if (shape.samples > 0 || shape.lastLineEnded) write(end);
  for (std::int64_t i = 0; i < shape.samples; ++i) {
    write(generator.line(generator.next()));
    if (i + 1 < shape.samples || shape.lastLineEnded) write(end);
  }
}

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File create(const std::string& path) {
  File file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file) throw std::runtime_error("cannot create " + path);
  return file;
}

// Writes what is pending once it passes a megabyte, or all of it when `all`.
void flush(std::FILE* file, std::string& pending, const std::string& path, bool all = false) {
  if (!all && pending.size() <= (1u << 20)) return;
  if (std::fwrite(pending.data(), 1, pending.size(), file) != pending.size())
    throw std::runtime_error("cannot write " + path);
  pending.clear();
}

std::string format(const char* pattern, double value) {
  char field[32];
  std::snprintf(field, sizeof field, pattern, value);
  return field;
}

}  // namespace

std::string generateDatalog(const DatalogShape& shape) {
  std::string text;
  generate(shape, [&](const std::string& piece) { text += piece; });
  return text;
}

void writeDatalog(const std::string& path, const DatalogShape& shape) {
  const File file = create(path);
  std::string pending;
  generate(shape, [&](const std::string& piece) {
    pending += piece;
    flush(file.get(), pending, path);
  });
  flush(file.get(), pending, path, true);
}

std::string writeDatalog(const std::string& path, std::int64_t samples, std::uint32_t seed) {
  DatalogShape shape;
  shape.samples = samples;
  shape.seed = seed;
  writeDatalog(path, shape);
  return path;
}

void writeMslDatalog(const std::string& path, const DatalogShape& shape, int columns) {
  const File file = create(path);
  // The columns read, at their places; every other column is a filler number.
  std::vector<std::string> names(static_cast<std::size_t>(columns));
  for (int c = 0; c < columns; ++c)
    names[static_cast<std::size_t>(c)] = "Extra " + std::to_string(c);
  const auto target = static_cast<std::size_t>(columns - 4);
  names[0] = "Time", names[1] = "SecL", names[2] = "RPM", names[3] = "MAP", names[5] = "AFR";
  names[8] = "Engine", names[10] = "EGO cor1", names[14] = "Fuel: Total cor", names[17] = "VE1";
  names[target] = "AFR 1 Target";
  std::string text = "\"MSII Rev 2.92000 generated\"\n\"Capture Date: generated\"\n";
  for (int c = 0; c < columns; ++c) text += (c ? "\t" : "") + names[static_cast<std::size_t>(c)];
  text += "\n";
  for (int c = 0; c < columns; ++c) text += c == 2 ? "\tRPM" : c ? "\tu" : "s";
  text += "\n";
  DatalogGenerator generator(shape);
  std::vector<std::string> row(names.size());
  for (std::int64_t i = 0; i < shape.samples; ++i) {
    const GeneratedSample s = generator.next();
    for (std::size_t c = 0; c < row.size(); ++c)
      row[c] = format("%.2f", (s.clt + 7.0 * static_cast<double>(c)) / 3.0);
    row[0] = format("%.3f", s.time);
    row[1] = std::to_string(s.seconds);
    row[2] = std::to_string(s.rpm);
    row[3] = std::to_string(s.map) + "." + std::to_string(s.tps % 10);
    row[5] = format("%.2f", 14.7 + (450 - s.o2Millivolts) / 250.0);
    row[8] = s.status == 1 ? "1" : "9";  // the Engine byte: warm-up when not running
    row[10] = std::to_string(s.gego) + ".0";
    row[14] = std::to_string(s.gammaE) + ".0";
    row[17] = std::to_string(s.gve) + ".0";
    row[target] = "14.7";
    for (std::size_t c = 0; c < row.size(); ++c) text += (c ? "\t" : "") + row[c];
    text += '\n';
    flush(file.get(), text, path);
  }
  flush(file.get(), text, path, true);
}

}  // namespace tallimar::testsupport
