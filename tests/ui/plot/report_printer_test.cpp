// The Qt side of the report page: the `PrintPreview` window and the page on a PDF device.
#include "ui/plot/report_printer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QScreen>
#include <QTemporaryDir>
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
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(preview->objectName(), "PrintPreview");
  EXPECT_TRUE(preview->isVisible());
  EXPECT_TRUE(preview->isWindow());
  const double dpi = preview->logicalDpiX();
  EXPECT_EQ(preview->size(),
            QSize(common::twipsToPixels(6800, dpi), common::twipsToPixels(8800, dpi)));
  EXPECT_EQ(preview->pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
  EXPECT_EQ(spy.seen.pointSize, 6);
  EXPECT_EQ(spy.seen.widthTwips, 6800);
  EXPECT_FALSE(spy.seen.time.empty() || spy.seen.date.empty());
  for (const auto& text : plot::itemsOfKind<plot::Text>(preview->page()))
    EXPECT_EQ(text.pointSize, 6) << text.text;

  // The next page replaces the one shown, in the same window, which stays open.
  preview->close();
  QTest::qWait(0);
  output.preview(spy.builder());
  ASSERT_NE(output.previewWindow(), nullptr);
  EXPECT_TRUE(output.previewWindow()->isVisible());
  output.preview(spy.builder());
  EXPECT_EQ(owner.findChildren<PrintPreview*>().size(), 1);
}

TEST(ReportPrinter, PrintedPageFillsThePrintableAreaAtEightPoints) {
  QBuffer buffer;
  ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
  QPdfWriter writer(&buffer);
  writer.setResolution(600);
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                   QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch));
  SurfaceSpy spy;
  ASSERT_TRUE(paintReportPage(writer, spy.builder()));
  EXPECT_NEAR(spy.seen.widthTwips, 7.5 * 1440, 1);
  EXPECT_NEAR(spy.seen.heightTwips, 10 * 1440, 1);
  EXPECT_EQ(spy.seen.pointSize, 8);
  EXPECT_TRUE(buffer.data().startsWith("%PDF"));
}

TEST(ReportPrinter, PdfThatCannotBeWrittenIsRefusedWithAReason) {
  QTemporaryDir folder;
  SurfaceSpy spy;
  QString why;
  const QString target = folder.filePath("missing/report.pdf");
  EXPECT_FALSE(writeReportPdf(spy.builder(), target, &why));
  EXPECT_FALSE(why.isEmpty());
  EXPECT_FALSE(QFile::exists(target));
  EXPECT_TRUE(writeReportPdf(spy.builder(), folder.filePath("report.pdf"), &why));
  EXPECT_TRUE(QFile::exists(folder.filePath("report.pdf")));
}

}  // namespace
}  // namespace tallimar::ui
