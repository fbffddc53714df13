// Without Qt there is no renderer: pictures are refused.
#include "plot_png.h"

namespace tallimar::batch {

bool writePlotPng(const plot::DrawList&, const std::string&, std::string& error) {
  error = "PNG pictures need the build with Qt";
  return false;
}

}  // namespace tallimar::batch
