// The eleven-row colour legend.
#include "plot/legend.h"

namespace tallimar::plot {

const std::array<std::string_view, kBandCount>& legendCaptions(LegendKind kind) {
  return kind == LegendKind::VeDelta ? veDeltaLegendCaptions() : veLegendCaptions();
}

}  // namespace tallimar::plot
