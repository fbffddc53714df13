// "Save" of the settings dialog: what it writes, in which order, and what it refuses.
#include "commands/settings_command.h"

#include <gtest/gtest.h>

#include "common/scripted_prompts.h"
#include "settings/settings_io.h"
#include "support/temp_dir.h"

namespace tallimar::commands {
namespace {

// Remembers the order of the keys saved.
class RecordingStore : public settings::MemorySettingsStore {
 public:
  void save(const std::string& application, const std::string& section, const std::string& key,
            const std::string& text) override {
    saved.push_back(key);
    MemorySettingsStore::save(application, section, key, text);
  }
  std::string stored(const std::string& key) const {
    return get(settings::kApplication, settings::kSection, key, "<none>");
  }
  std::vector<std::string> saved;
};

class SettingsSave : public testsupport::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    settings::loadSettings(store, ws.settings);
    form = settings::settingsFormFor(ws.settings, store);
  }
  CommandResult save() { return saveSettingsCommand(ws, store, form, prompts, log); }

  workspace::Workspace ws;
  RecordingStore store;
  settings::SettingsForm form;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog log;
};

// The stored texts of each field are pinned with the settings record; here what Save does.
TEST_F(SettingsSave, WritesTheRecordAndResizesTheTable) {
  form.mapSizeOption = 2;
  ASSERT_TRUE(save().ok());
  EXPECT_EQ(store.saved.size(), 19u);
  EXPECT_EQ(store.stored("VESizeMAP"), "16");
  EXPECT_EQ(ws.veTable.sizeRpm, 16);
  EXPECT_TRUE(prompts.asked.empty());
  EXPECT_TRUE(log.lines.empty());  // no INCPath: no factor table is loaded
}

TEST_F(SettingsSave, KeepsACustomTableSizeAndStoresWhatTheBoxesRead) {
  ws.settings.veSizeRPM = ws.settings.veSizeMAP = 10;
  ws.veTable.sizeRpm = ws.veTable.sizeMap = 10;
  form = settings::settingsFormFor(ws.settings, store);
  form.dataRate = "20";  // saved without leaving the field: the check still runs
  form.maxRpm = "1250";
  form.minRpm = "1200";

  const CommandResult result = save();
  ASSERT_TRUE(result.ok());
  EXPECT_FALSE(result.changed);
  EXPECT_EQ(std::count(store.saved.begin(), store.saved.end(), "VESizeRPM"), 0);
  EXPECT_EQ(ws.veTable.sizeRpm, 10);
  EXPECT_EQ(store.stored("DataRate"), "30");
  EXPECT_EQ(store.stored("RPMMax"), "10000");
  EXPECT_EQ(ws.settings.dataRate, 30);
}

// Which texts are refused is pinned with the form; here what a refusal does.
TEST_F(SettingsSave, RefusedFormWritesNothingAndSaysWhichField) {
  const settings::Settings before = ws.settings;
  form.egoCross = "half a volt";
  EXPECT_EQ(save().status, CommandStatus::Refused);
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].icon, common::MessageIcon::Stop);
  EXPECT_NE(prompts.asked[0].text.find("EGO Crossover Voltage"), std::string::npos);
  EXPECT_TRUE(store.saved.empty());
  EXPECT_EQ(ws.settings.o2Transfer, before.o2Transfer);
  EXPECT_EQ(ws.settings.dataRate, before.dataRate);
}

TEST_F(SettingsSave, ReloadsTheFactorTablesFromANewFolder) {
  std::string kpa;
  for (int i = 0; i < 256; ++i) kpa += "\tDB\t" + std::to_string(1000 + i) + "T\t; entry\r\n";
  write("kpafactor.inc", kpa);
  form.incPath = dir.string();
  ASSERT_TRUE(save().ok());
  EXPECT_EQ(store.saved.front(), "INCPath");
  EXPECT_EQ(store.stored("INCPath"), dir.string());
  ASSERT_EQ(log.lines.size(), 7u);
  EXPECT_EQ(log.lines[0], "kPaFactor.inc Loaded");
  EXPECT_EQ(log.lines[1], "Failed Loading AirDenFactor.inc");
  EXPECT_EQ(ws.factors[formats::FactorKind::Kpa][255], 1255);
}

TEST_F(SettingsSave, StoresOnlyThePortDevicesThatChanged) {
  store.save(settings::kApplication, settings::kSection, "ComDevice4", "/dev/ttyUSB0");
  form = settings::settingsFormFor(ws.settings, store);
  store.saved.clear();
  form.comDevices[0] = "/dev/pts/7";
  form.comDevices[3] = "";  // back to /dev/ttyS3
  ASSERT_TRUE(save().ok());
  EXPECT_EQ(store.stored("ComDevice1"), "/dev/pts/7");
  EXPECT_EQ(store.stored("ComDevice4"), "");
  EXPECT_EQ(store.stored("ComDevice2"), "<none>");
  EXPECT_EQ(store.saved.back(), "ComDevice4");
}

}  // namespace
}  // namespace tallimar::commands
