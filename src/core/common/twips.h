// Twips (1/1440 inch) are the unit of every laid-out position and size in the program.
#pragma once

#include <cmath>

namespace tallimar::common {

constexpr double kTwipsPerInch = 1440.0;

// Twips to device pixels at the given logical resolution (dots per inch).
inline int twipsToPixels(double twips, double dpi) {
  return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}
inline double pixelsToTwips(double pixels, double dpi) { return pixels * kTwipsPerInch / dpi; }

}  // namespace tallimar::common
