// A small engine model behind the generated datalogs.
#include "support/datalog_generator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace tallimar::testsupport {
namespace {

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

}  // namespace

DatalogGenerator::DatalogGenerator(const DatalogShape& shape)
    : m_shape(shape),
      m_random(shape.seed),
      m_rpm(shape.rpmLow + 300),
      m_map(shape.mapLow + 10),
      m_rpmTarget(m_rpm),
      m_mapTarget(m_map) {}

std::string DatalogGenerator::header() const {
  std::string text = m_shape.layout == LogLayout::Full
                         ? "Time\tSecL\tRPM\tMAP\tTP\tO2\tMAT\tCLT\tEngine\tGego\tGair\tGwarm\tGbar"
                           "o\tGammae\tTPSacc\tGve\tPW"
                         : "Seconds\tRPM\tMAP\tO2\tStatus\tGego\tGair\tGwarm\tGbaro\tGve\tGammaE";
  if (m_shape.lowerCaseHeader)
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
      return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
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
    m_rpmTarget = uniform(m_shape.rpmLow, m_shape.rpmHigh);
    m_mapTarget = uniform(m_shape.mapLow, m_shape.mapHigh);
  }
  m_rpm += (m_rpmTarget - m_rpm) * 0.08 + uniform(-15, 15);
  m_map += (m_mapTarget - m_map) * 0.08 + uniform(-0.6, 0.6);
  s.rpm = std::clamp(static_cast<int>(std::lround(m_rpm)), m_shape.rpmLow, m_shape.rpmHigh);
  s.map = std::clamp(static_cast<int>(std::lround(m_map)), m_shape.mapLow, m_shape.mapHigh);
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
  const double transfer = m_shape.transferVolts;
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

engine::DatalogRecord DatalogGenerator::record(const GeneratedSample& s) const {
  engine::DatalogRecord r;
  auto i16 = [](int v) { return static_cast<std::int16_t>(v); };
  r.seconds = i16(s.seconds);
  r.rpm = i16(m_shape.layout == LogLayout::Full ? floorDiv(s.rpm, 100) * 100 : s.rpm);
  r.map = i16(s.map);
  r.o2 = static_cast<float>(s.o2Millivolts / 1000.0);
  r.status = i16(s.status);
  r.gego = i16(s.gego);
  r.gair = i16(s.gair);
  r.gwarm = i16(s.gwarm);
  r.gbaro = i16(s.gbaro);
  r.gve = i16(s.gve);
  r.gammaE = i16(s.gammaE);
  return r;
}

namespace {

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

}  // namespace

std::string generateDatalog(const DatalogShape& shape) {
  std::string text;
  generate(shape, [&](const std::string& piece) { text += piece; });
  return text;
}

void writeDatalog(const std::string& path, const DatalogShape& shape) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                       &std::fclose);
  if (!file) throw std::runtime_error("cannot create " + path);
  std::string pending;
  auto flush = [&] {
    if (std::fwrite(pending.data(), 1, pending.size(), file.get()) != pending.size())
      throw std::runtime_error("cannot write " + path);
    pending.clear();
  };
  generate(shape, [&](const std::string& piece) {
    pending += piece;
    if (pending.size() > (1u << 20)) flush();
  });
  flush();
}

void writeMslDatalog(const std::string& path, const DatalogShape& shape, int columns) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                       &std::fclose);
  if (!file) throw std::runtime_error("cannot create " + path);
  // The columns read, at their places; every other column is a filler number.
  const int target = columns - 4;
  auto name = [&](int c) -> std::string {
    switch (c) {
      case 0:
        return "Time";
      case 1:
        return "SecL";
      case 2:
        return "RPM";
      case 3:
        return "MAP";
      case 5:
        return "AFR";
      case 8:
        return "Engine";
      case 10:
        return "EGO cor1";
      case 14:
        return "Fuel: Total cor";
      case 17:
        return "VE1";
      default:
        return c == target ? "AFR 1 Target" : "Extra " + std::to_string(c);
    }
  };
  std::string text = "\"MSII Rev 2.92000 generated\"\n\"Capture Date: generated\"\n";
  for (int c = 0; c < columns; ++c) text += (c ? "\t" : "") + name(c);
  text += "\n";
  for (int c = 0; c < columns; ++c) text += c == 2 ? "\tRPM" : c ? "\tu" : "s";
  text += "\n";
  DatalogGenerator generator(shape);
  char field[32];
  for (std::int64_t i = 0; i < shape.samples; ++i) {
    const GeneratedSample s = generator.next();
    const double afr = 14.7 + (450 - s.o2Millivolts) / 250.0;
    for (int c = 0; c < columns; ++c) {
      if (c) text += '\t';
      switch (c) {
        case 0:
          std::snprintf(field, sizeof field, "%.3f", s.time);
          break;
        case 1:
          std::snprintf(field, sizeof field, "%d", s.seconds);
          break;
        case 2:
          std::snprintf(field, sizeof field, "%d", s.rpm);
          break;
        case 3:
          std::snprintf(field, sizeof field, "%d.%d", s.map, s.tps % 10);
          break;
        case 5:
          std::snprintf(field, sizeof field, "%.2f", afr);
          break;
        case 8:
          std::snprintf(field, sizeof field, "%d", s.status == 1 ? 1 : 9);
          break;
        case 10:
          std::snprintf(field, sizeof field, "%d.0", s.gego);
          break;
        case 14:
          std::snprintf(field, sizeof field, "%d.0", s.gammaE);
          break;
        case 17:
          std::snprintf(field, sizeof field, "%d.0", s.gve);
          break;
        default:
          if (c == target)
            std::snprintf(field, sizeof field, "14.7");
          else
            std::snprintf(field, sizeof field, "%.2f", (s.clt + 7 * c) / 3.0);
      }
      text += field;
    }
    text += '\n';
    if (text.size() > (1u << 20)) {
      if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size())
        throw std::runtime_error("cannot write " + path);
      text.clear();
    }
  }
  if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size())
    throw std::runtime_error("cannot write " + path);
}

std::vector<engine::DatalogRecord> expectedRecords(const DatalogShape& shape) {
  DatalogGenerator generator(shape);
  std::vector<engine::DatalogRecord> records;
  for (std::int64_t i = 0; i < shape.samples; ++i)
    records.push_back(generator.record(generator.next()));
  // The no-line-feed layout does not read a last line that has no line feed.
  if (shape.layout == LogLayout::NoLineFeed && !shape.lastLineEnded && !records.empty())
    records.pop_back();
  return records;
}

}  // namespace tallimar::testsupport
