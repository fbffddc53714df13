// The analog gauge's properties: their values on a new gauge, the four dial styles, and how
// a gauge is kept in the per-user store under a group of its own.
#pragma once

#include <cstdint>
#include <string>

#include "common/rgb.h"
#include "settings/settings_store.h"

namespace tallimar::ecu {

using common::Rgb;

// The system button-face colour the program paints windows with; the window that makes a
// gauge passes the real one from its palette.
inline constexpr Rgb kButtonFace{240, 240, 240};

struct GaugeProperties {
  std::string caption = "Analog Gauge";
  std::string label = "Label";  // the unit label under the dial
  double min = 0;
  double max = 100;
  double value = 50;
  double ticksSmall = 5;  // small-tick interval in value units; 0 draws none
  double ticksLarge = 25;
  std::string textFormat = "0";       // scale labels, a digit-placeholder pattern
  std::string numericFormat = "0.0";  // read-out
  double greenRangeMin = 10;
  double greenRangeMax = 70;
  double redRangeMin = 90;
  double redRangeMax = 100;
  std::int16_t style = 0;  // 0 "90 Degree", 1 "270 Degree", 2 "Lincoln Dash", 3
  Rgb backColor = kButtonFace;
  Rgb foreColor{0, 0, 0};
  Rgb needleColor{0, 0, 0};
  Rgb peakNeedleColor{255, 0, 0};
  std::int16_t peakHold = 0;  // 0 off, 1 on, 2 reset pending
};

// The geometry of one dial style, in twips of the gauge's surface (x right, y down) and in
// degrees (0 points left, 90 up, 180 right).
struct GaugeStyle {
  double centreX, centreY;
  double radius;
  double hubRadius;
  double startAngle, endAngle;
  double labelOffset;  // scale labels sit at radius + labelOffset
  double surfaceHeight;
  double captionLeft, captionTop;
  double unitLeft, unitTop;
  double readOutLeft, readOutTop;
  // The size the gauge is laid out at: the dial, its scale labels and the unit label.
  double controlWidth, controlHeight;
};

inline constexpr int kGaugeStyleCount = 4;

// A style outside 0..3 is style 0.
std::int16_t validGaugeStyle(int style);
const GaugeStyle& gaugeStyle(int style);

// Colours are stored as the number red + 256 * green + 65536 * blue.
long colourNumber(Rgb colour);
// A number outside 0..0xFFFFFF (or not whole) is black.
Rgb colourFromNumber(double number);

// Loads and saves a gauge under application "MegaSquirt", section `group` (one group per
// gauge of a window, see gaugeGroup). Saving writes every key; loading reads every key,
// each with its default when absent (those are not a new gauge's values: a missing "Max"
// reads 100 but a missing "TicksSmall" reads 0). Styles outside 0..3 load as 0 and a
// PeakHold outside 0..2 is clamped into it.
void saveGaugeProperties(settings::SettingsStore& store, const std::string& group,
                         const GaugeProperties& properties);
GaugeProperties loadGaugeProperties(const settings::SettingsStore& store, const std::string& group);
// True when the group holds a saved gauge.
bool gaugeStored(const settings::SettingsStore& store, const std::string& group);
// The group of gauge `gauge` of window `window`: "Gauge <window>.<gauge>".
std::string gaugeGroup(const std::string& window, const std::string& gauge);

}  // namespace tallimar::ecu
