// Pictures of the gauge exerciser, the property page and the live-data window for a person
// to look at, written to the folder named by TALLIMAR_SCREENSHOT_DIR; without it the windows
// are still built and driven, and the exerciser's first gauge must follow its counter.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>

#include "common/scripted_prompts.h"
#include "ecu/live_gauges.h"
#include "ui/ecu/acquire_window.h"
#include "ui/ecu/analog_gauge.h"
#include "ui/ecu/analog_gauge_page.h"
#include "ui/ecu/gauge_exerciser.h"

namespace tallimar::ui {
namespace {

TEST(GaugePictures, ExerciserPageAndLiveWindow) {
  const QString dir = qEnvironmentVariable("TALLIMAR_SCREENSHOT_DIR");
  if (!dir.isEmpty()) QDir().mkpath(dir);
  auto save = [&](QWidget& widget, const QString& name) {
    QApplication::processEvents();
    if (dir.isEmpty()) return;
    EXPECT_TRUE(widget.grab().save(dir + "/" + name + ".png")) << name.toStdString();
  };
  settings::MemorySettingsStore store;
  common::ScriptedPrompts prompts;
  GaugeExerciser form(store, prompts);
  form.show();
  for (int i = 0; i < 140; ++i) form.timer1Tick();
  EXPECT_EQ(form.gauge(1)->model().readOut().text, std::to_string(form.counter()));
  save(form, "exerciser");

  emit form.gauge(2)->propertiesRequested(form.gauge(2));
  auto* page = form.findChild<AnalogGaugePage*>();
  ASSERT_NE(page, nullptr);
  save(*page, "property_page");

  workspace::Workspace workspace;
  AcquireWindow live(workspace, store, prompts, {});
  live.show();
  const double values[] = {0.47, 175, 35, 42, 65, 104};
  for (ecu::LiveGauge g : ecu::kLiveGauges) live.gauge(g)->setValue(values[static_cast<int>(g)]);
  save(live, "live_window");
}

}  // namespace
}  // namespace tallimar::ui
