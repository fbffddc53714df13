// The gauge control and its property page.
#include "ui/ecu/analog_gauge.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

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

TEST(AnalogGaugeWidget, ValueRepaintsTheNeedleOverTheCachedDial) {
  AnalogGauge gauge;
  gauge.setColour(GaugeProperty::NeedleColor, QColor(0, 0, 255));
  gauge.grabImage();
  const int dialPaints = gauge.dialPaints();
  const ecu::GaugeStyle& style = ecu::gaugeStyle(0);
  // Half way along the needle at 0 (pointing left) and at 100 (pointing up).
  const auto left = ecu::gaugePoint(style, 0, style.radius / 2);
  const auto up = ecu::gaugePoint(style, 90, style.radius / 2);

  gauge.setValue(0);
  EXPECT_EQ(pixelAt(gauge, left), QColor(0, 0, 255));
  EXPECT_NE(pixelAt(gauge, up), QColor(0, 0, 255));
  gauge.setValue(100);
  EXPECT_NE(pixelAt(gauge, left), QColor(0, 0, 255));  // the old needle is gone
  EXPECT_EQ(pixelAt(gauge, up), QColor(0, 0, 255));
  EXPECT_EQ(gauge.dialPaints(), dialPaints);

  gauge.setNumber(GaugeProperty::Max, 200);
  gauge.grabImage();
  EXPECT_EQ(gauge.dialPaints(), dialPaints + 1);
}

class GaugePageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.resize(400, 300);
    gauge = new AnalogGauge(&host);
    hostGauge(*gauge, "Form1", "AnalogGauge1", store, prompts);
  }
  AnalogGaugePage* openPage() {
    emit gauge->propertiesRequested(gauge);
    return host.findChild<AnalogGaugePage*>();
  }
  QWidget host;
  AnalogGauge* gauge = nullptr;
  settings::MemorySettingsStore store;
  common::ScriptedPrompts prompts;
};

TEST_F(GaugePageTest, AppliesMaxBeforeTicksKeepsTheChangesAndAsksForColours) {
  gauge->load(ecu::liveGaugeDesign(ecu::LiveGauge::Map, {}, {}));
  AnalogGaugePage* page = openPage();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(child<QLineEdit>(*page, "txtCaption")->text(), "Manifold Pressure");
  EXPECT_FALSE(page->changed());

  // Max is applied before the large ticks, which may not exceed it.
  QTest::keyClicks(child<QLineEdit>(*page, "txtMaxValue"), "0");  // 100 -> 1000
  child<QLineEdit>(*page, "txtLargeTicks")->setText("250 kPa");
  child<QCheckBox>(*page, "chkPeakHold")->click();
  prompts.colourAnswers = {std::nullopt, common::Rgb{10, 20, 30}};
  child<QPushButton>(*page, "cmdColor", 2)->click();  // cancelled
  child<QPushButton>(*page, "cmdColor", 2)->click();
  EXPECT_EQ(prompts.asked.size(), 2u);
  EXPECT_EQ(gauge->properties().needleColor, (ecu::Rgb{0, 0, 0}));  // not before Apply
  EXPECT_TRUE(page->changed());
  child<QPushButton>(*page, "cmdApply")->click();
  EXPECT_EQ(gauge->properties().max, 1000);
  EXPECT_EQ(gauge->properties().ticksLarge, 250);
  EXPECT_EQ(gauge->peakHold(), 1);
  EXPECT_EQ(gauge->properties().needleColor, (ecu::Rgb{10, 20, 30}));
  EXPECT_FALSE(page->changed());

  // Applied changes are kept: a new gauge of the same window and name comes back with them.
  AnalogGauge again(&host);
  hostGauge(again, "Form1", "AnalogGauge1", store, prompts);
  EXPECT_EQ(again.properties().max, 1000);
  EXPECT_EQ(again.properties().caption, "Manifold Pressure");
}

}  // namespace
}  // namespace tallimar::ui
