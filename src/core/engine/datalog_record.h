// One sample of a MegaSquirt datalog, in the engineering units the ECU logged. Records exist
// only while one datalog is read: the reader hands them to crossover detection one by one.
#pragma once

#include <cstdint>

namespace tallimar::engine {

struct DatalogRecord {
  std::int16_t seconds = 0;  // time stamp; not used further
  std::int16_t rpm = 0;      // rev/min
  std::int16_t map = 0;      // kPa
  // The O2 signal: a narrow-band sensor's volts, or a wide-band sensor's AFR or lambda.
  float o2 = 0;
  // What o2 crosses at stoichiometric, for logs that carry it per sample (the wide-band
  // target); detection against the O2Transfer setting does not read it.
  float o2Target = 0;
  std::int16_t status = 0;  // the sample takes part in crossover detection only when 1
  std::int16_t gego = 0;    // EGO correction, percent
  std::int16_t gair = 0;    // air density correction, percent; read and checked, not used
  std::int16_t gwarm = 0;   // warm-up enrichment, percent; read and checked, not used
  std::int16_t gbaro = 0;   // barometric correction, percent; read and checked, not used
  std::int16_t gve = 0;     // VE the ECU used, percent
  std::int16_t gammaE = 0;  // GammaE enrichment, percent; only carried into the export

  bool operator==(const DatalogRecord&) const = default;
};

}  // namespace tallimar::engine
