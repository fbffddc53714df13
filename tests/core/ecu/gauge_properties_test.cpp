#include "ecu/gauge_properties.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tallimar::ecu {
namespace {

constexpr const char* kGroup = "Gauge frmAcquire.gauO2";
constexpr const char* kKeys[] = {"Caption",       "Label",         "Min",           "Max",
                                 "Value",         "TicksSmall",    "TicksLarge",    "ValueFormat",
                                 "NumericFormat", "GreenRangeMin", "GreenRangeMax", "RedRangeMin",
                                 "RedRangeMax",   "Style",         "BackColor",     "ForeColor",
                                 "NeedleColor",   "PeakNeedle",    "PeakHold"};

TEST(GaugeProperties, SavedGaugeLoadsBackEqual) {
  GaugeProperties p;
  p.caption = "Oxygen Sensor";
  p.min = -0.25;
  p.value = 0.47;
  p.ticksSmall = 0.05;
  p.textFormat = ".0";
  p.numericFormat = "0.00";
  p.greenRangeMin = 0.45;
  p.style = 2;
  p.foreColor = Rgb{1, 2, 3};
  p.needleColor = Rgb{0, 0, 128};
  p.peakNeedleColor = Rgb{255, 0, 0};
  p.peakHold = 1;
  settings::MemorySettingsStore store;
  EXPECT_FALSE(gaugeStored(store, kGroup));
  saveGaugeProperties(store, kGroup, p);
  EXPECT_TRUE(gaugeStored(store, kGroup));

  // Saved again, the loaded gauge gives every key the same text.
  settings::MemorySettingsStore again;
  saveGaugeProperties(again, kGroup, loadGaugeProperties(store, kGroup));
  for (const char* key : kKeys) {
    const std::string saved = store.get("MegaSquirt", kGroup, key, "<none>");
    EXPECT_NE(saved, "<none>") << key;
    EXPECT_EQ(again.get("MegaSquirt", kGroup, key, "<none>"), saved) << key;
  }
  // Colours are kept as red + 256 green + 65536 blue; the peak needle as a single.
  EXPECT_EQ(store.get("MegaSquirt", kGroup, "NeedleColor", ""), "8388608");
  EXPECT_EQ(store.get("MegaSquirt", kGroup, "PeakNeedle", ""), "255");
}

TEST(GaugeProperties, DamagedKeysLoadSafeValues) {
  settings::MemorySettingsStore store;
  const std::pair<const char*, const char*> damaged[] = {{"Style", "9"},
                                                         {"PeakHold", "5"},
                                                         {"Min", "lots"},
                                                         {"Max", "1e999"},
                                                         {"BackColor", "-2147483633"},
                                                         {"ForeColor", "3.5"},
                                                         {"NeedleColor", "16777216"}};
  for (const auto& [key, text] : damaged) store.save("MegaSquirt", kGroup, key, text);
  const GaugeProperties p = loadGaugeProperties(store, kGroup);
  // Max: not a finite number.
  EXPECT_EQ(std::tuple(p.style, p.peakHold, p.min, p.max, p.backColor, p.foreColor, p.needleColor),
            std::tuple(0, 2, 0.0, 0.0, Rgb{}, Rgb{}, Rgb{}));
}

}  // namespace
}  // namespace tallimar::ecu
