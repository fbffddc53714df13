// The stored text forms of the settings record and their conversions.
//
// Every reading keeps the field's current value when the stored text cannot be turned
// into a value of the field's type (a 16-bit text out of range, a single text the decimal
// parser refuses, an unrecognised boolean). At start-up that current value is the default,
// so a damaged store can never stop the program from starting.
#include "settings/settings_io.h"

#include <cfloat>
#include <cmath>
#include <string>

#include "common/number_text.h"

namespace tallimar::settings {
namespace {

class Reader {
 public:
  explicit Reader(const SettingsStore& store) : m_store(store) {}

  std::string text(const char* key, const char* defaultText) const {
    return m_store.get(kApplication, kSection, key, defaultText);
  }

  // Decimal text with "." as separator; the value must also fit a single.
  void single(const char* key, const char* defaultText, float& field) const {
    const auto value = common::parseDecimal(text(key, defaultText));
    if (value && std::fabs(*value) <= static_cast<double>(FLT_MAX))
      field = static_cast<float>(*value);
  }

  // Lenient leading-number text rounded half-to-even; out of range keeps the field.
  void int16(const char* key, const char* defaultText, std::int16_t& field) const {
    if (auto value = common::parseInt16(text(key, defaultText))) field = *value;
  }

  void generalBool(const char* key, const char* defaultText, bool& field) const {
    if (auto value = common::parseGeneralBool(text(key, defaultText))) field = *value;
  }

  // Sets field to 1, 2 or 3 when the text equals the first, second or third word exactly.
  void choice(const char* key, const char* defaultText, const char* const (&words)[3],
              std::int16_t& field) const {
    const std::string stored = text(key, defaultText);
    for (int i = 0; i < 3; ++i)
      if (stored == words[i]) field = static_cast<std::int16_t>(i + 1);
  }

 private:
  const SettingsStore& m_store;
};

constexpr const char* kTemperatureWords[3] = {"Fahrenheit", "Celsius", "Kelvin"};
constexpr const char* kManifoldWords[3] = {"Kpa", "InchHG", "Bar"};

// The VE table has at most 16 bins a side; a stored size outside 1..16 would make every
// user of the table index past its end, so such a text keeps the current size.
void tableSize(const Reader& reader, const char* key, std::int16_t& field) {
  std::int16_t size = field;
  reader.int16(key, "8", size);
  if (size >= 1 && size <= 16) field = size;
}

}  // namespace

void loadSettings(const SettingsStore& store, Settings& into) {
  const Reader reader(store);
  into.incPath = reader.text("INCPath", "");
  reader.single("O2Transfer", "0.5", into.o2Transfer);
  reader.single("WBTargetAFR", "14.7", into.wbTargetAfr);
  reader.single("VEOutlierSigma", "2.0", into.veOutlierSigma);
  into.veRange = reader.text("VERange", "Average") == "Average" ? 0 : 1;
  into.veOutlierEnable = reader.text("VEOutlierEnable", "False") == "True";
  reader.int16("RPMMax", "10000", into.rpmMax);
  reader.int16("RPMMin", "1200", into.rpmMin);
  reader.int16("MAPMax", "100", into.mapMax);
  reader.int16("ComPort", "1", into.comPort);
  reader.int16("DataRate", "50", into.dataRate);
  reader.int16("BSpline", "50", into.bSpline);
  reader.int16("BSpline2", "33", into.bSpline2);
  reader.int16("BSplineFilter", "1", into.bSplineFilter);
  reader.generalBool("BSplineOutlier", "False", into.bSplineOutlier);
  reader.int16("BSplineSigma", "3", into.bSplineSigma);
  reader.choice("Tempereature", "Fahrenheit", kTemperatureWords, into.temperatureUnit);
  reader.choice("Manifold", "Kpa", kManifoldWords, into.manifoldUnit);
  tableSize(reader, "VESizeRPM", into.veSizeRPM);
  tableSize(reader, "VESizeMAP", into.veSizeMAP);
}

std::optional<std::string> storedText(const Settings& settings, std::string_view key) {
  auto number = [](std::int16_t value) { return std::to_string(value); };
  auto unit = [](std::int16_t value, const char* const(&words)[3]) -> std::optional<std::string> {
    // A unit that was never recognised (0) has no stored text; the key is left as it is.
    if (value < 1 || value > 3) return std::nullopt;
    return words[value - 1];
  };
  if (key == "INCPath") return settings.incPath;
  if (key == "O2Transfer") return common::shortestText(settings.o2Transfer);
  if (key == "WBTargetAFR") return common::shortestText(settings.wbTargetAfr);
  if (key == "VEOutlierSigma") return common::shortestText(settings.veOutlierSigma);
  if (key == "VERange") return settings.veRange == 0 ? "Average" : "Mean";
  if (key == "VEOutlierEnable") return common::boolText(settings.veOutlierEnable);
  if (key == "RPMMax") return number(settings.rpmMax);
  if (key == "RPMMin") return number(settings.rpmMin);
  if (key == "MAPMax") return number(settings.mapMax);
  if (key == "ComPort") return number(settings.comPort);
  if (key == "DataRate") return number(settings.dataRate);
  if (key == "BSpline") return number(settings.bSpline);
  if (key == "BSpline2") return number(settings.bSpline2);
  if (key == "BSplineFilter") return number(settings.bSplineFilter);
  if (key == "BSplineOutlier") return common::boolText(settings.bSplineOutlier);
  if (key == "BSplineSigma") return number(settings.bSplineSigma);
  if (key == "Tempereature") return unit(settings.temperatureUnit, kTemperatureWords);
  if (key == "Manifold") return unit(settings.manifoldUnit, kManifoldWords);
  if (key == "VESizeRPM") return number(settings.veSizeRPM);
  if (key == "VESizeMAP") return number(settings.veSizeMAP);
  return std::nullopt;
}

void saveSetting(SettingsStore& store, const Settings& settings, std::string_view key) {
  if (auto text = storedText(settings, key))
    store.save(kApplication, kSection, std::string(key), *text);
}

void saveSettings(SettingsStore& store, const Settings& settings) {
  for (const char* key :
       {"INCPath",         "O2Transfer",   "WBTargetAFR", "VEOutlierSigma", "VERange",
        "VEOutlierEnable", "RPMMax",       "RPMMin",      "MAPMax",         "ComPort",
        "DataRate",        "BSpline",      "BSpline2",    "BSplineFilter",  "BSplineOutlier",
        "BSplineSigma",    "Tempereature", "Manifold",    "VESizeRPM",      "VESizeMAP"})
    saveSetting(store, settings, key);
}

std::string readLanguage(const SettingsStore& store) {
  return store.get(kApplication, kSection, "Language", "English");
}

void saveLanguage(SettingsStore& store, const std::string& language) {
  store.save(kApplication, kSection, "Language", language);
}

bool readPrintPreview(const SettingsStore& store) {
  bool preview = true;
  Reader(store).generalBool("PrintPreview", "True", preview);
  return preview;
}

void savePrintPreview(SettingsStore& store, bool preview) {
  store.save(kApplication, kSection, "PrintPreview", common::boolText(preview));
}

bool readVEMapColors(const SettingsStore& store) {
  return store.get(kApplication, kSection, "VEMapColors", "True") == "True";
}

void saveVEMapColors(SettingsStore& store, bool colours) {
  store.save(kApplication, kSection, "VEMapColors", common::boolText(colours));
}

}  // namespace tallimar::settings
