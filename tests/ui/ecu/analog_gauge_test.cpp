// The gauge control and its property page.
#include "ui/ecu/analog_gauge.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <tuple>

#include "common/scripted_prompts.h"
#include "ecu/live_gauges.h"
#include "ui/ecu/analog_gauge_page.h"

namespace tallimar::ui {
namespace {

using ecu::GaugeProperty;

template <class T>
T* child(QWidget& parent, const char* name, int index = -1) {
  for (T* found : parent.findChildren<T*>(name))
    if (index < 0 || found->property("index").toInt() == index) return found;
  return nullptr;
}

// The colour of a pixel of the gauge at a point given in twips.
QColor pixelAt(AnalogGauge& gauge, ecu::GaugePoint at) {
  const QImage image = gauge.grabImage();
  const double perTwip = gauge.width() / gauge.model().width();
  return image.pixelColor(static_cast<int>(at.x * perTwip),
                          static_cast<int>((at.y + ecu::kGaugeSurfaceTop) * perTwip));
}

// A new value moves the needle (the old one gone) without painting the dial again.
TEST(AnalogGaugeWidget, ValueRepaintsTheNeedleOverTheCachedDial) {
  AnalogGauge gauge;
  gauge.setColour(GaugeProperty::NeedleColor, Qt::blue);
  gauge.grabImage();
  const int dialPaints = gauge.dialPaints();
  const ecu::GaugeStyle& style = ecu::gaugeStyle(0);
  // Half way along the needle at 0 (pointing left) and at 100 (pointing up).
  const auto left = ecu::gaugePoint(style, 0, style.radius / 2);
  const auto up = ecu::gaugePoint(style, 90, style.radius / 2);
  gauge.setValue(0);
  EXPECT_EQ(pixelAt(gauge, left), QColor(Qt::blue));
  gauge.setValue(100);
  EXPECT_NE(pixelAt(gauge, left), QColor(Qt::blue));
  EXPECT_EQ(pixelAt(gauge, up), QColor(Qt::blue));
  EXPECT_EQ(gauge.dialPaints(), dialPaints);
  gauge.setNumber(GaugeProperty::Max, 200);
  gauge.grabImage();
  EXPECT_EQ(gauge.dialPaints(), dialPaints + 1);
}

// The property page applies Max before the large ticks (which may not exceed it), asks for
// colours, changes nothing before Apply and saves what it applied.
TEST(AnalogGaugePage, AppliesMaxBeforeTicksKeepsTheChangesAndAsksForColours) {
  QWidget host;
  settings::MemorySettingsStore store;
  common::ScriptedPrompts prompts;
  auto* gauge = new AnalogGauge(&host);
  hostGauge(*gauge, "Form1", "AnalogGauge1", store, prompts);
  gauge->load(ecu::liveGaugeDesign(ecu::LiveGauge::Map, {}, {}));
  emit gauge->propertiesRequested(gauge);
  auto* page = host.findChild<AnalogGaugePage*>();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(child<QLineEdit>(*page, "txtCaption")->text(), "Manifold Pressure");
  auto* max = child<QLineEdit>(*page, "txtMaxValue");
  QTest::keyClick(max, Qt::Key_End);  // the fields open showing their start
  QTest::keyClicks(max, "0");         // 100 -> 1000
  child<QLineEdit>(*page, "txtLargeTicks")->setText("250 kPa");
  child<QCheckBox>(*page, "chkPeakHold")->click();
  prompts.colourAnswers = {std::nullopt, common::Rgb{10, 20, 30}};
  child<QPushButton>(*page, "cmdColor", 2)->click();  // cancelled
  child<QPushButton>(*page, "cmdColor", 2)->click();
  EXPECT_EQ(gauge->properties().needleColor, (ecu::Rgb{0, 0, 0}));
  EXPECT_TRUE(page->changed());
  child<QPushButton>(*page, "cmdApply")->click();
  const ecu::GaugeProperties& applied = gauge->properties();
  EXPECT_EQ(std::tuple(applied.max, applied.ticksLarge, gauge->peakHold(), applied.needleColor),
            std::tuple(1000.0, 250.0, std::int16_t{1}, ecu::Rgb{10, 20, 30}));
  EXPECT_FALSE(page->changed());
  AnalogGauge again(&host);  // of the same window and name: comes back as applied
  hostGauge(again, "Form1", "AnalogGauge1", store, prompts);
  EXPECT_EQ(std::pair(again.properties().max, again.properties().caption),
            std::pair(1000.0, std::string("Manifold Pressure")));
}

}  // namespace
}  // namespace tallimar::ui
