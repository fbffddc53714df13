// The `PrintPreview` window. The printed page (its printable area, and refusing a PDF that
// cannot be written) is checked end to end through tallimar-batch's report PDFs.
#include "ui/plot/report_printer.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "common/twips.h"
#include "plot/report_page.h"

namespace tallimar::ui {
namespace {

// A page builder that remembers the surface it was laid out for.
struct SurfaceSpy {
  plot::ReportSurface seen;
  commands::ReportPageBuilder builder() {
    return [this](const plot::ReportSurface& surface, const common::TextMetrics& metrics) {
      seen = surface;
      workspace::Workspace ws;
      return plot::rawMapReportPage(ws.rawMap, ws.settings, surface, metrics);
    };
  }
};

TEST(ReportPrinter, PreviewIsOneLetterShapedWindowAtTheTopLeftAtSixPoints) {
  QWidget owner;
  QtReportOutput output(&owner);
  SurfaceSpy spy;
  output.preview(spy.builder());
  PrintPreview* preview = output.previewWindow();
  ASSERT_TRUE(preview && preview->isVisible() && preview->isWindow());
  const double dpi = preview->logicalDpiX();
  EXPECT_EQ(preview->size(),
            QSize(common::twipsToPixels(6800, dpi), common::twipsToPixels(8800, dpi)));
  EXPECT_EQ(preview->pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
  EXPECT_EQ(spy.seen.pointSize, 6);
  EXPECT_FALSE(spy.seen.time.empty() || spy.seen.date.empty());

  // The next page replaces the one shown, in the same window, which opens again if closed.
  preview->close();
  QTest::qWait(0);
  output.preview(spy.builder());
  output.preview(spy.builder());
  ASSERT_NE(output.previewWindow(), nullptr);
  EXPECT_TRUE(output.previewWindow()->isVisible());
  EXPECT_EQ(owner.findChildren<PrintPreview*>().size(), 1);
}

}  // namespace
}  // namespace tallimar::ui
