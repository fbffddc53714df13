// Reading and writing the settings record: first-run defaults, stored text forms, and the
// readings that differ from field to field.
#include "settings/settings_io.h"

#include <gtest/gtest.h>

namespace tallimar::settings {
namespace {

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
  MemorySettingsStore store;
};

TEST_F(SettingsIo, EmptyStoreGivesTheFirstRunRecord) {
  const Settings s = load();
  EXPECT_EQ(s.incPath, "");
  EXPECT_EQ(s.o2Transfer, 0.5f);
  EXPECT_EQ(s.veOutlierSigma, 2.0f);
  EXPECT_EQ(s.veRange, 0);  // Average
  EXPECT_FALSE(s.veOutlierEnable);
  EXPECT_EQ(s.rpmMin, 1200);
  EXPECT_EQ(s.rpmMax, 10000);
  EXPECT_EQ(s.mapMax, 100);
  EXPECT_EQ(s.comPort, 1);
  EXPECT_EQ(s.dataRate, 50);
  EXPECT_EQ(s.bSpline, 50);
  EXPECT_EQ(s.bSpline2, 33);
  EXPECT_EQ(s.bSplineFilter, 1);
  EXPECT_FALSE(s.bSplineOutlier);
  EXPECT_EQ(s.bSplineSigma, 3);
  EXPECT_EQ(s.temperatureUnit, 1);  // the default text "Fahrenheit" is recognised
  EXPECT_EQ(s.manifoldUnit, 1);     // "Kpa"
  EXPECT_EQ(s.veSizeRPM, 8);
  EXPECT_EQ(s.veSizeMAP, 8);
  EXPECT_EQ(readLanguage(store), "English");
  EXPECT_TRUE(readPrintPreview(store));
  EXPECT_TRUE(readVEMapColors(store));
}

TEST_F(SettingsIo, EveryFieldSurvivesSaveAndLoadInItsStoredForm) {
  Settings s;
  s.incPath = "/home/tuner/inc files";
  s.o2Transfer = 0.45f;
  s.veOutlierSigma = 1.75f;
  s.veRange = 1;
  s.veOutlierEnable = true;
  s.rpmMax = 7000;
  s.rpmMin = -32768;
  s.mapMax = 32767;
  s.comPort = 4;
  s.dataRate = 120;
  s.bSpline = 60;
  s.bSpline2 = 20;
  s.bSplineFilter = 2;
  s.bSplineOutlier = true;
  s.bSplineSigma = 5;
  s.temperatureUnit = 3;
  s.manifoldUnit = 2;
  s.veSizeRPM = 12;
  s.veSizeMAP = 16;
  saveSettings(store, s);

  EXPECT_EQ(stored("O2Transfer"), "0.45");
  EXPECT_EQ(stored("VERange"), "Mean");
  EXPECT_EQ(stored("VEOutlierEnable"), "True");
  EXPECT_EQ(stored("RPMMin"), "-32768");
  EXPECT_EQ(stored("Tempereature"), "Kelvin");
  EXPECT_EQ(stored("Temperature"), "<none>");
  EXPECT_EQ(stored("Manifold"), "InchHG");
  EXPECT_EQ(stored("Language"), "<none>");  // per-window keys are not part of the record

  const Settings back = load();
  EXPECT_EQ(back.incPath, s.incPath);
  EXPECT_EQ(back.o2Transfer, s.o2Transfer);
  EXPECT_EQ(back.veOutlierSigma, s.veOutlierSigma);
  EXPECT_EQ(back.veRange, 1);
  EXPECT_TRUE(back.veOutlierEnable);
  EXPECT_EQ(back.rpmMax, 7000);
  EXPECT_EQ(back.rpmMin, -32768);
  EXPECT_EQ(back.mapMax, 32767);
  EXPECT_EQ(back.comPort, 4);
  EXPECT_EQ(back.dataRate, 120);
  EXPECT_EQ(back.bSpline, 60);
  EXPECT_EQ(back.bSpline2, 20);
  EXPECT_EQ(back.bSplineFilter, 2);
  EXPECT_TRUE(back.bSplineOutlier);
  EXPECT_EQ(back.bSplineSigma, 5);
  EXPECT_EQ(back.temperatureUnit, 3);
  EXPECT_EQ(back.manifoldUnit, 2);
  EXPECT_EQ(back.veSizeRPM, 12);
  EXPECT_EQ(back.veSizeMAP, 16);
}

TEST_F(SettingsIo, SinglesReadBackUnchangedAndRefusedTextKeepsTheField) {
  for (float value : {0.1f, 1.0f / 3.0f, 1e-5f, 123456.79f, 3.4e38f}) {
    Settings s;
    s.o2Transfer = value;
    saveSettings(store, s);
    EXPECT_EQ(load().o2Transfer, value) << stored("O2Transfer");
  }
  put("O2Transfer", " 0.55 ");
  EXPECT_EQ(load().o2Transfer, 0.55f);
  for (const char* refused : {"0,45", "0.45V", "", "1e39"}) {
    put("O2Transfer", refused);
    EXPECT_EQ(load().o2Transfer, 0.5f) << refused;
  }
}

TEST_F(SettingsIo, SixteenBitFieldsReadTheLeadingNumberRoundedHalfToEven) {
  const std::pair<const char*, std::int16_t> cases[] = {
      {"7500abc", 7500}, {"abc", 0},    {"7500.5", 7500}, {"7501.5", 7502},
      {"-0.5", 0},       {"1e3", 1000}, {"32767", 32767}, {"-32768", -32768}};
  for (const auto& [text, value] : cases) {
    put("RPMMax", text);
    EXPECT_EQ(load().rpmMax, value) << text;
  }
  // Out of range: the field keeps its value (the default on a fresh record).
  for (const char* text : {"32768", "-32769", "99999999999999999999999"}) {
    put("RPMMax", text);
    EXPECT_EQ(load().rpmMax, 10000) << text;
  }
}

TEST_F(SettingsIo, VeRangeIsAverageOnlyForTheExactWord) {
  const std::pair<const char*, std::int16_t> cases[] = {
      {"Average", 0}, {"Mean", 1}, {"average", 1}, {"", 1}};
  for (const auto& [text, value] : cases) {
    put("VERange", text);
    EXPECT_EQ(load().veRange, value) << text;
  }
}

TEST_F(SettingsIo, BooleansFollowTheirOwnReadings) {
  // VEOutlierEnable: only the exact text "True".
  for (const auto& [text, value] : {std::pair{"True", true}, {"true", false}, {"-1", false}}) {
    put("VEOutlierEnable", text);
    EXPECT_EQ(load().veOutlierEnable, value) << text;
  }
  // BSplineOutlier and PrintPreview: any letter case, or a number; anything else keeps.
  for (const auto& [text, value] :
       {std::pair{"true", true}, {"FALSE", false}, {"2", true}, {"0", false}}) {
    put("BSplineOutlier", text);
    put("PrintPreview", text);
    EXPECT_EQ(load().bSplineOutlier, value) << text;
    EXPECT_EQ(readPrintPreview(store), value) << text;
  }
  put("BSplineOutlier", "yes");
  put("PrintPreview", "no");
  EXPECT_FALSE(load().bSplineOutlier);
  EXPECT_TRUE(readPrintPreview(store));
  // VEMapColors: only the exact text "True".
  put("VEMapColors", "true");
  EXPECT_FALSE(readVEMapColors(store));
  saveVEMapColors(store, true);
  EXPECT_TRUE(readVEMapColors(store));
}

TEST_F(SettingsIo, UnitsAreSetOnlyByTheirExactWords) {
  put("Tempereature", "celsius");
  put("Manifold", "kPa");
  Settings fresh;
  loadSettings(store, fresh);
  EXPECT_EQ(fresh.temperatureUnit, 0);
  EXPECT_EQ(fresh.manifoldUnit, 0);

  put("Tempereature", "Celsius");
  put("Manifold", "Bar");
  loadSettings(store, fresh);
  EXPECT_EQ(fresh.temperatureUnit, 2);
  EXPECT_EQ(fresh.manifoldUnit, 3);

  // An unrecognised text keeps the unit read before, and a unit of 0 is never written.
  put("Tempereature", "Rankine");
  loadSettings(store, fresh);
  EXPECT_EQ(fresh.temperatureUnit, 2);
  Settings none;
  none.temperatureUnit = 0;
  none.manifoldUnit = 0;
  saveSettings(store, none);
  EXPECT_EQ(stored("Tempereature"), "Rankine");
  EXPECT_EQ(stored("Manifold"), "Bar");
}

TEST_F(SettingsIo, TableSizesOutsideOneToSixteenKeepTheCurrentSize) {
  put("VESizeMAP", "16abc");
  EXPECT_EQ(load().veSizeMAP, 16);
  for (const char* text : {"0", "17", "x"}) {
    put("VESizeRPM", text);
    EXPECT_EQ(load().veSizeRPM, 8) << text;
  }
}

}  // namespace
}  // namespace tallimar::settings
