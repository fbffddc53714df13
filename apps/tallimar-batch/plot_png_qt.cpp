// PNG pictures and PDF report pages through the program's own renderer, on an offscreen Qt
// platform.
#include <QGuiApplication>
#include <memory>

#include "plot_png.h"
#include "ui/plot/png_export.h"
#include "ui/plot/report_printer.h"

namespace tallimar::batch {
namespace {

// Text in the pictures needs a QGuiApplication; tallimar-batch makes one, offscreen unless
// a platform was chosen, the first time a picture is written.
void ensureGuiApplication() {
  if (QCoreApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "tallimar-batch";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

bool writePlotPng(const plot::DrawList& list, const std::string& path, std::string& error) {
  ensureGuiApplication();
  QString why;
  if (ui::savePng(list, QString::fromStdString(path), &why)) return true;
  error = why.toStdString();
  return false;
}

bool writeReportPdf(const commands::ReportPageBuilder& page, const std::string& path,
                    std::string& error) {
  ensureGuiApplication();
  QString why;
  if (ui::writeReportPdf(page, QString::fromStdString(path), &why)) return true;
  error = why.toStdString();
  return false;
}

}  // namespace tallimar::batch
