// The start-up sequence: the order of the window steps and status lines, the record, the
// factor tables and the VE table's initial state.
#include "commands/startup.h"

#include <gtest/gtest.h>

#include "settings/settings_io.h"

namespace tallimar::commands {

using workspace::Workspace;
namespace {

// Records the window steps into the same list as the status lines, so the test sees the
// one order in which both happen.
class RecordingWindow : public StartupWindow {
 public:
  explicit RecordingWindow(common::VectorStatusLog& log) : m_log(log) {}
  void fillLanguageMenu() override { m_log.append("[menu]"); }
  void placeWindow() override { m_log.append("[place]"); }
  void setTitle() override { m_log.append("[title]"); }
  void applyLanguage(const std::string& language) override {
    m_log.append("[language " + language + "]");
  }
  void showPlotLimits(const settings::Settings& s) override {
    m_log.append("[limits " + std::to_string(s.rpmMin) + " " + std::to_string(s.rpmMax) + " " +
                 std::to_string(s.mapMax) + "]");
  }
  void setPrintPreview(bool preview) override {
    m_log.append(preview ? "[preview on]" : "[preview off]");
  }

 private:
  common::VectorStatusLog& m_log;
};

void put(settings::SettingsStore& store, const char* key, const std::string& text) {
  store.save(settings::kApplication, settings::kSection, key, text);
}

TEST(Startup, EmptyStoreRunsEveryStepInOrderAndEndsWithReady) {
  Workspace workspace;
  workspace.factors[formats::FactorKind::Kpa][3] = 99;  // start-up restores the identity
  settings::MemorySettingsStore store;
  common::VectorStatusLog log;
  RecordingWindow window(log);
  EXPECT_TRUE(runStartup(workspace, store, log, window).ok());
  EXPECT_EQ(log.lines,
            (std::vector<std::string>{"[menu]", "[place]", "[title]", "[language English]",
                                      "(Warning) No Path to *.inc specified (using raw ADC counts)",
                                      "[limits 1200 10000 100]", "[preview on]", "Ready"}));
  EXPECT_EQ(workspace.factors[formats::FactorKind::Kpa][3], 3);
  EXPECT_EQ(workspace.veTable.sizeRpm, 8);
  EXPECT_EQ(workspace.veTable.mapBins[15], 160);
  EXPECT_EQ(workspace.veTable.rpmBins[15], 8000);
}

TEST(Startup, StoredSettingsReachTheWindowAndTheFactorTablesLoad) {
  Workspace workspace;
  settings::MemorySettingsStore store;
  put(store, "INCPath", std::string(TALLIMAR_TEST_DATA_DIR) + "/files/inc_set");
  put(store, "Language", "Deutsch");
  put(store, "RPMMin", "800");
  put(store, "RPMMax", "7500abc");
  put(store, "MAPMax", "250");
  put(store, "PrintPreview", "false");
  put(store, "VESizeRPM", "12");
  put(store, "VESizeMAP", "16");
  common::VectorStatusLog log;
  RecordingWindow window(log);
  EXPECT_TRUE(runStartup(workspace, store, log, window).ok());
  // The factor tables' own lines are checked with the loader; here their place in the order.
  ASSERT_EQ(log.lines.size(), 14u);
  EXPECT_EQ(std::vector(log.lines.begin(), log.lines.begin() + 5),
            (std::vector<std::string>{"[menu]", "[place]", "[title]", "[language Deutsch]",
                                      "kPaFactor.inc Loaded"}));
  EXPECT_EQ(std::vector(log.lines.end() - 3, log.lines.end()),
            (std::vector<std::string>{"[limits 800 7500 250]", "[preview off]", "Ready"}));
  EXPECT_EQ(workspace.factors[formats::FactorKind::Kpa][0], -100);
  EXPECT_EQ(workspace.veTable.sizeRpm, 12);
  EXPECT_EQ(workspace.veTable.sizeMap, 16);
}

}  // namespace
}  // namespace tallimar::commands
