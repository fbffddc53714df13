// A build without Qt cannot paint.
#include "main_plot_png.h"

namespace tallimar::batch {

bool writeMainPlotPng(const workspace::Workspace&, const std::string&, std::string& why) {
  why = "this tallimar-batch was built without Qt and cannot draw the plot";
  return false;
}

}  // namespace tallimar::batch
