// The report page on paper, in a PDF file and on the preview window: the Qt side of the
// print commands.
#pragma once

#include <QPointer>
#include <QString>

#include "commands/print_report.h"
#include "ui/plot/print_preview.h"

class QPagedPaintDevice;
class QPrinter;
class QWidget;

namespace tallimar::ui {

// Lays the page out for the printable area of `device` at the printer's font size (8 points)
// with the current time and date, and paints it. False when the device cannot be painted on
// or the page could not be finished.
bool paintReportPage(QPagedPaintDevice& device, const commands::ReportPageBuilder& build);

// Prints the page on a printer chosen in the print dialog, which also offers Qt's own
// PDF file output. A printer that does not print at 300 dots per inch is set to 600.
commands::PrintOutcome printReportPage(QWidget* dialogParent,
                                       const commands::ReportPageBuilder& build);

// Writes the page as a one-page letter PDF at 600 dots per inch. The file is written aside
// and replaces `path` only when complete; on failure false with the reason in *error, and
// any older file at `path` is left as it was.
bool writeReportPdf(const commands::ReportPageBuilder& build, const QString& path,
                    QString* error = nullptr);

// The program's report output: the `PrintPreview` window (one, made when first needed and
// kept as a window of `owner`, so that it closes with the program) or the print dialog.
class QtReportOutput : public commands::ReportOutput {
 public:
  explicit QtReportOutput(QWidget* owner) : m_owner(owner) {}
  void preview(const commands::ReportPageBuilder& page) override;
  commands::PrintOutcome print(const commands::ReportPageBuilder& page) override;

  // The preview window, once a page has been previewed.
  PrintPreview* previewWindow() const { return m_preview; }

 private:
  QPointer<QWidget> m_owner;
  QPointer<PrintPreview> m_preview;
};

}  // namespace tallimar::ui
