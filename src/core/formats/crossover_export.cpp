// Text of the crossover export.
#include "formats/crossover_export.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <sstream>
#include <vector>

#include "common/number_text.h"

namespace tallimar::formats {
namespace {

constexpr const char* kEnd = "\r\n";

void appendNumber(std::string& out, long long value) {
  char digits[24];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  (void)ec;
  out.append(digits, end);
}

// The grid's RPM columns: RPMMin/100, then +1 each step while not past `last`, as the
// program's loop over a fractional counter runs.
std::vector<double> rpmSteps(const settings::Settings& settings, double extra) {
  std::vector<double> steps;
  const double last = settings.rpmMax / 100.0 + extra;
  for (double r = settings.rpmMin / 100.0; r <= last && steps.size() < 70000; r += 1.0)
    steps.push_back(r);
  return steps;
}

// r x 100 as the program writes a decimal value: up to 15 significant digits.
std::string rpmText(double r) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", r * 100.0);
  return text;
}

}  // namespace

std::string crossoverExportLine(const engine::CrossoverPoint& point) {
  std::string line;
  line.reserve(40);
  for (int value : {point.map, point.rpm, point.gego, point.gve, point.gammaE}) {
    appendNumber(line, value);
    line += '\t';
  }
  line += common::shortestText(point.o2);
  line += '\t';
  appendNumber(line, point.newVE);
  return line;
}

common::Outcome writeCrossoverExport(const engine::RawDataMap& map,
                                     const engine::CrossoverPoints& points,
                                     const settings::Settings& settings,
                                     const std::string& dateTime, std::ostream& out) {
  const std::vector<double> columns = rpmSteps(settings, 0.0);
  std::vector<int> indices;
  for (double r : columns) {
    const int index = static_cast<int>(common::roundHalfEven(r));
    if (index < 0 || index >= engine::kRawRpmCells) {
      return common::fail("the RPM range " + std::to_string(settings.rpmMin) + ".." +
                          std::to_string(settings.rpmMax) + " reaches outside the raw data map");
    }
    indices.push_back(index);
  }
  if (settings.mapMax >= engine::kRawMapCells)
    return common::fail("MAPMax " + std::to_string(settings.mapMax) +
                        " reaches outside the raw data map");

  const bool median = settings.veRange != 0;
  std::string text;
  text.reserve(static_cast<std::size_t>(std::max<int>(settings.mapMax, 0)) *
                   (indices.size() * 4 + 16) +
               4096);
  text +=
      std::string("High Density VE Map ") + (median ? "-Median- " : "-Average- ") + dateTime + kEnd;
  text += "High Density VE Map " + dateTime + kEnd;
  for (int m = 1; m <= settings.mapMax; ++m) {
    text += "MAP:";
    appendNumber(text, m);
    text += "\t*\t";
    for (int r : indices) {
      const engine::RawDataCell& cell = map.at(r, m);
      appendNumber(text, median ? cell.median : cell.average);
      text += '\t';
    }
    text += kEnd;
  }
  text += '\t';
  for (std::size_t i = 0, n = rpmSteps(settings, 1.0).size(); i < n; ++i) text += "*\t";
  text += kEnd;
  text += "\t\t";
  for (double r : columns) text += rpmText(r) + "\t";
  text += kEnd;
  text += std::string("\t\tRPM") + kEnd;
  text += kEnd;
  text += std::to_string(points.size()) + " O2 Transfer Points at " +
          common::formatPattern(settings.o2Transfer, "0.000") + " Volts" + kEnd;
  text += std::string("MAP\tRPM\tGego\tGve\tGammaE\tO2\tNewVE") + kEnd;

  out.write(text.data(), static_cast<std::streamsize>(text.size()));

  // The point lines (up to 200,000) go out one by one, never as one more copy of them all.
  std::vector<std::string> lines;
  lines.reserve(points.size());
  for (const auto& point : points) lines.push_back(crossoverExportLine(point));
  std::sort(lines.begin(), lines.end());  // character-code order: MAP 100 before 20
  for (const auto& line : lines) {
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    out.write(kEnd, 2);
  }
  return {};
}

common::Expected<std::string> buildCrossoverExport(const engine::RawDataMap& map,
                                                   const engine::CrossoverPoints& points,
                                                   const settings::Settings& settings,
                                                   const std::string& dateTime) {
  std::ostringstream out;
  if (const common::Outcome written = writeCrossoverExport(map, points, settings, dateTime, out);
      !written)
    return common::Failure{written.reason()};
  return std::move(out).str();
}

}  // namespace tallimar::formats
