// Raw data map build, reduction and clearing.
#include "engine/raw_map_builder.h"

#include <cmath>

#include "common/number_text.h"
#include "engine/raw_map_statistics.h"

namespace tallimar::engine {
namespace {

// A reduction figure into 16 bits: half-to-even rounding, clamped to the 16-bit range so that
// a hand-made map file with huge values cannot stop the program; not-a-number gives 0.
std::int16_t clampedFigure(double value) {
  if (std::isnan(value)) return 0;
  const double rounded = common::roundHalfEven(value);
  if (rounded >= 32767.0) return 32767;
  if (rounded <= -32768.0) return -32768;
  return static_cast<std::int16_t>(rounded);
}

}  // namespace

int rpmIndexOf(int rpm) {
  // rpm / 100 rounded half to even, in whole numbers: a quotient ends in .5 exactly when the
  // remainder is 50, and the rounding is the same on both sides of zero.
  const int magnitude = rpm < 0 ? -rpm : rpm;
  const int quotient = magnitude / 100;
  const int remainder = magnitude % 100;
  const int index = quotient + (remainder > 50 || (remainder == 50 && (quotient & 1) != 0));
  return rpm < 0 ? -index : index;
}

CellFigures reduceValues(std::string_view valuesText, const ReductionSettings& settings,
                         std::vector<double>& scratch) {
  scratch.clear();
  parseValueList(valuesText, scratch);
  CellFigures figures;
  figures.valueCount = scratch.size();
  if (settings.outlierEnable && scratch.size() >= 3) {
    const double band =
        sampleStandardDeviation(scratch) * static_cast<double>(settings.outlierSigma);
    const double centre = roundedMean(scratch);
    std::size_t kept = 0;
    for (double v : scratch)
      if (centre - band <= v && v <= centre + band) scratch[kept++] = v;
    // When no value lies in the band the cell keeps the single value 0 for this reduction.
    if (kept == 0) scratch[kept++] = 0.0;
    scratch.resize(kept);
  }
  figures.keptCount = scratch.size();
  figures.average = clampedFigure(roundedMean(scratch));
  figures.median = clampedFigure((largestValue(scratch) + smallestValue(scratch)) / 2.0);
  return figures;
}

std::string outlierLine(std::size_t dropped, std::size_t of, int mapKpa, int rpmIndex) {
  return std::to_string(dropped) + " Outlier(s) Eliminated from " + std::to_string(of) +
         " points at MAP:" + std::to_string(mapKpa) + " and RPM:" + std::to_string(rpmIndex * 100);
}

void reduceRawDataMap(RawDataMap& map, const ReductionSettings& settings, CrossoverList& list) {
  CrossoverListBatcher outliers(list);
  std::vector<double> scratch;
  for (int m = 1; m < kRawMapCells; ++m) {
    for (int r = 1; r < kRawRpmCells; ++r) {
      RawDataCell& cell = map.at(r, m);
      if (cell.values.empty()) continue;
      const CellFigures figures = reduceValues(cell.values, settings, scratch);
      cell.average = figures.average;
      cell.median = figures.median;
      if (figures.keptCount < figures.valueCount)
        outliers.add(outlierLine(figures.valueCount - figures.keptCount, figures.valueCount, m, r));
    }
  }
}

std::optional<std::size_t> buildRawDataMap(RawDataMap& map, std::span<const CrossoverPoint> points,
                                           const ReductionSettings& settings,
                                           common::StatusLog& status, CrossoverList& list) {
  status.append("Building Crossover Array");
  for (std::size_t i = 0; i < points.size(); ++i) {
    const CrossoverPoint& point = points[i];
    const int r = rpmIndexOf(point.rpm);
    if (!RawDataMap::inside(r, point.map)) return i;
    std::string& values = map.at(r, point.map).values;
    if (!values.empty()) values += ',';
    appendValueText(values, point.newVE);
  }
  status.append("Finished Crossover Array");
  status.append("Calculating high density map");
  reduceRawDataMap(map, settings, list);
  status.append("Finished high density map");
  return std::nullopt;
}

void clearRawDataMap(RawDataMap& map) {
  for (int r = 1; r < kRawRpmCells; ++r)
    for (int m = 1; m < kRawMapCells; ++m) map.at(r, m) = RawDataCell{};
}

}  // namespace tallimar::engine
