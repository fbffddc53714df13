// The analog gauge's rules and its picture as display lists.
#include "ecu/gauge_model.h"

#include <algorithm>
#include <cmath>

#include "common/number_text.h"

namespace tallimar::ecu {
namespace {

constexpr double kBandStepDegrees = 0.8;
constexpr double kNeedleHalfWidthDegrees = 35.0;
// A tick interval finer than this many ticks over the sweep draws no ticks: a typing slip
// such as 0.0001 would otherwise bury the dial in a million strokes.
constexpr double kMostTicks = 1000.0;
constexpr double kReadOutWidth = 500.0;
constexpr double kAngleSlack = 1e-9;

double radians(double degrees) { return degrees * kGaugePi / 180.0; }

// Calls f(angle) from start to end (end included when a step lands on it) in steps of
// `step` degrees, counted from start so that rounding does not add up. A step that is not
// positive draws nothing; an infinite one draws the start only.
template <class F>
void forEachAngle(double start, double end, double step, F f) {
  if (!(step > 0)) return;
  if (std::isinf(step)) {
    f(start);
    return;
  }
  if ((end - start) / step > kMostTicks) return;
  for (int i = 0;; ++i) {
    const double angle = start + i * step;
    if (angle > end + kAngleSlack) break;
    f(angle);
  }
}

GaugeRedraw redrawOf(GaugeProperty property) {
  using P = GaugeProperty;
  switch (property) {
    case P::Caption:
    case P::Label:
      return GaugeRedraw::Labels;
    case P::Value:
    case P::NumericFormat:
    case P::PeakHold:
      return GaugeRedraw::Needle;
    case P::PeakNeedleColor:
      return GaugeRedraw::None;
    default:
      return GaugeRedraw::Full;
  }
}

bool isNumber(GaugeProperty p) {
  using P = GaugeProperty;
  return p == P::Min || p == P::Max || p == P::Value || p == P::TicksSmall || p == P::TicksLarge ||
         p == P::GreenRangeMin || p == P::GreenRangeMax || p == P::RedRangeMin ||
         p == P::RedRangeMax || p == P::Style || p == P::PeakHold;
}

std::int16_t clampedInt16(double value, int low, int high) {
  if (!(value >= low)) return static_cast<std::int16_t>(low);  // NaN too
  if (value > high) return static_cast<std::int16_t>(high);
  return static_cast<std::int16_t>(std::lround(value));
}

}  // namespace

const char* gaugePropertyName(GaugeProperty property) {
  static constexpr const char* kNames[] = {
      "Caption",       "Label",       "Min",         "Max",           "Value",
      "TicksSmall",    "TicksLarge",  "TextFormat",  "NumericFormat", "GreenRangeMin",
      "GreenRangeMax", "RedRangeMin", "RedRangeMax", "Style",         "BackColor",
      "ForeColor",     "NeedleColor", "PeakNeedle",  "PeakHold"};
  return kNames[static_cast<int>(property)];
}

double unitsPerDegree(const GaugeProperties& p) {
  const GaugeStyle& style = gaugeStyle(p.style);
  return (p.max - p.min) / (style.endAngle - style.startAngle);
}

double angleOfValue(const GaugeProperties& p, double value) {
  return gaugeStyle(p.style).startAngle + (value - p.min) / unitsPerDegree(p);
}

GaugePoint gaugePoint(const GaugeStyle& style, double angle, double distance) {
  const double a = radians(angle);
  return {style.centreX - distance * std::cos(a), style.centreY - distance * std::sin(a)};
}

GaugeModel::GaugeModel(const common::TextMetrics& metrics, GaugeProperties properties)
    : m_metrics(metrics), m_p(std::move(properties)) {
  m_p.style = validGaugeStyle(m_p.style);
  redrawFull();
}

std::int16_t GaugeModel::peakHold() {
  if (m_p.peakHold == 2) m_p.peakHold = 1;
  return m_p.peakHold;
}

void GaugeModel::load(const GaugeProperties& properties) {
  m_p = properties;
  m_p.style = validGaugeStyle(m_p.style);
  redrawFull();
}

void GaugeModel::setValue(double value) {
  m_p.value = value;
  redrawNeedle();
}

GaugeRedraw GaugeModel::setNumber(GaugeProperty property, double value) {
  using P = GaugeProperty;
  if (!isNumber(property)) return GaugeRedraw::None;
  if (property == P::Value) {
    setValue(value);
    return GaugeRedraw::Needle;
  }
  switch (property) {
    case P::Min:
      m_p.min = value;
      break;
    case P::Max:
      m_p.max = value;
      break;
    case P::TicksSmall:
      m_p.ticksSmall = value;
      break;
    case P::TicksLarge:
      m_p.ticksLarge = value;
      break;
    case P::GreenRangeMin:
      m_p.greenRangeMin = value;
      break;
    case P::GreenRangeMax:
      m_p.greenRangeMax = value;
      break;
    case P::RedRangeMin:
      m_p.redRangeMin = value;
      break;
    case P::RedRangeMax:
      m_p.redRangeMax = value;
      break;
    case P::Style:
      m_p.style = validGaugeStyle(clampedInt16(value, -32768, 32767));
      break;
    case P::PeakHold:
      m_p.peakHold = clampedInt16(value, 0, 2);
      break;
    default:
      break;
  }
  return apply(property, redrawOf(property));
}

GaugeRedraw GaugeModel::setText(GaugeProperty property, const std::string& text) {
  using P = GaugeProperty;
  if (isNumber(property)) {
    const double value = common::parseLeadingNumber(text);
    return setNumber(property, std::isfinite(value) ? value : 0.0);
  }
  switch (property) {
    case P::Caption:
      m_p.caption = text;
      break;
    case P::Label:
      m_p.label = text;
      break;
    case P::TextFormat:
      m_p.textFormat = text;
      break;
    case P::NumericFormat:
      m_p.numericFormat = text;
      break;
    default:
      return GaugeRedraw::None;
  }
  return apply(property, redrawOf(property));
}

GaugeRedraw GaugeModel::setColour(GaugeProperty property, Rgb colour) {
  using P = GaugeProperty;
  switch (property) {
    case P::BackColor:
      m_p.backColor = colour;
      break;
    case P::ForeColor:
      m_p.foreColor = colour;
      break;
    case P::NeedleColor:
      m_p.needleColor = colour;
      break;
    case P::PeakNeedleColor:
      m_p.peakNeedleColor = colour;
      break;
    default:
      return GaugeRedraw::None;
  }
  return apply(property, redrawOf(property));
}

GaugeRedraw GaugeModel::apply(GaugeProperty property, GaugeRedraw redraw) {
  if (onPropertyChanged) onPropertyChanged(gaugePropertyName(property));
  switch (redraw) {
    case GaugeRedraw::Full:
      redrawFull();
      break;
    case GaugeRedraw::Needle:
      redrawNeedle();
      break;
    case GaugeRedraw::Labels:
      redrawFull();
      break;  // the labels are part of the dial list
    case GaugeRedraw::None:
      break;
  }
  return redraw;
}

void GaugeModel::redrawFull() {
  const GaugeStyle& style = gaugeStyle(m_p.style);
  const double upd = unitsPerDegree(m_p);
  m_dial = plot::DrawList{};
  m_dial.widthTwips = style.controlWidth;
  m_dial.heightTwips = style.controlHeight;
  m_dial.scale = {0, -kGaugeSurfaceTop, style.controlWidth, style.controlHeight};
  m_dial.background = m_p.backColor;
  drawBand(style, upd);
  m_needleWidth = 2;  // the band's width, until the small ticks set theirs
  if (m_p.ticksLarge > 0) {
    if (m_p.ticksLarge > m_p.max) m_p.ticksLarge = m_p.max;
    drawTicks(style, upd, m_p.ticksLarge, 1.09, true);
  }
  if (m_p.ticksSmall > 0) {
    if (m_p.ticksSmall > m_p.max) m_p.ticksSmall = m_p.max;
    m_needleWidth = 1;
    drawTicks(style, upd, m_p.ticksSmall, 1.05, false);
  }
  drawLabels(style);
  redrawNeedle();
}

// Radial strokes every 0.8 degree, yellow between the green and red ranges, then red, then
// green over it: where the ranges overlap the later colour shows.
void GaugeModel::drawBand(const GaugeStyle& style, double upd) {
  constexpr Rgb kYellow{255, 255, 0};
  constexpr Rgb kRed{255, 0, 0};
  constexpr Rgb kGreen{0, 200, 0};
  forEachAngle(style.startAngle, style.endAngle, kBandStepDegrees, [&](double angle) {
    const double v = m_p.min + (angle - style.startAngle) * upd;
    const GaugePoint inner = gaugePoint(style, angle, style.radius);
    const GaugePoint outer = gaugePoint(style, angle, 1.09 * style.radius);
    auto stroke = [&](Rgb colour) {
      m_dial.add(plot::Line{inner.x, inner.y, outer.x, outer.y, colour, 2.0});
    };
    if (m_p.greenRangeMax <= v && v <= m_p.redRangeMin) stroke(kYellow);
    if (m_p.redRangeMin <= v && v <= m_p.redRangeMax) stroke(kRed);
    if (m_p.greenRangeMin <= v && v <= m_p.greenRangeMax) stroke(kGreen);
  });
}

void GaugeModel::drawTicks(const GaugeStyle& style, double upd, double& interval, double outer,
                           bool labels) {
  const double width = labels ? 2.0 : 1.0;
  const double textHeight = m_metrics.heightTwips(kGaugeFont);
  forEachAngle(style.startAngle, style.endAngle, interval / upd, [&](double angle) {
    const GaugePoint from = gaugePoint(style, angle, style.radius);
    const GaugePoint to = gaugePoint(style, angle, outer * style.radius);
    m_dial.add(plot::Line{from.x, from.y, to.x, to.y, m_p.needleColor, width});
    if (!labels) return;
    const double v = m_p.min + (angle - style.startAngle) * upd;
    std::string text = common::formatPattern(v, m_p.textFormat);
    const GaugePoint at = gaugePoint(style, angle, style.radius + style.labelOffset);
    const double textWidth = m_metrics.widthTwips(text, kGaugeFont);
    plot::Text label{at.x - textWidth / 2, at.y - textHeight / 2, std::move(text), m_p.foreColor};
    label.fontFamily = kGaugeFont.family;
    label.pointSize = kGaugeFont.pointSize;
    m_dial.add(std::move(label));
  });
}

// Caption and unit label: centred on the part of the gauge right of their left edge, but
// kept whole inside the gauge when they are wider than that part.
void GaugeModel::drawLabels(const GaugeStyle& style) {
  auto centred = [&](double left, double top, const std::string& text, bool bold) {
    common::FontSpec font = kGaugeFont;
    font.bold = bold;
    const double width = m_metrics.widthTwips(text, font);
    const double x = std::clamp((left + style.controlWidth - width) / 2, 0.0,
                                std::max(0.0, style.controlWidth - width));
    plot::Text t{x, top - kGaugeSurfaceTop, text, m_p.foreColor};
    t.fontFamily = font.family;
    t.pointSize = font.pointSize;
    t.bold = bold;
    m_dial.add(std::move(t));
  };
  centred(style.captionLeft, style.captionTop, m_p.caption, true);
  centred(style.unitLeft, style.unitTop, m_p.label, false);
}

void GaugeModel::redrawNeedle() {
  const GaugeStyle& style = gaugeStyle(m_p.style);
  m_needles = plot::DrawList{};
  m_needles.widthTwips = style.controlWidth;
  m_needles.heightTwips = style.controlHeight;
  m_needles.scale = m_dial.scale;
  m_needles.background = m_p.backColor;

  m_readOut = plot::Text{style.readOutLeft + kReadOutWidth / 2, style.readOutTop,
                         common::formatPattern(m_p.value, m_p.numericFormat), m_p.foreColor};
  m_readOut.fontFamily = kGaugeFont.family;
  m_readOut.pointSize = kGaugeFont.pointSize;
  m_readOut.bold = true;
  m_readOut.anchor = plot::TextAnchor::TopCentre;

  if (m_p.min < m_p.max) addNeedles(style);
  m_needles.add(m_readOut);
}

void GaugeModel::addNeedles(const GaugeStyle& style) {
  if (!(m_p.value >= m_p.min)) m_p.value = m_p.min;  // NaN reads as Min
  if (m_p.value > m_p.max) m_p.value = m_p.max;
  if (m_p.peakHold == 2) {
    m_peak = m_p.value;
    m_p.peakHold = 1;
  }
  if (m_p.peakHold == 1) {
    if (m_p.value > m_peak) m_peak = m_p.value;
    if (m_peak > m_p.value) addNeedle(style, std::min(m_peak, m_p.max), m_p.peakNeedleColor);
  }
  addNeedle(style, m_p.value, m_p.needleColor);
  m_lastDrawn = m_p.value;
  m_needles.add(plot::Circle{style.centreX, style.centreY, style.hubRadius + 20, m_p.needleColor});
}

// A fan of lines from the tip at 0.95 R to the hub circle, 35 degrees either side.
void GaugeModel::addNeedle(const GaugeStyle& style, double value, Rgb colour) {
  const double angle = angleOfValue(m_p, value);
  const GaugePoint tip = gaugePoint(style, angle, 0.95 * style.radius);
  const int steps = static_cast<int>(2 * kNeedleHalfWidthDegrees / kBandStepDegrees);
  for (int i = 0; i <= steps; ++i) {
    const GaugePoint base =
        gaugePoint(style, angle - kNeedleHalfWidthDegrees + i * kBandStepDegrees, style.hubRadius);
    m_needles.add(plot::Line{tip.x, tip.y, base.x, base.y, colour, m_needleWidth});
  }
}

}  // namespace tallimar::ecu
