// A report output that records where each page went and lays it out as the real output
// would, with fixed-pitch metrics: for the print command tests.
#pragma once

#include <string>
#include <vector>

#include "commands/print_report.h"

namespace tallimar::testsupport {

class RecordingReportOutput : public commands::ReportOutput {
 public:
  void preview(const commands::ReportPageBuilder& page) override {
    previewed.push_back(page(plot::ReportSurface{}, metrics));
  }
  commands::PrintOutcome print(const commands::ReportPageBuilder& page) override {
    plot::ReportSurface paper;
    paper.widthTwips = 8.5 * 1440;
    paper.heightTwips = 11 * 1440;
    paper.pointSize = plot::kPrinterPointSize;
    if (printOutcome == commands::PrintOutcome::Printed) printed.push_back(page(paper, metrics));
    return printOutcome;
  }

  // What print() answers: Printed, or the dialog cancelled, or a printer failure.
  commands::PrintOutcome printOutcome = commands::PrintOutcome::Printed;
  std::vector<plot::DrawList> previewed;
  std::vector<plot::DrawList> printed;
  common::FixedPitchTextMetrics metrics;
};

// The page's title: the first text on it.
inline std::string pageTitle(const plot::DrawList& page) {
  const auto texts = plot::itemsOfKind<plot::Text>(page);
  return texts.empty() ? std::string() : texts.front().text;
}

}  // namespace tallimar::testsupport
