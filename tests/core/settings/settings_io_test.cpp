// Reading and writing the settings record: stored forms, round trip, each field's reading.
#include "settings/settings_io.h"

#include <gtest/gtest.h>

#include <map>

namespace tallimar::settings {
namespace {

// Keeps every saved text by key, so that two saves can be compared whole.
struct TextStore : MemorySettingsStore {
  void save(const std::string& application, const std::string& section, const std::string& key,
            const std::string& text) override {
    texts[key] = text;
    MemorySettingsStore::save(application, section, key, text);
  }
  std::map<std::string, std::string> texts;
};

class SettingsIo : public ::testing::Test {
 protected:
  void put(const char* key, const std::string& text) {
    store.save(kApplication, kSection, key, text);
  }
  std::string stored(const char* key) { return store.get(kApplication, kSection, key, "<none>"); }
  Settings load() {
    Settings settings;
    loadSettings(store, settings);
    return settings;
  }
  TextStore store;
};

TEST_F(SettingsIo, EveryFieldSurvivesSaveAndLoadInItsStoredForm) {
  EXPECT_EQ(load().temperatureUnit, 1);  // the first-run text "Fahrenheit" is recognised
  EXPECT_EQ(readLanguage(store), "English");
  Settings s;
  s.incPath = "/home/tuner/inc files";
  s.o2Transfer = 0.45f, s.wbTargetAfr = 14.1f, s.veOutlierSigma = 1.75f, s.veRange = 1,
  s.veOutlierEnable = true;
  s.rpmMax = 7000, s.rpmMin = -32768, s.mapMax = 32767, s.comPort = 4, s.dataRate = 120;
  s.bSpline = 60, s.bSpline2 = 20, s.bSplineFilter = 2, s.bSplineOutlier = true;
  s.bSplineSigma = 5, s.temperatureUnit = 3, s.manifoldUnit = 2, s.veSizeRPM = 12;
  s.veSizeMAP = 16;
  saveSettings(store, s);
  EXPECT_EQ(store.texts.size(), 20u);
  // Language is a per-window key, not part of the record.
  EXPECT_EQ((std::vector{stored("VERange"), stored("VEOutlierEnable"), stored("Tempereature"),
                         stored("Manifold"), stored("Language")}),
            (std::vector<std::string>{"Mean", "True", "Kelvin", "InchHG", "<none>"}));
  // Every field read back and saved again gives the same texts.
  TextStore again;
  saveSettings(again, load());
  EXPECT_EQ(again.texts, store.texts);
}

// A text that is no whole decimal number keeps the field.
TEST_F(SettingsIo, RefusedSingleTextKeepsTheField) {
  put("O2Transfer", " 0.55 ");
  EXPECT_EQ(load().o2Transfer, 0.55f);
  for (const char* refused : {"0,45", "1e39"}) {
    put("O2Transfer", refused);
    EXPECT_EQ(load().o2Transfer, 0.5f) << refused;
  }
}

TEST_F(SettingsIo, EachFieldReadsItsTextItsOwnWay) {
  const struct {
    const char* key;
    const char* text;
    int value;  // of the field after loading into a fresh record
  } cases[] = {
      {"RPMMax", "7501.5abc", 7502},  // the leading number; out of 16 bits keeps the field
      {"RPMMax", "32768", 10000},
      {"VERange", "average", 1},       // Average only for the exact word
      {"VEOutlierEnable", "true", 0},  // only the exact "True"
      {"BSplineOutlier", "true", 1},   // any letter case or a number, else kept
      {"BSplineOutlier", "yes", 0},
      {"Tempereature", "celsius", 0},  // units by their exact words only
      {"Manifold", "Bar", 3},
      {"VESizeMAP", "16abc", 16},  // sizes outside 1..16 keep the size
      {"VESizeRPM", "17", 8},
  };
  for (const auto& c : cases) {
    TextStore one;
    one.save(kApplication, kSection, c.key, c.text);
    Settings s;
    s.temperatureUnit = 0;
    s.manifoldUnit = 0;
    loadSettings(one, s);
    const std::map<std::string, int> fields{{"RPMMax", s.rpmMax},
                                            {"VERange", s.veRange},
                                            {"VEOutlierEnable", s.veOutlierEnable},
                                            {"BSplineOutlier", s.bSplineOutlier},
                                            {"Tempereature", s.temperatureUnit},
                                            {"Manifold", s.manifoldUnit},
                                            {"VESizeMAP", s.veSizeMAP},
                                            {"VESizeRPM", s.veSizeRPM}};
    EXPECT_EQ(fields.at(c.key), c.value) << c.key << " = \"" << c.text << "\"";
  }
}

TEST_F(SettingsIo, WindowKeysAndUnreadUnitsFollowTheirOwnRules) {
  put("PrintPreview", "FALSE");
  EXPECT_FALSE(readPrintPreview(store));
  put("PrintPreview", "no");
  EXPECT_TRUE(readPrintPreview(store));

  // An unrecognised unit keeps the one read before, and a unit of 0 is never written.
  put("Tempereature", "Celsius");
  Settings s;
  loadSettings(store, s);
  put("Tempereature", "Rankine");
  loadSettings(store, s);
  EXPECT_EQ(s.temperatureUnit, 2);
  s.temperatureUnit = 0;
  s.manifoldUnit = 0;
  saveSettings(store, s);
  EXPECT_EQ(stored("Tempereature"), "Rankine");
  EXPECT_EQ(stored("Manifold"), "<none>");
}

}  // namespace
}  // namespace tallimar::settings
