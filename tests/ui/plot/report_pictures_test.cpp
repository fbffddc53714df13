// Pictures of the preview window with each report page and of the print dialog, for a person
// to look at, written as PNG files to TALLIMAR_SCREENSHOT_DIR (skipped when it is not set).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPrintDialog>
#include <QPrinter>

#include "core/plot/plot_fixtures.h"
#include "plot/report_page.h"
#include "ui/plot/report_printer.h"
#include "workspace/view_inputs.h"

namespace tallimar::ui {
namespace {

TEST(ReportPictures, PreviewOfEveryPageAndThePrintDialog) {
  const QString dir = qEnvironmentVariable("TALLIMAR_SCREENSHOT_DIR");
  if (dir.isEmpty()) GTEST_SKIP() << "TALLIMAR_SCREENSHOT_DIR not set";
  QDir().mkpath(dir);
  workspace::Workspace ws;
  plot::fixtures::fillWorkspace(ws, 8);
  QWidget owner;
  QtReportOutput output(&owner);
  const auto save = [&](QWidget* widget, const QString& name) {
    QApplication::processEvents();
    EXPECT_TRUE(widget->grab().save(dir + "/" + name + ".png")) << name.toStdString();
  };
  for (int v = 0; v <= plot::kVeViewCount; ++v) {  // the six views, then the raw data map
    output.preview([&](const plot::ReportSurface& surface, const common::TextMetrics& metrics) {
      return v == plot::kVeViewCount
                 ? plot::rawMapReportPage(ws.rawMap, ws.settings, surface, metrics)
                 : plot::reportPage(static_cast<plot::VeView>(v), workspace::viewInputs(ws),
                                    surface, metrics);
    });
    save(output.previewWindow(), QStringLiteral("preview_page_%1").arg(v));
  }
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer);
  dialog.show();
  save(&dialog, QStringLiteral("print_dialog"));
  dialog.reject();
}

}  // namespace
}  // namespace tallimar::ui
