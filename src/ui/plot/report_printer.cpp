// Printing, PDF and preview of the report page.
#include "ui/plot/report_printer.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QScreen>

#include "common/atomic_file.h"
#include "common/twips.h"
#include "plot/report_page.h"
#include "ui/plot/draw_list_painter.h"
#include "ui/plot/qt_text_metrics.h"

namespace tallimar::ui {

namespace {

constexpr int kPrinterDpi = 600;
constexpr int kDraftDpi = 300;  // a printer already at 300 dots per inch keeps it
constexpr double kPdfMarginInches = 0.25;

// The time and date of the footer, in the platform's short formats.
void stamp(plot::ReportSurface& surface) {
  const QLocale locale;
  const QDateTime now = QDateTime::currentDateTime();
  surface.time = locale.toString(now.time(), QLocale::ShortFormat).toStdString();
  surface.date = locale.toString(now.date(), QLocale::ShortFormat).toStdString();
}

bool fail(QString* error, const QString& reason) {
  if (error) *error = reason;
  return false;
}

}  // namespace

bool paintReportPage(QPagedPaintDevice& device, const commands::ReportPageBuilder& build) {
  const QRectF inches = device.pageLayout().paintRect(QPageLayout::Inch);
  plot::ReportSurface surface;
  surface.widthTwips = inches.width() * common::kTwipsPerInch;
  surface.heightTwips = inches.height() * common::kTwipsPerInch;
  surface.pointSize = plot::kPrinterPointSize;
  stamp(surface);
  const plot::DrawList page = build(surface, QtTextMetrics(&device));
  QPainter painter;
  if (!painter.begin(&device)) return false;
  paintDrawList(painter, page, QRectF(0, 0, device.width(), device.height()));
  return painter.end();
}

commands::PrintOutcome printReportPage(QWidget* dialogParent,
                                       const commands::ReportPageBuilder& build) {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, dialogParent);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  if (dialog.exec() != QDialog::Accepted) return commands::PrintOutcome::Cancelled;
  if (printer.resolution() != kDraftDpi) printer.setResolution(kPrinterDpi);
  return paintReportPage(printer, build) ? commands::PrintOutcome::Printed
                                         : commands::PrintOutcome::Failed;
}

bool writeReportPdf(const commands::ReportPageBuilder& build, const QString& path, QString* error) {
  // QSaveFile follows links and keeps the mode, but replaces a read-only file for root.
  if (const common::Outcome allowed = common::checkSaveTarget(path.toStdString()); !allowed)
    return fail(error, QString::fromStdString(allowed.reason()));
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return fail(error, file.errorString());
  bool painted = false;
  {
    QPdfWriter writer(&file);
    writer.setCreator(QStringLiteral("Tallimar"));
    writer.setResolution(kPrinterDpi);
    writer.setPageLayout(QPageLayout(
        QPageSize(QPageSize::Letter), QPageLayout::Portrait,
        QMarginsF(kPdfMarginInches, kPdfMarginInches, kPdfMarginInches, kPdfMarginInches),
        QPageLayout::Inch));
    painted = paintReportPage(writer, build);
  }
  if (!painted || file.error() != QFileDevice::NoError) {
    const QString reason =
        painted ? file.errorString() : QStringLiteral("The page could not be drawn");
    file.cancelWriting();
    return fail(error, reason);
  }
  if (!file.commit()) return fail(error, file.errorString());
  return true;
}

void QtReportOutput::preview(const commands::ReportPageBuilder& page) {
  if (!m_preview) {
    m_preview = new PrintPreview(m_owner);
    m_preview->setAttribute(Qt::WA_DeleteOnClose);
  }
  plot::ReportSurface surface;  // the preview's own size and font
  stamp(surface);
  m_preview->setPage(page(surface, QtTextMetrics(m_preview)));
  const QScreen* screen =
      m_preview->screen() ? m_preview->screen() : QGuiApplication::primaryScreen();
  if (screen) m_preview->move(screen->availableGeometry().topLeft());
  m_preview->show();
  m_preview->raise();
}

commands::PrintOutcome QtReportOutput::print(const commands::ReportPageBuilder& page) {
  return printReportPage(m_owner, page);
}

}  // namespace tallimar::ui
