// An sRGB colour as the plots, legends and gauges use it.
#pragma once

#include <cstdint>

namespace tallimar::common {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

}  // namespace tallimar::common
