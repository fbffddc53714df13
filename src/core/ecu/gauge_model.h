// GaugeModel: the analog gauge without a screen. It holds the properties, keeps the rules
// for setting them (clamping, peak hold, tick intervals) and computes the picture as two
// display lists: the dial (band, ticks, scale labels, caption, unit label), computed again
// only when a property that shapes it changes, and the needle layer (peak needle, needle,
// hub), computed again on every Value. A window caches the dial and paints the needles over
// it, which is all that moving the needle costs.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "common/text_metrics.h"
#include "ecu/gauge_properties.h"
#include "plot/draw_list.h"

namespace tallimar::ecu {

enum class GaugeProperty {
  Caption,
  Label,
  Min,
  Max,
  Value,
  TicksSmall,
  TicksLarge,
  TextFormat,
  NumericFormat,
  GreenRangeMin,
  GreenRangeMax,
  RedRangeMin,
  RedRangeMax,
  Style,
  BackColor,
  ForeColor,
  NeedleColor,
  PeakNeedleColor,
  PeakHold,
};

// What a property change redrew.
enum class GaugeRedraw {
  None,    // nothing on screen changes (the peak needle colour until the next draw)
  Labels,  // the caption or the unit label (part of the dial)
  Needle,  // the needle layer and the read-out
  Full,    // the dial and the needle layer
};

// The name a change is announced under: the property's own ("Min", "TextFormat"), except
// the peak needle colour, announced under its store key "PeakNeedle".
const char* gaugePropertyName(GaugeProperty property);

// Degrees become radians with this constant, not with full-precision pi: the dial's ticks
// and needle land where they always have.
inline constexpr double kGaugePi = 3.1415;

// Value units per degree of the style's sweep: (Max - Min) / (end - start).
double unitsPerDegree(const GaugeProperties& properties);
// The angle of a value: start + (value - Min) / units per degree.
double angleOfValue(const GaugeProperties& properties, double value);
// The point at `angle` degrees and `distance` twips from the style's centre:
// (cx - d cos a, cy - d sin a).
struct GaugePoint {
  double x, y;
};
GaugePoint gaugePoint(const GaugeStyle& style, double angle, double distance);

// The dial's drawing surface starts this far below the gauge's top edge, under the caption.
// User units of both lists are twips of the surface, so the caption lies above y = 0.
inline constexpr double kGaugeSurfaceTop = 240;

// The font of the scale labels, caption, unit label and read-out.
inline const common::FontSpec kGaugeFont{"Arial", 8.0, false};

class GaugeModel {
 public:
  // A gauge with the given properties, drawn in full. The metrics place the scale labels
  // and must outlive the model.
  explicit GaugeModel(const common::TextMetrics& metrics, GaugeProperties properties = {});

  const GaugeProperties& properties() const { return m_p; }
  // PeakHold as read from outside: a pending reset (2) reads 1, and 1 is kept.
  std::int16_t peakHold();

  // Sets one property, announces it (not Value) and redraws as the property needs. Number
  // properties also take text (the leading number of it, as typed); text properties take
  // their text as it is; the colour properties take colours. A setter of the wrong kind
  // for the property does nothing and returns None. Style outside 0..3 becomes 0; PeakHold
  // below 0 becomes 0, above 2 becomes 2.
  GaugeRedraw setNumber(GaugeProperty property, double value);
  GaugeRedraw setText(GaugeProperty property, const std::string& text);
  GaugeRedraw setColour(GaugeProperty property, Rgb colour);
  // The live path: Value, with a needle-only redraw and no announcement.
  void setValue(double value);

  // Replaces every property (as loading from a store does) and draws in full.
  void load(const GaugeProperties& properties);

  // Called with the name of each property set from outside (see gaugePropertyName).
  std::function<void(const std::string&)> onPropertyChanged;

  // The picture. Both lists cover the gauge's laid-out size (width by height twips) with
  // user units in twips of the surface, which starts kGaugeSurfaceTop below the gauge's
  // top. The needle layer (peak needle, needle, hub, then the read-out) must be clipped to
  // the surface (y from 0 to surfaceHeight), as the hub of the "Lincoln Dash" style lies
  // below it; every read-out lies on the surface.
  const plot::DrawList& dial() const { return m_dial; }
  const plot::DrawList& needles() const { return m_needles; }
  // The read-out: Value as set (before clamping) in NumericFormat, placed by the style.
  const plot::Text& readOut() const { return m_readOut; }
  double surfaceHeight() const { return gaugeStyle(m_p.style).surfaceHeight; }
  double width() const { return gaugeStyle(m_p.style).controlWidth; }
  double height() const { return gaugeStyle(m_p.style).controlHeight; }

  // The value the needle was last drawn at (none before the first needle) and the peak.
  std::optional<double> lastDrawnValue() const { return m_lastDrawn; }
  double peak() const { return m_peak; }

  void redrawFull();
  void redrawNeedle();

 private:
  void drawBand(const GaugeStyle& style, double upd);
  void drawTicks(const GaugeStyle& style, double upd, double& interval, double outer, bool labels);
  void drawLabels(const GaugeStyle& style);
  void addNeedles(const GaugeStyle& style);
  void addNeedle(const GaugeStyle& style, double value, Rgb colour);
  GaugeRedraw apply(GaugeProperty property, GaugeRedraw redraw);

  const common::TextMetrics& m_metrics;
  GaugeProperties m_p;
  std::optional<double> m_lastDrawn;
  double m_peak = 0;
  double m_needleWidth = 1;  // the line width the last full redraw left
  plot::DrawList m_dial;
  plot::DrawList m_needles;
  plot::Text m_readOut{};
};

}  // namespace tallimar::ecu
