// "Save" of the settings dialog: what it writes, in which order, and what it refuses.
#include "commands/settings_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "common/scripted_prompts.h"
#include "settings/settings_io.h"

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

class SettingsSave : public ::testing::Test {
 protected:
  SettingsSave() { settings::loadSettings(store, ws.settings); }
  CommandResult save() {
    form = settings::settingsFormFor(ws.settings, store);
    store.saved.clear();
    edit(form);
    return saveSettingsCommand(ws, store, form, prompts, log);
  }

  workspace::Workspace ws;
  RecordingStore store;
  settings::SettingsForm form;
  std::function<void(settings::SettingsForm&)> edit = [](settings::SettingsForm&) {};
  common::ScriptedPrompts prompts;
  common::VectorStatusLog log;
};

// A size chosen from the list resizes the table; a custom size stores no size. The field
// checks run even when Save is pressed without leaving the field; a refused form writes nothing.
TEST_F(SettingsSave, ResizesTheTableOnlyForAChosenSizeAndChecksTheFields) {
  edit = [](settings::SettingsForm& f) { f.mapSizeOption = 2; };
  ASSERT_TRUE(save().changed);
  EXPECT_EQ(store.stored("VESizeMAP"), "16");
  EXPECT_EQ(ws.veTable.sizeRpm, 16);

  ws.settings.veSizeRPM = ws.settings.veSizeMAP = ws.veTable.sizeRpm = ws.veTable.sizeMap = 10;
  edit = [](settings::SettingsForm& f) { f.dataRate = "20"; };
  const CommandResult result = save();
  ASSERT_TRUE(result.ok());
  EXPECT_FALSE(result.changed);
  EXPECT_EQ(std::count(store.saved.begin(), store.saved.end(), "VESizeRPM"), 0);
  EXPECT_EQ(ws.veTable.sizeRpm, 10);
  EXPECT_EQ(store.stored("DataRate"), "30");
  EXPECT_TRUE(prompts.asked.empty() && log.lines.empty());  // no INCPath: no factor table

  edit = [](settings::SettingsForm& f) { f.egoCross = "half a volt"; };  // refused
  EXPECT_EQ(save().status, CommandStatus::Refused);
  EXPECT_EQ(prompts.asked.at(0).icon, common::MessageIcon::Stop);
  EXPECT_NE(prompts.asked[0].text.find("EGO Crossover Voltage"), std::string::npos);
  EXPECT_TRUE(store.saved.empty());
}

// The new INCPath is stored first and its factor tables loaded; only the port devices that
// changed are stored (an empty one goes back to /dev/ttyS<N-1>).
TEST_F(SettingsSave, LoadsTheFactorTablesOfANewFolderAndStoresChangedPorts) {
  store.save(settings::kApplication, settings::kSection, "ComDevice4", "/dev/ttyUSB0");
  edit = [&](settings::SettingsForm& f) {
    f.incPath = TALLIMAR_TEST_DATA_DIR "/files/inc_set";
    f.comDevices[0] = "/dev/pts/7";
    f.comDevices[3] = "";
  };
  ASSERT_TRUE(save().ok());
  EXPECT_EQ(store.saved.front(), "INCPath");
  EXPECT_EQ(log.lines.at(0), "kPaFactor.inc Loaded");
  EXPECT_EQ(ws.factors[formats::FactorKind::Kpa][0], -100);
  EXPECT_EQ((std::vector<std::string>{store.stored("ComDevice1"), store.stored("ComDevice2"),
                                      store.stored("ComDevice4")}),
            (std::vector<std::string>{"/dev/pts/7", "<none>", ""}));
}

}  // namespace
}  // namespace tallimar::commands
