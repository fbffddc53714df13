// Without Qt there is no renderer: pictures and report pages are refused.
#include "plot_png.h"

namespace tallimar::batch {

bool writePlotPng(const plot::DrawList&, const std::string&, std::string& error) {
  error = "PNG pictures need the build with Qt";
  return false;
}

bool writeReportPdf(const commands::ReportPageBuilder&, const std::string&, std::string& error) {
  error = "PDF report pages need the build with Qt";
  return false;
}

}  // namespace tallimar::batch
