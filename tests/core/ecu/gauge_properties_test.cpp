#include "ecu/gauge_properties.h"

#include <gtest/gtest.h>

namespace tallimar::ecu {
namespace {

constexpr const char* kGroup = "Gauge frmAcquire.gauO2";

TEST(GaugeProperties, SavedGaugeLoadsBackEqual) {
  GaugeProperties p;
  p.caption = "Oxygen Sensor";
  p.label = "Volts";
  p.min = -0.25;
  p.max = 1;
  p.value = 0.47;
  p.ticksSmall = 0.05;
  p.ticksLarge = 0.1;
  p.textFormat = ".0";
  p.numericFormat = "0.00";
  p.greenRangeMin = 0.45;
  p.greenRangeMax = 0.55;
  p.redRangeMin = 0;
  p.redRangeMax = 1;
  p.style = 2;
  p.backColor = Rgb{212, 208, 200};
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
  for (const char* key :
       {"Caption", "Label", "Min", "Max", "Value", "TicksSmall", "TicksLarge", "ValueFormat",
        "NumericFormat", "GreenRangeMin", "GreenRangeMax", "RedRangeMin", "RedRangeMax", "Style",
        "BackColor", "ForeColor", "NeedleColor", "PeakNeedle", "PeakHold"}) {
    const std::string saved = store.get("MegaSquirt", kGroup, key, "<none>");
    EXPECT_NE(saved, "<none>") << key;
    EXPECT_EQ(again.get("MegaSquirt", kGroup, key, "<none>"), saved) << key;
  }
  EXPECT_EQ(loadGaugeProperties(store, kGroup).ticksSmall, 0.05);
  // Colours are kept as red + 256 green + 65536 blue; the peak needle as a single.
  EXPECT_EQ(store.get("MegaSquirt", kGroup, "NeedleColor", ""), "8388608");
  EXPECT_EQ(store.get("MegaSquirt", kGroup, "PeakNeedle", ""), "255");
  EXPECT_EQ(store.get("MegaSquirt", kGroup, "ValueFormat", ""), ".0");
}

TEST(GaugeProperties, MissingAndDamagedKeysLoadTheirDefaults) {
  settings::MemorySettingsStore store;
  GaugeProperties empty = loadGaugeProperties(store, kGroup);
  EXPECT_EQ(empty.caption, "Analog Gauge");
  EXPECT_EQ(empty.label, "Gauge Label");
  EXPECT_EQ(empty.max, 100);
  EXPECT_EQ(empty.value, 0);
  EXPECT_EQ(empty.ticksSmall, 0);
  EXPECT_EQ(empty.numericFormat, "0");
  EXPECT_EQ(empty.backColor, Rgb{});
  EXPECT_EQ(empty.peakNeedleColor, Rgb{});

  const struct {
    const char* key;
    const char* text;
  } damaged[] = {{"Style", "9"},
                 {"PeakHold", "5"},
                 {"Min", "lots"},
                 {"Max", "1e999"},
                 {"BackColor", "-2147483633"},
                 {"ForeColor", "3.5"},
                 {"NeedleColor", "16777216"}};
  for (const auto& d : damaged) store.save("MegaSquirt", kGroup, d.key, d.text);
  const GaugeProperties p = loadGaugeProperties(store, kGroup);
  EXPECT_EQ(p.style, 0);
  EXPECT_EQ(p.peakHold, 2);
  EXPECT_EQ(p.min, 0);
  EXPECT_EQ(p.max, 0);  // not a finite number
  EXPECT_EQ(p.backColor, Rgb{});
  EXPECT_EQ(p.foreColor, Rgb{});
  EXPECT_EQ(p.needleColor, Rgb{});
  EXPECT_EQ(colourFromNumber(static_cast<double>(colourNumber(Rgb{12, 34, 56}))),
            (Rgb{12, 34, 56}));
}

}  // namespace
}  // namespace tallimar::ecu
