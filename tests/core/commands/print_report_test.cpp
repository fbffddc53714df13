// The print commands: "Nothing to print" refusals, and preview or printer by "PrintPreview".
#include "commands/print_report.h"

#include <gtest/gtest.h>

#include "common/scripted_prompts.h"
#include "settings/settings_io.h"
#include "support/recording_report_output.h"

namespace tallimar::commands {
namespace {

using testsupport::pageTitle;

class PrintCommands : public ::testing::Test {
 protected:
  CommandStatus plot(int view) {
    return PrintPlot(ws, static_cast<plot::VeView>(view), store, prompts, output).status;
  }
  CommandStatus rawMap() { return PrintRawDataMap(ws, store, prompts, output).status; }

  workspace::Workspace ws;
  settings::MemorySettingsStore store;
  common::ScriptedPrompts prompts;
  testsupport::RecordingReportOutput output;
};

// Without data every view is refused; a raw data map alone offers the raw view only, not the
// filtered one nor views out of range.
TEST_F(PrintCommands, RefusesWhatTheWindowDoesNotOfferWithNothingToPrint) {
  settings::savePrintPreview(store, false);
  EXPECT_EQ(rawMap(), CommandStatus::Refused);
  for (int v = 0; v < plot::kVeViewCount; ++v) EXPECT_EQ(plot(v), CommandStatus::Refused) << v;
  ws.rawDataMapPresent = true;
  for (int v : {-1, static_cast<int>(plot::VeView::FilteredDatalog), plot::kVeViewCount})
    EXPECT_EQ(plot(v), CommandStatus::Refused) << v;
  EXPECT_EQ(plot(static_cast<int>(plot::VeView::RawDatalog)), CommandStatus::Done);
  ASSERT_EQ(prompts.asked.size(), 4u + plot::kVeViewCount);
  EXPECT_EQ(prompts.asked.back().text, "Nothing to print");
  EXPECT_EQ(output.printed.size(), 1u);
  EXPECT_TRUE(output.previewed.empty());
}

TEST_F(PrintCommands, PrintPreviewSettingChoosesPreviewOrPrinter) {
  ws.rawDataMapPresent = ws.veTable.lowDensityMapPresent = true;
  EXPECT_EQ(rawMap(), CommandStatus::Done);  // the preview is the default
  ASSERT_EQ(output.previewed.size(), 1u);
  EXPECT_EQ(pageTitle(output.previewed[0]), "High Density VE Map");

  settings::savePrintPreview(store, false);
  EXPECT_EQ(plot(static_cast<int>(plot::VeView::RawLowDelta)), CommandStatus::Done);
  ASSERT_EQ(output.printed.size(), 1u);
  EXPECT_EQ(pageTitle(output.printed[0]), "Raw/Low Density Delta Map");

  // A cancelled dialog or a printer failure ends the command without a word.
  output.printOutcome = PrintOutcome::Cancelled;
  EXPECT_EQ(rawMap(), CommandStatus::Cancelled);
  output.printOutcome = PrintOutcome::Failed;
  EXPECT_EQ(plot(0), CommandStatus::Failed);
  EXPECT_EQ(prompts.asked.size() + output.printed.size() + output.previewed.size(), 2u);
}

}  // namespace
}  // namespace tallimar::commands
