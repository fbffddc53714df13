// The settings record: every user preference of the program, one instance per process
// (held by the Workspace). Field defaults are the first-run values of an empty store.
#pragma once

#include <cstdint>
#include <string>

namespace tallimar::settings {

// The per-user store's application name and section; every key lives under these.
inline constexpr const char* kApplication = "MegaSquirt";
inline constexpr const char* kSection = "Settings";

struct Settings {
  std::string incPath;               // "INCPath": folder of the *.inc tables, no trailing separator
  float o2Transfer = 0.5f;           // "O2Transfer": narrow-band transfer voltage, volts
  float wbTargetAfr = 14.7f;         // "WBTargetAFR": wide-band AFR at stoichiometric
  float veOutlierSigma = 2.0f;       // "VEOutlierSigma": multiple of the standard deviation
  std::int16_t veRange = 0;          // "VERange": 0 = Average, 1 = Median ("Mean" in the store)
  bool veOutlierEnable = false;      // "VEOutlierEnable"
  std::int16_t rpmMax = 10000;       // "RPMMax", rev/min
  std::int16_t rpmMin = 1200;        // "RPMMin", rev/min
  std::int16_t mapMax = 100;         // "MAPMax", kPa
  std::int16_t comPort = 1;          // "ComPort": 1 = first serial port
  std::int16_t dataRate = 50;        // "DataRate", milliseconds
  std::int16_t bSpline = 50;         // "BSpline": smoothing percent of the first pass
  std::int16_t bSpline2 = 33;        // "BSpline2": smoothing percent of the second pass
  std::int16_t bSplineFilter = 1;    // "BSplineFilter": 1 = one-step, 2 = two-step
  bool bSplineOutlier = false;       // "BSplineOutlier"
  std::int16_t bSplineSigma = 3;     // "BSplineSigma"
  std::int16_t temperatureUnit = 0;  // "Tempereature": 1 F, 2 C, 3 K, 0 none recognised
  std::int16_t manifoldUnit = 0;     // "Manifold": 1 kPa, 2 inHg, 3 bar, 0 none recognised
  std::int16_t veSizeRPM = 8;        // "VESizeRPM": active RPM bins of the VE table
  std::int16_t veSizeMAP = 8;        // "VESizeMAP": active MAP bins of the VE table
};

}  // namespace tallimar::settings
