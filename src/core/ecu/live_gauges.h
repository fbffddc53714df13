// The designed look of the live-data window's six gauges, which the gauge exerciser shares.
#pragma once

#include "ecu/gauge_properties.h"

namespace tallimar::ecu {

enum class LiveGauge { O2, Coolant, Rpm, Throttle, Map, GammaE };
inline constexpr LiveGauge kLiveGauges[] = {LiveGauge::O2,  LiveGauge::Coolant,
                                            LiveGauge::Rpm, LiveGauge::Throttle,
                                            LiveGauge::Map, LiveGauge::GammaE};

// The control name of a live gauge ("gauO2", "gauCoolant", "gauRPM", "gauTP", "gauMAP",
// "gauGammaE").
const char* liveGaugeName(LiveGauge gauge);

// The gauge's design values: caption, unit label, range, ticks, coloured ranges, style,
// peak hold and formats; the throttle and MAP gauges on the menu colour, the others on the
// button face; black needles, red peak needle; Value at Min.
GaugeProperties liveGaugeDesign(LiveGauge gauge, Rgb buttonFace, Rgb menu);

}  // namespace tallimar::ecu
