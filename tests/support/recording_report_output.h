// A report output that records the pages previewed or printed and answers print() as told.
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
    if (printOutcome == commands::PrintOutcome::Printed)
      printed.push_back(page(plot::ReportSurface{}, metrics));
    return printOutcome;
  }

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
