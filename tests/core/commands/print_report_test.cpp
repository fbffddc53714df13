// The print commands: what is refused with "Nothing to print", and the choice between the
// preview window and the printer made by the "PrintPreview" setting.
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
  void setPreview(bool preview) { settings::savePrintPreview(store, preview); }
  std::vector<std::string> messages() const {
    std::vector<std::string> texts;
    for (const auto& q : prompts.asked) texts.push_back(q.text);
    return texts;
  }

  workspace::Workspace ws;
  settings::MemorySettingsStore store;
  common::ScriptedPrompts prompts;
  testsupport::RecordingReportOutput output;
};

TEST_F(PrintCommands, NothingToPrintBeforeAnyPreviewOrPrinter) {
  for (bool preview : {true, false}) {
    setPreview(preview);
    EXPECT_EQ(PrintRawDataMap(ws, store, prompts, output).status, CommandStatus::Refused);
  }
  // The views the window offers follow the three flags: none without any map.
  for (int v = 0; v < plot::kVeViewCount; ++v)
    EXPECT_EQ(PrintPlot(ws, static_cast<plot::VeView>(v), store, prompts, output).status,
              CommandStatus::Refused);
  EXPECT_EQ(messages(), std::vector<std::string>(8, "Nothing to print"));
  EXPECT_EQ(prompts.asked[0].title, "Tallimar");
  EXPECT_EQ(prompts.asked[0].icon, common::MessageIcon::None);
  EXPECT_TRUE(output.previewed.empty());
  EXPECT_TRUE(output.printed.empty());

  // A raw data map alone offers views 1 (raw) but not 2 (filtered) or 0 (table).
  ws.rawDataMapPresent = true;
  prompts.asked.clear();
  EXPECT_TRUE(PrintPlot(ws, plot::VeView::RawDatalog, store, prompts, output).ok());
  EXPECT_EQ(PrintPlot(ws, plot::VeView::FilteredDatalog, store, prompts, output).status,
            CommandStatus::Refused);
  EXPECT_EQ(PrintPlot(ws, static_cast<plot::VeView>(9), store, prompts, output).status,
            CommandStatus::Refused);
  EXPECT_EQ(messages().size(), 2u);
}

TEST_F(PrintCommands, PrintPreviewSettingChoosesPreviewOrPrinter) {
  ws.rawDataMapPresent = true;
  ws.veTable.lowDensityMapPresent = true;
  // The default is the preview, at the preview's font size.
  EXPECT_TRUE(PrintRawDataMap(ws, store, prompts, output).ok());
  ASSERT_EQ(output.previewed.size(), 1u);
  EXPECT_TRUE(output.printed.empty());
  EXPECT_EQ(pageTitle(output.previewed[0]), "High Density VE Map");
  EXPECT_EQ(plot::itemsOfKind<plot::Text>(output.previewed[0])[0].pointSize, 6);

  setPreview(false);
  EXPECT_TRUE(PrintPlot(ws, plot::VeView::RawLowDelta, store, prompts, output).ok());
  ASSERT_EQ(output.printed.size(), 1u);
  EXPECT_EQ(output.previewed.size(), 1u);
  EXPECT_EQ(pageTitle(output.printed[0]), "Raw/Low Density Delta Map");
  EXPECT_EQ(plot::itemsOfKind<plot::Text>(output.printed[0])[0].pointSize, 8);

  // A cancelled dialog or a printer failure ends the command without a word.
  output.printOutcome = PrintOutcome::Cancelled;
  EXPECT_EQ(PrintRawDataMap(ws, store, prompts, output).status, CommandStatus::Cancelled);
  output.printOutcome = PrintOutcome::Failed;
  EXPECT_EQ(PrintPlot(ws, plot::VeView::LowDensityMap, store, prompts, output).status,
            CommandStatus::Failed);
  EXPECT_TRUE(prompts.asked.empty());
  EXPECT_EQ(output.printed.size(), 1u);
}

}  // namespace
}  // namespace tallimar::commands
