// The raw data map: NewVE values of all crossover points on a grid of 100 rev/min x 1 kPa.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tallimar::engine {

inline constexpr int kRawRpmCells = 151;  // RPM index 0..150 (rev/min / 100)
inline constexpr int kRawMapCells = 257;  // MAP 0..256 kPa

struct RawDataCell {
  std::string values;        // the cell's NewVE values as text, " 62,-3, 70" style
  std::int16_t average = 0;  // rounded mean after outlier elimination; 0 when empty
  std::int16_t median = 0;   // (smallest + largest kept) / 2, rounded half to even
};

class RawDataMap {
 public:
  RawDataMap() : m_cells(static_cast<std::size_t>(kRawRpmCells * kRawMapCells)) {}
  RawDataCell& at(int rpmIndex, int mapKpa) { return m_cells[index(rpmIndex, mapKpa)]; }
  const RawDataCell& at(int rpmIndex, int mapKpa) const { return m_cells[index(rpmIndex, mapKpa)]; }
  static bool inside(int rpmIndex, int mapKpa) {
    return rpmIndex >= 0 && rpmIndex < kRawRpmCells && mapKpa >= 0 && mapKpa < kRawMapCells;
  }

 private:
  static std::size_t index(int rpmIndex, int mapKpa) {
    return static_cast<std::size_t>(rpmIndex * kRawMapCells + mapKpa);
  }
  std::vector<RawDataCell> m_cells;
};

}  // namespace tallimar::engine
