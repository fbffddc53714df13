// The settings dialog without widgets: texts shown, field checks, smoothing, the record saved.
#include "settings/settings_form.h"

#include <gtest/gtest.h>

#include "settings/settings_io.h"

namespace tallimar::settings {
namespace {

using Texts = std::vector<std::string>;

Settings firstRun() {
  MemorySettingsStore empty;
  Settings settings;
  loadSettings(empty, settings);
  return settings;
}

TEST(SettingsFieldChecks, LeavingAFieldCorrectsItsText) {
  struct Case {
    std::string (*check)(std::string_view);
    const char* typed;
    const char* shown;
  };
  const Case cases[] = {
      {rpmFieldLeft, "1299.9", "1200"}, {rpmFieldLeft, "abc", "0"},
      {rpmFieldLeft, "-150", "-200"},   {rpmFieldLeft, "1e99999", "1e99999"},
      {mapFieldLeft, "105", "100"},     {dataRateLeft, "29.9", "30"},
      {dataRateLeft, "abc", "30"},      {dataRateLeft, "100 ms", "100 ms"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.check(c.typed), c.shown) << c.typed;
}

TEST(SettingsFieldChecks, MaximumRpmMustLieAboveTheMinimum) {
  EXPECT_EQ(maxRpmAgainstMin("1200", rpmFieldLeft("1250")), "10000");
  EXPECT_EQ(maxRpmAgainstMin("1100", rpmFieldLeft("1250")), "1200");
  EXPECT_EQ(maxRpmAgainstMin("9000", "8000"), "10000");
}

TEST(SettingsSmoothing, SecondBarFollowsHalfTheFirstAndTypedTextsMustFitTheBars) {
  const std::pair<int, int> halves[] = {{45, 22}, {43, 22}, {1, 0}};
  for (auto [first, second] : halves) EXPECT_EQ(halfSmoothing(first), second) << first;

  // -1: refused.
  const std::pair<const char*, int> typed[] = {{" 45 ", 45}, {"100.4", 100}, {"22.5", 22},
                                               {"101", -1},  {"-1", -1},     {"45%", -1}};
  for (auto [text, position] : typed)
    EXPECT_EQ(typedSmoothing(text).value_or(-1), position) << text;
}

// The first-run record shown: number formats, the coupled second bar and the port devices.
TEST(SettingsFormLoad, ShowsTheRecordInTheControlsForms) {
  MemorySettingsStore store;
  store.save(kApplication, kSection, "ComDevice2", "/dev/pts/4");
  const SettingsForm form = settingsFormFor(firstRun(), store);
  EXPECT_EQ((Texts{form.egoCross, form.sigma, form.bSplineSigma, form.bSpline2Text,
                   form.comDevices[1], form.comDevices[7]}),
            (Texts{"0.5000", "2.000", "3.000", "33", "/dev/pts/4", "/dev/ttyS7"}));
  EXPECT_EQ(form.filteringOption, 1);
}

TEST(SettingsFormLoad, ValuesNoControlCanShowSelectNothingOrAreClamped) {
  MemorySettingsStore store;
  auto formWith = [&](void (*change)(Settings&)) {
    Settings settings = firstRun();
    change(settings);
    return settingsFormFor(settings, store);
  };
  EXPECT_EQ(formWith([](Settings& s) { s.veSizeRPM = s.veSizeMAP = 10; }).mapSizeOption, -1);
  EXPECT_EQ(formWith([](Settings& s) { s.veSizeRPM = s.veSizeMAP = 16; }).mapSizeOption, 2);
  EXPECT_EQ(formWith([](Settings& s) { s.comPort = 9; }).comPortIndex, -1);
  EXPECT_EQ(formWith([](Settings& s) { s.bSplineFilter = 3; }).filteringOption, -1);
  const SettingsForm clamped = formWith([](Settings& s) { s.bSpline = 150, s.bSpline2 = -4; });
  EXPECT_EQ(clamped.bSplineText, "100");
  EXPECT_EQ(clamped.bSpline2, 0);
}

TEST(SettingsFormSave, ConvertsTheControlsBackIntoARecord) {
  MemorySettingsStore store;
  Settings current = firstRun();
  current.veSizeRPM = current.veSizeMAP = 10;
  SettingsForm form = settingsFormFor(current, store);
  form.egoCross = " 0.45 ";
  form.veRangeOption = 1;
  form.sigma = "1.5 sigma";
  form.comPortIndex = 2;  // "Com:3"
  form.bSplineSigma = "2,5";
  form.temperatureOption = 1;
  form.manifoldOption = 2;
  form.filteringOption = 2;
  form.bSpline = 45;
  form.bSplineText = "45";

  auto saved = settingsFromForm(form, current);
  ASSERT_TRUE(saved.ok()) << saved.reason();
  EXPECT_EQ(form.bSplineSigma, "2.5");  // the box shows what was read
  // Sigma 2.5 rounds to the even neighbour; no size chosen: the 10 x 10 table keeps its size.
  const Settings& r = *saved;
  EXPECT_EQ(
      (std::vector<double>{r.o2Transfer, r.veOutlierSigma, double(r.veRange), double(r.comPort),
                           double(r.bSplineSigma), double(r.temperatureUnit),
                           double(r.manifoldUnit), double(r.bSplineFilter), double(r.bSpline),
                           double(r.veSizeRPM), double(r.veSizeMAP)}),
      (std::vector<double>{0.45f, 1.5f, 1, 3, 2, 2, 3, 2, 45, 10, 10}));

  form.mapSizeOption = kCustomMapSize;
  EXPECT_EQ(settingsFromForm(form, current)->veSizeRPM, 10);
  form.mapSizeOption = 1;
  EXPECT_EQ(settingsFromForm(form, current)->veSizeRPM, 12);
  EXPECT_EQ(settingsFromForm(form, current)->veSizeMAP, 12);
}

TEST(SettingsFormSave, RefusesTextsNoSettingCanHoldAndNamesTheField) {
  struct Case {
    void (*spoil)(SettingsForm&);
    const char* named;
  };
  const Case cases[] = {
      {[](SettingsForm& f) { f.egoCross = "0.5V"; }, "EGO Crossover Voltage"},
      {[](SettingsForm& f) { f.dataRate = "40000"; }, "Data Rate (ms)"},
      {[](SettingsForm& f) { f.bSplineText = "150"; }, "first \"Smoothing %\""},
      {[](SettingsForm& f) { f.minRpm = "-40000"; }, "Min RPM for O2 crossover points"},
      {[](SettingsForm& f) { f.bSplineSigma = "1e9"; }, "Data Filtering and Fitting"},
  };
  MemorySettingsStore store;
  const Settings current = firstRun();
  for (const Case& c : cases) {
    SettingsForm form = settingsFormFor(current, store);
    c.spoil(form);
    const auto saved = settingsFromForm(form, current);
    ASSERT_FALSE(saved.ok()) << c.named;
    EXPECT_NE(saved.reason().find(c.named), std::string::npos) << saved.reason();
  }
}

}  // namespace
}  // namespace tallimar::settings
