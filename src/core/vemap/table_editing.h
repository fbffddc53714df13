// Editing the low-density VE table: how typed cell texts become table values
// (`Read8x8Map`), "Clear LD Map" (`Clear8x8Map`), and which plot views and commands the
// table's flags offer (`VEPlotViewButtons`).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vemap/ve_table.h"

namespace tallimar::vemap {

// The number a grid cell's text stands for: blanks (spaces, tabs) anywhere in the text are
// ignored, then the leading number is read (sign, digits, one ".", exponent) up to the first
// character that cannot continue it; text without a leading number reads 0.
// "5 5abc" -> 55, "55.7" -> 55.7, "abc" -> 0.
double cellTextNumber(std::string_view text);

// The table value of a cell text: cellTextNumber rounded down ("62.9" -> 62, "-5.5" -> -6).
// nullopt when the value does not fit 16 bits (the table keeps its old value then).
std::optional<std::int16_t> cellTextValue(std::string_view text);

// What a VE cell shows once it loses focus: its number before rounding, as decimal text
// ("55abc" -> "55", "abc" -> "0", "55.7" -> "55.7").
std::string cellTextShown(std::string_view text);

// The texts of the editing grid: VE cell 16 r + m, RPM bin cells, MAP bin cells.
struct GridTexts {
  std::array<std::string, kMaxBins * kMaxBins> ve;
  std::array<std::string, kMaxBins> rpmBins;
  std::array<std::string, kMaxBins> mapBins;
};

// Cells whose text did not fit 16 bits; they kept their previous table value.
struct GridReadResult {
  std::vector<int> refusedVeCells;  // cell numbers 16 r + m
  std::vector<int> refusedRpmBins;
  std::vector<int> refusedMapBins;
  bool allRead() const {
    return refusedVeCells.empty() && refusedRpmBins.empty() && refusedMapBins.empty();
  }
};

// `Read8x8Map`: the active bins and the active corner of VE values from the grid texts.
// Flags are not touched (the window sets low-density-map-present after a VE cell edit).
GridReadResult read8x8Map(VeTable& table, const GridTexts& texts);

// `Clear8x8Map`'s table change: every active VE value becomes 0, bins kept, and the
// low-density-map-present flag is cleared.
void clear8x8Map(VeTable& table);

// What `VEPlotViewButtons` enables, from the three flags.
struct PlotViewButtons {
  // optVEView 0..5: "Low Density Map", "Raw Datalog", "Filtered Datalog", "Raw/Low Delta",
  // "Filtered/Low Delta", "Filtered/Raw Delta".
  std::array<bool, 6> views{};
  bool calculateMap = false;      // cmdCalculateMap, mnuCalcuateMap
  bool filterRawDatalog = false;  // cmdFilterRawDatalog, mnuFilterRawDatalog
};
PlotViewButtons vePlotViewButtons(const VeTable& table, bool rawDataMapPresent);

}  // namespace tallimar::vemap
