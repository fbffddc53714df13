#include "ecu/gauge_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "ecu/gauge_properties.h"

namespace tallimar::ecu {
namespace {

using plot::Line;
using plot::Text;

constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kRed{255, 0, 0};

class GaugeModelTest : public ::testing::Test {
 protected:
  // A 0..100 gauge whose ticks and needle have a colour of their own.
  GaugeProperties plain() const {
    GaugeProperties p;
    p.needleColor = kBlue;
    return p;
  }
  static std::vector<Line> linesIn(const plot::DrawList& list, Rgb colour) {
    std::vector<Line> found;
    for (const Line& l : plot::itemsOfKind<Line>(list))
      if (l.colour == colour) found.push_back(l);
    return found;
  }
  common::FixedPitchTextMetrics metrics;
};

// The needle's tip sits 0.95 R out at the value's angle (0 points left, 90 straight up);
// values past the ends read as typed but are drawn clamped; an empty range draws no needle.
TEST_F(GaugeModelTest, NeedlePointsAtTheClampedValue) {
  const struct {
    double max, value;
    const char* readOut;
    double drawn, angle;
  } cases[] = {{100, -7, "-7.0", 0, 0},
               {100, 50, "50.0", 50, 45},
               {100, 120, "120.0", 100, 90},
               {0, 33, "33.0", 33, -1}};
  const GaugeStyle& style = gaugeStyle(0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    GaugeProperties p = plain();
    p.max = c.max;
    GaugeModel gauge(metrics, p);
    gauge.setValue(c.value);
    EXPECT_EQ(plot::itemsOfKind<Text>(gauge.needles()).back().text, c.readOut);
    EXPECT_DOUBLE_EQ(gauge.properties().value, c.drawn);
    const std::vector<Line> needle = linesIn(gauge.needles(), kBlue);
    ASSERT_EQ(needle.empty(), c.angle < 0);
    if (needle.empty()) continue;
    const double a = c.angle * kGaugePi / 180;
    EXPECT_NEAR(needle.front().x1, style.centreX - 0.95 * style.radius * std::cos(a), 1e-9);
    EXPECT_NEAR(needle.front().y1, style.centreY - 0.95 * style.radius * std::sin(a), 1e-9);
  }
}

// Small ticks are one pixel wide, large ones two with a label each (the caption and unit label
// follow the scale's labels).
TEST_F(GaugeModelTest, TickIntervals) {
  const struct {
    double small, large;
    std::size_t smallTicks, largeTicks;
    std::vector<std::string> labels;
    double storedLarge;
  } cases[] = {
      {0, 25, 0, 5, {"0", "25", "50", "75", "100", "Analog Gauge", "Label"}, 25},
      {5, 150, 21, 2, {"0", "100", "Analog Gauge", "Label"}, 100},  // larger than Max: Max
      {1e-4, 1e-4, 0, 0, {"Analog Gauge", "Label"}, 1e-4},  // finer than a sensible dial: none
  };
  for (const auto& c : cases) {
    GaugeProperties p = plain();
    p.ticksSmall = c.small;
    p.ticksLarge = c.large;
    GaugeModel gauge(metrics, p);
    std::size_t small = 0, large = 0;
    for (const Line& l : linesIn(gauge.dial(), kBlue)) (l.widthPixels == 1 ? small : large)++;
    std::vector<std::string> labels;
    for (const Text& t : plot::itemsOfKind<Text>(gauge.dial())) labels.push_back(t.text);
    EXPECT_EQ(std::tuple(small, large, labels, gauge.properties().ticksLarge),
              std::tuple(c.smallTicks, c.largeTicks, c.labels, c.storedLarge))
        << c.small << " / " << c.large;
  }
}

// Ranges 0..0 colour the angle of value 0 alone, in red and green (the edges count).
TEST_F(GaugeModelTest, EmptyRangeBandsColourOneAngle) {
  GaugeProperties p = plain();
  p.greenRangeMin = p.greenRangeMax = p.redRangeMin = p.redRangeMax = 0;
  GaugeModel gauge(metrics, p);
  for (const Line& l : plot::itemsOfKind<Line>(gauge.dial()))
    EXPECT_TRUE(l.colour == kBlue || std::abs(l.y1 - gaugeStyle(0).centreY) < 1e-9) << l.y1;
  EXPECT_FALSE(linesIn(gauge.dial(), kRed).empty() || linesIn(gauge.dial(), {0, 200, 0}).empty());
}

TEST_F(GaugeModelTest, PeakHoldFollowsTheHighestValueUntilReset) {
  GaugeProperties p = plain();
  p.peakHold = 1;
  GaugeModel gauge(metrics, p);
  gauge.setValue(80);
  gauge.setValue(30);
  EXPECT_DOUBLE_EQ(gauge.peak(), 80);
  EXPECT_FALSE(linesIn(gauge.needles(), kRed).empty());

  EXPECT_EQ(gauge.setNumber(GaugeProperty::PeakHold, 2), GaugeRedraw::Needle);
  EXPECT_EQ(gauge.peakHold(), 1);
  EXPECT_DOUBLE_EQ(gauge.peak(), 30);
  EXPECT_TRUE(linesIn(gauge.needles(), kRed).empty());
}

// Each setter says what must be redrawn and announces the property by its saved name; the
// live path (setValue) announces nothing, and a colour given to a number property is ignored.
TEST_F(GaugeModelTest, SettersAnnounceAndRedrawAsThePropertyNeeds) {
  GaugeModel gauge(metrics, plain());
  std::vector<std::string> announced;
  gauge.onPropertyChanged = [&](const std::string& name) { announced.push_back(name); };
  EXPECT_EQ(gauge.setText(GaugeProperty::Min, " -40 deg"), GaugeRedraw::Full);
  EXPECT_DOUBLE_EQ(gauge.properties().min, -40);
  EXPECT_EQ(gauge.setColour(GaugeProperty::PeakNeedleColor, kBlue), GaugeRedraw::None);
  EXPECT_EQ(gauge.setText(GaugeProperty::NumericFormat, "0.00"), GaugeRedraw::Needle);
  EXPECT_EQ(gauge.setText(GaugeProperty::Caption, "Boost"), GaugeRedraw::Labels);
  for (const auto& [style, kept] : {std::pair{7.0, 0}, {2.0, 2}, {1e9, 0}}) {
    gauge.setNumber(GaugeProperty::Style, style);
    EXPECT_EQ(gauge.properties().style, kept) << style;
  }
  gauge.setValue(12);
  EXPECT_EQ(gauge.setColour(GaugeProperty::Min, kBlue), GaugeRedraw::None);
  EXPECT_EQ(announced, (std::vector<std::string>{"Min", "PeakNeedle", "NumericFormat", "Caption",
                                                 "Style", "Style", "Style"}));
}

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
  p.numericFormat = "0.00";
  p.greenRangeMin = 0.45;
  p.style = 2;
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
  for (const auto& [key, text] : {std::pair{"Style", "9"},
                                  {"PeakHold", "5"},
                                  {"Max", "1e999"},
                                  {"BackColor", "-2147483633"},
                                  {"NeedleColor", "16777217"}})
    store.save("MegaSquirt", kGroup, key, text);
  const GaugeProperties p = loadGaugeProperties(store, kGroup);
  EXPECT_EQ(std::tuple(p.style, p.peakHold, p.max, p.backColor, p.needleColor),
            std::tuple(0, 2, 0.0, Rgb{}, Rgb{}));
}

}  // namespace
}  // namespace tallimar::ecu
