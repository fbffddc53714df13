// The start-up sequence: the order of window steps and status lines, factor tables, table size.
#include "commands/startup.h"

#include <gtest/gtest.h>

#include "settings/settings_io.h"

namespace tallimar::commands {
namespace {

using Lines = std::vector<std::string>;

// Records the window steps into the status list, so the test sees one order for both.
class RecordingWindow : public StartupWindow {
 public:
  explicit RecordingWindow(common::VectorStatusLog& log) : m_log(log) {}
  void fillLanguageMenu() override { m_log.append("[menu]"); }
  void placeWindow() override { m_log.append("[place]"); }
  void setTitle() override { m_log.append("[title]"); }
  void applyLanguage(const std::string& language) override { m_log.append("[" + language + "]"); }
  void showPlotLimits(const settings::Settings& s) override {
    m_log.append("[limits " + std::to_string(s.rpmMin) + " " + std::to_string(s.rpmMax) + " " +
                 std::to_string(s.mapMax) + "]");
  }
  void setPrintPreview(bool preview) override { m_log.append(preview ? "[preview]" : "[print]"); }

 private:
  common::VectorStatusLog& m_log;
};

struct Started {
  workspace::Workspace workspace;
  common::VectorStatusLog log;
  explicit Started(const std::vector<std::pair<const char*, std::string>>& stored) {
    workspace.factors[formats::FactorKind::Kpa][3] = 99;  // start-up restores the identity
    settings::MemorySettingsStore store;
    for (const auto& [key, text] : stored)
      store.save(settings::kApplication, settings::kSection, key, text);
    RecordingWindow window(log);
    EXPECT_TRUE(runStartup(workspace, store, log, window).ok());
  }
};

TEST(Startup, RunsEveryStepInOrderWithTheStoredSettingsAndEndsWithReady) {
  const Started s({});
  EXPECT_EQ(s.log.lines, (Lines{"[menu]", "[place]", "[title]", "[English]",
                                "(Warning) No Path to *.inc specified (using raw ADC counts)",
                                "[limits 1200 10000 100]", "[preview]", "Ready"}));
  EXPECT_EQ(s.workspace.factors[formats::FactorKind::Kpa][3], 3);
  EXPECT_EQ(s.workspace.veTable.sizeRpm, 8);

  // Stored settings reach the window; the factor tables load in their place in the order.
  const Started t({{"INCPath", TALLIMAR_TEST_DATA_DIR "/files/inc_set"},
                   {"Language", "Deutsch"},
                   {"RPMMax", "7500"},
                   {"PrintPreview", "false"},
                   {"VESizeRPM", "12"}});
  ASSERT_EQ(t.log.lines.size(), 14u);
  EXPECT_EQ(Lines(t.log.lines.begin() + 3, t.log.lines.begin() + 5),
            (Lines{"[Deutsch]", "kPaFactor.inc Loaded"}));
  EXPECT_EQ(Lines(t.log.lines.end() - 3, t.log.lines.end()),
            (Lines{"[limits 1200 7500 100]", "[print]", "Ready"}));
  EXPECT_EQ(t.workspace.factors[formats::FactorKind::Kpa][0], -100);
  EXPECT_EQ(t.workspace.veTable.sizeRpm, 12);
}

}  // namespace
}  // namespace tallimar::commands
