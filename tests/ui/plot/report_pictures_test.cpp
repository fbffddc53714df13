// Pictures of the preview window with each report page and of the print dialog, for a person
// to look at (see ui/pictures.h).
#include <gtest/gtest.h>

#include <QPrintDialog>
#include <QPrinter>

#include "core/plot/plot_fixtures.h"
#include "plot/report_page.h"
#include "ui/pictures.h"
#include "ui/plot/report_printer.h"
#include "workspace/view_inputs.h"

namespace tallimar::ui::testing {
namespace {

TEST(ReportPictures, PreviewOfEveryPageAndThePrintDialog) {
  if (!picturesWanted()) GTEST_SKIP() << "TALLIMAR_SCREENSHOT_DIR not set";
  workspace::Workspace ws;
  plot::fixtures::fillWorkspace(ws, 8);
  QWidget owner;
  QtReportOutput output(&owner);
  for (int v = 0; v <= plot::kVeViewCount; ++v) {  // the six views, then the raw data map
    output.preview([&](const plot::ReportSurface& surface, const common::TextMetrics& metrics) {
      return v == plot::kVeViewCount
                 ? plot::rawMapReportPage(ws.rawMap, ws.settings, surface, metrics)
                 : plot::reportPage(static_cast<plot::VeView>(v), workspace::viewInputs(ws),
                                    surface, metrics);
    });
    savePicture(output.previewWindow(), QStringLiteral("preview_page_%1").arg(v));
  }
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer);
  dialog.show();
  savePicture(&dialog, "print_dialog");
  dialog.reject();
}

}  // namespace
}  // namespace tallimar::ui::testing
