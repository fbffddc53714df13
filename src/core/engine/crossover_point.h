// A crossover point: the engine state at a moment the narrow-band O2 sensor crossed its
// transfer voltage, with the EGO-corrected VE ("NewVE") the ECU should have used there.
#pragma once

#include <cstdint>
#include <vector>

namespace tallimar::engine {

struct CrossoverPoint {
  std::int16_t rpm = 0;     // rev/min
  std::int16_t map = 0;     // kPa
  std::int16_t gego = 0;    // percent
  std::int16_t gve = 0;     // percent
  std::int16_t gammaE = 0;  // percent
  float o2 = 0;             // volts, of the crossing sample
  std::int16_t newVE = 0;   // (Gve/100) x (Gego/100) x 100, rounded half to even
};

// The points of the last datalog read, in the order found (the first point is points[0]).
inline constexpr std::size_t kMaxCrossoverPoints = 200000;
using CrossoverPoints = std::vector<CrossoverPoint>;

}  // namespace tallimar::engine
