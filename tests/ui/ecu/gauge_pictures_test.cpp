// Pictures of the gauge exerciser and its property page (see ui/pictures.h); the live-data
// window's is taken against the simulator. The exerciser's first gauge follows its counter.
#include <gtest/gtest.h>

#include "common/scripted_prompts.h"
#include "ui/ecu/analog_gauge.h"
#include "ui/ecu/analog_gauge_page.h"
#include "ui/ecu/gauge_exerciser.h"
#include "ui/pictures.h"

namespace tallimar::ui::testing {
namespace {

TEST(GaugePictures, ExerciserAndPropertyPage) {
  settings::MemorySettingsStore store;
  common::ScriptedPrompts prompts;
  GaugeExerciser form(store, prompts);
  form.show();
  for (int i = 0; i < 140; ++i) form.timer1Tick();
  EXPECT_EQ(form.gauge(1)->model().readOut().text, std::to_string(form.counter()));
  savePicture(&form, "exerciser");
  emit form.gauge(2)->propertiesRequested(form.gauge(2));
  savePicture(form.findChild<AnalogGaugePage*>(), "property_page");
}

}  // namespace
}  // namespace tallimar::ui::testing
