// Cell text rules, grid read-back, clearing and the view choices of the VE table window.
#include "vemap/table_editing.h"

#include <cmath>

#include "common/number_text.h"

namespace tallimar::vemap {

double cellTextNumber(std::string_view text) {
  std::string packed;
  packed.reserve(text.size());
  for (const char c : text) {
    if (c != ' ' && c != '\t') packed.push_back(c);
  }
  return common::parseLeadingNumber(packed);
}

std::optional<std::int16_t> cellTextValue(std::string_view text) {
  const double value = std::floor(cellTextNumber(text));
  if (!(value >= -32768.0 && value <= 32767.0)) return std::nullopt;
  return static_cast<std::int16_t>(value);
}

std::string cellTextShown(std::string_view text) {
  return common::shortestText(cellTextNumber(text));
}

GridReadResult read8x8Map(VeTable& table, const GridTexts& texts) {
  GridReadResult result;
  auto readInto = [](std::int16_t& target, const std::string& text, std::vector<int>& refused,
                     int index) {
    if (const auto value = cellTextValue(text))
      target = *value;
    else
      refused.push_back(index);
  };
  for (int k = 0; k < table.activeMap(); ++k) {
    const auto i = static_cast<std::size_t>(k);
    readInto(table.mapBins[i], texts.mapBins[i], result.refusedMapBins, k);
  }
  for (int k = 0; k < table.activeRpm(); ++k) {
    const auto i = static_cast<std::size_t>(k);
    readInto(table.rpmBins[i], texts.rpmBins[i], result.refusedRpmBins, k);
  }
  for (int r = 0; r < table.activeRpm(); ++r) {
    for (int m = 0; m < table.activeMap(); ++m) {
      const int cell = r * kMaxBins + m;
      readInto(table.at(r, m), texts.ve[static_cast<std::size_t>(cell)], result.refusedVeCells,
               cell);
    }
  }
  return result;
}

void clear8x8Map(VeTable& table) {
  for (int r = 0; r < table.activeRpm(); ++r) {
    for (int m = 0; m < table.activeMap(); ++m) table.at(r, m) = 0;
  }
  table.lowDensityMapPresent = false;
}

PlotViewButtons vePlotViewButtons(const VeTable& table, bool rawDataMapPresent) {
  const bool low = table.lowDensityMapPresent;
  const bool raw = rawDataMapPresent;
  const bool filtered = table.filteredMapPresent;
  PlotViewButtons buttons;
  buttons.views = {low, raw, filtered, low && raw, low && filtered, raw && filtered};
  buttons.calculateMap = raw;
  buttons.filterRawDatalog = raw;
  return buttons;
}

}  // namespace tallimar::vemap
