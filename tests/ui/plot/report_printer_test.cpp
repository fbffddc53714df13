// The `PrintPreview` window and pictures of its pages (the printed PDF: tallimar-batch tests).
#include "ui/plot/report_printer.h"

#include <gtest/gtest.h>

#include <QPrintDialog>
#include <QPrinter>
#include <QTest>

#include "core/plot/plot_fixtures.h"
#include "plot/report_page.h"
#include "ui/pictures.h"
#include "workspace/view_inputs.h"

namespace tallimar::ui::testing {
namespace {

// Six points; the next page replaces the one shown in the same window, reopened if closed.
TEST(ReportPrinter, PreviewIsOneWindowAtSixPointsThatEachPageReplaces) {
  QWidget owner;
  QtReportOutput output(&owner);
  plot::ReportSurface seen;
  workspace::Workspace ws;
  const auto builder = [&](const plot::ReportSurface& surface, const common::TextMetrics& metrics) {
    seen = surface;
    return plot::rawMapReportPage(ws.rawMap, ws.settings, surface, metrics);
  };
  output.preview(builder);
  ASSERT_TRUE(output.previewWindow() && output.previewWindow()->isVisible());
  EXPECT_TRUE(seen.pointSize == 6 && !seen.time.empty() && !seen.date.empty());
  output.previewWindow()->close();
  QTest::qWait(0);
  output.preview(builder);
  output.preview(builder);
  ASSERT_TRUE(output.previewWindow() && output.previewWindow()->isVisible());
  EXPECT_EQ(owner.findChildren<PrintPreview*>().size(), 1);
}

TEST(ReportPrinter, PicturesOfEveryPageAndThePrintDialog) {
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
