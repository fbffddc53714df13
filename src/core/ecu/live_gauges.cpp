// Design values of the live-data gauges.
#include "ecu/live_gauges.h"

namespace tallimar::ecu {
namespace {

struct Design {
  const char* name;
  const char* caption;
  const char* label;
  double min, max, ticksSmall, ticksLarge;
  double greenMin, greenMax, redMin, redMax;
  std::int16_t style;
  std::int16_t peakHold;
  const char* numericFormat;
  const char* textFormat;
  bool onMenuColour;
};

constexpr Design kDesigns[] = {
    {"gauO2", "Oxygen Sensor", "Volts", 0, 1, 0.05, 0.1, 0.45, 0.55, 0, 1, 2, 0, "0.00", ".0",
     false},
    {"gauCoolant", "Coolant Temperature", "Deg F.", -40, 210, 10, 50, -40, 170, 195, 210, 2, 1, "0",
     "0", false},
    {"gauRPM", "Engine RPM", "RPM X 100", 0, 60, 2.5, 5, 0, 50, 55, 60, 1, 0, "0", "0", false},
    {"gauTP", "Throttle Position", "Open %", 0, 100, 5, 25, 0, 100, 0, 0, 3, 0, "0", "0", true},
    {"gauMAP", "Manifold Pressure", "kPa", 0, 100, 5, 25, 0, 100, 0, 0, 3, 0, "0", "0", true},
    {"gauGammaE", "GammaE", "Enrichment %", 0, 250, 10, 50, 80, 120, 0, 250, 2, 1, "0", "0", false},
};

const Design& designOf(LiveGauge gauge) { return kDesigns[static_cast<int>(gauge)]; }

}  // namespace

const char* liveGaugeName(LiveGauge gauge) { return designOf(gauge).name; }

GaugeProperties liveGaugeDesign(LiveGauge gauge, Rgb buttonFace, Rgb menu) {
  const Design& d = designOf(gauge);
  GaugeProperties p;
  p.caption = d.caption;
  p.label = d.label;
  p.min = d.min;
  p.max = d.max;
  p.value = d.min;
  p.ticksSmall = d.ticksSmall;
  p.ticksLarge = d.ticksLarge;
  p.textFormat = d.textFormat;
  p.numericFormat = d.numericFormat;
  p.greenRangeMin = d.greenMin;
  p.greenRangeMax = d.greenMax;
  p.redRangeMin = d.redMin;
  p.redRangeMax = d.redMax;
  p.style = d.style;
  p.peakHold = d.peakHold;
  p.backColor = d.onMenuColour ? menu : buttonFace;
  return p;
}

}  // namespace tallimar::ecu
