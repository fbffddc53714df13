// Pictures of the gauge exerciser, its property page and the live-data window (see
// ui/pictures.h); the exerciser's first gauge must follow its counter.
#include <gtest/gtest.h>

#include "common/scripted_prompts.h"
#include "ecu/live_gauges.h"
#include "ui/ecu/acquire_window.h"
#include "ui/ecu/analog_gauge.h"
#include "ui/ecu/analog_gauge_page.h"
#include "ui/ecu/gauge_exerciser.h"
#include "ui/pictures.h"

namespace tallimar::ui::testing {
namespace {

TEST(GaugePictures, ExerciserPageAndLiveWindow) {
  settings::MemorySettingsStore store;
  common::ScriptedPrompts prompts;
  GaugeExerciser form(store, prompts);
  form.show();
  for (int i = 0; i < 140; ++i) form.timer1Tick();
  EXPECT_EQ(form.gauge(1)->model().readOut().text, std::to_string(form.counter()));
  savePicture(&form, "exerciser");
  emit form.gauge(2)->propertiesRequested(form.gauge(2));
  savePicture(form.findChild<AnalogGaugePage*>(), "property_page");

  workspace::Workspace workspace;
  AcquireWindow live(workspace, store, prompts, {});
  live.show();
  const double values[] = {0.47, 175, 35, 42, 65, 104};
  for (ecu::LiveGauge g : ecu::kLiveGauges) live.gauge(g)->setValue(values[static_cast<int>(g)]);
  savePicture(&live, "live_window");
}

}  // namespace
}  // namespace tallimar::ui::testing
