// Building the raw data map from crossover points, reducing its cells to Average and Median
// with optional outlier elimination, and clearing it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "common/status_log.h"
#include "engine/crossover_list.h"
#include "engine/crossover_point.h"
#include "engine/raw_data_map.h"

namespace tallimar::engine {

struct ReductionSettings {
  bool outlierEnable = false;  // VEOutlierEnable
  float outlierSigma = 2.0f;   // VEOutlierSigma
};

// The RPM index of a speed: rev/min / 100 rounded half to even (3450 -> 34, 3550 -> 36).
int rpmIndexOf(int rpm);

// Reduces one value list: the rounded mean (Average) and the midrange (Median) of the values
// kept after outlier elimination. Results beyond 16 bits (only a hand-made map file can hold
// such values) are clamped to -32768..32767, and a value that is not a number gives 0.
struct CellFigures {
  std::int16_t average = 0;
  std::int16_t median = 0;
  std::size_t valueCount = 0;  // elements in the value list
  std::size_t keptCount = 0;   // elements left after outlier elimination
};
CellFigures reduceValues(std::string_view valuesText, const ReductionSettings& settings,
                         std::vector<double>& scratch);

// The outlier line of the crossover list:
// "1 Outlier(s) Eliminated from 3 points at MAP:50 and RPM:3400".
std::string outlierLine(std::size_t dropped, std::size_t of, int mapKpa, int rpmIndex);

// Reduces every cell with RPM index 1..150 and MAP 1..256 that holds values, again from its
// full value list (cells with index 0 keep their figures). An outlier line goes to the list
// for every cell that lost values to outlier elimination, MAP ascending, then RPM.
void reduceRawDataMap(RawDataMap& map, const ReductionSettings& settings, CrossoverList& list);

// The whole build: "Building Crossover Array", the NewVE of every point appended to the
// value list of its cell [rpmIndexOf(RPM), MAP], "Finished Crossover Array", "Calculating
// high density map", the reduction, "Finished high density map".
// A point outside the grid (RPM index outside 0..150 or MAP outside 0..256) stops the build
// there: the points before it stay in their cells, nothing is reduced, no further status
// line is added, and the point's index in `points` is returned. nullopt when all went in.
std::optional<std::size_t> buildRawDataMap(RawDataMap& map, std::span<const CrossoverPoint> points,
                                           const ReductionSettings& settings,
                                           common::StatusLog& status, CrossoverList& list);

// Empties every cell with RPM index 1..150 and MAP 1..256 (value list empty, figures 0);
// cells with index 0 are kept, as a raw data map file keeps them.
void clearRawDataMap(RawDataMap& map);

}  // namespace tallimar::engine
