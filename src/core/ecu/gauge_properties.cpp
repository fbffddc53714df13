// The analog gauge's style table and its stored form.
#include "ecu/gauge_properties.h"

#include <array>
#include <cmath>

#include "common/number_text.h"

namespace tallimar::ecu {
namespace {

constexpr const char* kApplication = "MegaSquirt";

// centre, radius, hub, angles, label offset, surface height, caption, unit label, read-out,
// laid-out size.
constexpr std::array<GaugeStyle, kGaugeStyleCount> kStyles{{
    {1900, 1700, 1300, 80, 0, 90, 300, 1875, 0, 0, 0, 2140, 850, 1700, 2150, 2400},
    {1150, 1100, 725, 70, -45, 225, 260, 1900, 0, 0, 0, 2140, 900, 1600, 2300, 2400},
    {1100, 1500, 1100, 50, 45, 135, 260, 950, -75, 0, -75, 1200, 200, 750, 2200, 1450},
    {1300, 1100, 700, 40, 0, 90, 300, 1300, -300, 0, -300, 1550, 650, 1100, 1600, 1800},
}};

std::string numberText(double value) { return common::shortestText(value); }

std::int16_t int16Of(const std::string& text) {
  return common::parseInt16(text).value_or(std::int16_t{0});
}

}  // namespace

std::int16_t validGaugeStyle(int style) {
  return style >= 0 && style < kGaugeStyleCount ? static_cast<std::int16_t>(style)
                                                : std::int16_t{0};
}

const GaugeStyle& gaugeStyle(int style) {
  return kStyles[static_cast<std::size_t>(validGaugeStyle(style))];
}

long colourNumber(Rgb colour) { return colour.r + 256L * colour.g + 65536L * colour.b; }

Rgb colourFromNumber(double number) {
  if (!(number >= 0 && number <= 0xFFFFFF) || number != std::floor(number)) return Rgb{};
  const auto n = static_cast<long>(number);
  return Rgb{static_cast<std::uint8_t>(n & 0xFF), static_cast<std::uint8_t>((n >> 8) & 0xFF),
             static_cast<std::uint8_t>((n >> 16) & 0xFF)};
}

std::string gaugeGroup(const std::string& window, const std::string& gauge) {
  return "Gauge " + window + "." + gauge;
}

void saveGaugeProperties(settings::SettingsStore& store, const std::string& group,
                         const GaugeProperties& p) {
  auto put = [&](const char* key, const std::string& text) {
    store.save(kApplication, group, key, text);
  };
  put("Caption", p.caption);
  put("Label", p.label);
  put("Min", numberText(p.min));
  put("Max", numberText(p.max));
  put("Value", numberText(p.value));
  put("TicksSmall", numberText(p.ticksSmall));
  put("TicksLarge", numberText(p.ticksLarge));
  put("ValueFormat", p.textFormat);
  put("NumericFormat", p.numericFormat);
  put("GreenRangeMin", numberText(p.greenRangeMin));
  put("GreenRangeMax", numberText(p.greenRangeMax));
  put("RedRangeMin", numberText(p.redRangeMin));
  put("RedRangeMax", numberText(p.redRangeMax));
  put("Style", std::to_string(p.style));
  put("BackColor", std::to_string(colourNumber(p.backColor)));
  put("ForeColor", std::to_string(colourNumber(p.foreColor)));
  put("NeedleColor", std::to_string(colourNumber(p.needleColor)));
  // Kept as a single-precision number, as the peak needle colour always was.
  put("PeakNeedle", common::shortestText(static_cast<float>(colourNumber(p.peakNeedleColor))));
  put("PeakHold", std::to_string(p.peakHold));
}

GaugeProperties loadGaugeProperties(const settings::SettingsStore& store,
                                    const std::string& group) {
  auto text = [&](const char* key, const char* defaultText) {
    return store.get(kApplication, group, key, defaultText);
  };
  auto number = [&](const char* key, const char* defaultText) {
    const double value = common::parseLeadingNumber(text(key, defaultText));
    return std::isfinite(value) ? value : 0.0;
  };
  GaugeProperties p;
  p.caption = text("Caption", "Analog Gauge");
  p.label = text("Label", "Gauge Label");
  p.min = number("Min", "0");
  p.max = number("Max", "100");
  p.value = number("Value", "0");
  p.ticksSmall = number("TicksSmall", "0");
  p.ticksLarge = number("TicksLarge", "0");
  p.textFormat = text("ValueFormat", "0");
  p.numericFormat = text("NumericFormat", "0");
  p.greenRangeMin = number("GreenRangeMin", "0");
  p.greenRangeMax = number("GreenRangeMax", "0");
  p.redRangeMin = number("RedRangeMin", "0");
  p.redRangeMax = number("RedRangeMax", "0");
  p.style = validGaugeStyle(int16Of(text("Style", "0")));
  p.backColor = colourFromNumber(number("BackColor", "0"));
  p.foreColor = colourFromNumber(number("ForeColor", "0"));
  p.needleColor = colourFromNumber(number("NeedleColor", "0"));
  p.peakNeedleColor = colourFromNumber(number("PeakNeedle", "0"));
  const std::int16_t hold = int16Of(text("PeakHold", "0"));
  p.peakHold = hold < 0 ? std::int16_t{0} : hold > 2 ? std::int16_t{2} : hold;
  return p;
}

bool gaugeStored(const settings::SettingsStore& store, const std::string& group) {
  const std::string missing = "\x01missing";
  return store.get(kApplication, group, "Caption", missing) != missing;
}

}  // namespace tallimar::ecu
