// The filtered data map: the raw data map's grid with one smoothed VE value per cell.
#pragma once

#include <vector>

#include "engine/raw_data_map.h"

namespace tallimar::vemap {

class FilteredMap {
 public:
  FilteredMap()
      : m_values(static_cast<std::size_t>(engine::kRawRpmCells * engine::kRawMapCells), 0.0f) {}
  float& at(int rpmIndex, int mapKpa) { return m_values[index(rpmIndex, mapKpa)]; }
  float at(int rpmIndex, int mapKpa) const { return m_values[index(rpmIndex, mapKpa)]; }
  void clear() { std::fill(m_values.begin(), m_values.end(), 0.0f); }

 private:
  static std::size_t index(int rpmIndex, int mapKpa) {
    return static_cast<std::size_t>(rpmIndex * engine::kRawMapCells + mapKpa);
  }
  std::vector<float> m_values;  // percent; 0 = no filtered value
};

}  // namespace tallimar::vemap
