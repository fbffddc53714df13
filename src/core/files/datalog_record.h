// One sample of a MegaSquirt datalog, in the engineering units the ECU logged. Records exist
// only while one datalog is read: the reader hands them to crossover detection one by one.
#pragma once

#include <array>
#include <cstdint>

namespace tallimar::files {

struct DatalogRecord {
  std::int16_t seconds = 0;  // time stamp; not used further
  std::int16_t rpm = 0;      // rev/min
  std::int16_t map = 0;      // kPa
  float o2 = 0;              // narrow-band O2 sensor, volts
  std::int16_t status = 0;   // the sample takes part in crossover detection only when 1
  std::int16_t gego = 0;     // EGO correction, percent
  std::array<std::int16_t, 3> further{};  // read and checked, not used
  std::int16_t gve = 0;                   // VE the ECU used, percent
  std::int16_t gammaE = 0;  // GammaE enrichment, percent; only carried into the export
};

}  // namespace tallimar::files
