// The settings dialog's texts, field checks and Save conversions.
#include "settings/settings_form.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "common/number_text.h"
#include "settings/serial_device.h"

namespace tallimar::settings {
namespace {

constexpr int kMapSizes[3] = {8, 12, 16};

// An option index for a setting held as 1..count; -1 (nothing selected) otherwise.
int optionFor(int setting, int count) {
  return setting >= 1 && setting <= count ? setting - 1 : -1;
}

// The leading number rounded down to a multiple of step, as whole-number text. A number too
// large to write stays as typed; Save then refuses it as out of range.
std::string roundedDown(std::string_view text, double step) {
  const double value = std::floor(common::parseLeadingNumber(text) / step) * step;
  if (!std::isfinite(value) || std::fabs(value) > 1e15) return std::string(text);
  return common::formatPattern(value, "0");
}

std::string trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

// field names the box as the user sees it, with its quotes.
common::Failure outOfRange(const std::string& field) {
  return common::fail(field + " must be a whole number from -32768 to 32767.");
}

// A whole-number field read as a leading number, rounded half-to-even into 16 bits.
bool wholeField(const std::string& text, std::int16_t& into) {
  const auto value = common::parseInt16(text);
  if (!value) return false;
  into = *value;
  return true;
}

}  // namespace

SettingsForm settingsFormFor(const Settings& settings, const SettingsStore& store) {
  SettingsForm form;
  form.incPath = settings.incPath;
  form.egoCross = common::formatPattern(settings.o2Transfer, "0.0000");
  form.veRangeOption = settings.veRange == 1 ? 1 : 0;
  form.veOutlier = settings.veOutlierEnable;
  form.sigma = common::formatPattern(settings.veOutlierSigma, "0.000");
  form.maxRpm = std::to_string(settings.rpmMax);
  form.minRpm = std::to_string(settings.rpmMin);
  form.maxMap = std::to_string(settings.mapMax);
  form.comPortIndex = optionFor(settings.comPort, kComPortCount);
  form.dataRate = std::to_string(settings.dataRate);
  form.temperatureOption = optionFor(settings.temperatureUnit, 3);
  form.manifoldOption = optionFor(settings.manifoldUnit, 3);
  // The first bar also sets the second text; the second bar is filled after it.
  form.bSpline = std::clamp<int>(settings.bSpline, 0, 100);
  form.bSplineText = std::to_string(form.bSpline);
  form.bSpline2 = std::clamp<int>(settings.bSpline2, 0, 100);
  form.bSpline2Text = std::to_string(form.bSpline2);
  form.bSplineSigma = common::formatPattern(settings.bSplineSigma, "0.000");
  form.bSplineOutlier = settings.bSplineOutlier;
  form.filteringOption =
      settings.bSplineFilter == 1 || settings.bSplineFilter == 2 ? settings.bSplineFilter : -1;
  form.mapSizeOption = -1;
  for (int option = 0; option < 3; ++option)
    if (settings.veSizeRPM == kMapSizes[option] && settings.veSizeMAP == kMapSizes[option])
      form.mapSizeOption = option;
  for (int port = 1; port <= kComPortCount; ++port)
    form.comDevices[static_cast<std::size_t>(port - 1)] = serialDevicePath(store, port);
  return form;
}

std::string rpmFieldLeft(std::string_view text) { return roundedDown(text, 100.0); }

std::string maxRpmAgainstMin(std::string_view minRpm, std::string_view maxRpm) {
  if (common::parseLeadingNumber(minRpm) >= common::parseLeadingNumber(maxRpm)) return "10000";
  return std::string(maxRpm);
}

std::string mapFieldLeft(std::string_view text) { return roundedDown(text, 10.0); }

std::string dataRateLeft(std::string_view text) {
  if (common::parseLeadingNumber(text) < 30.0) return "30";
  return std::string(text);
}

void applyFieldChecks(SettingsForm& form) {
  form.minRpm = rpmFieldLeft(form.minRpm);
  form.maxRpm = maxRpmAgainstMin(form.minRpm, rpmFieldLeft(form.maxRpm));
  form.maxMap = mapFieldLeft(form.maxMap);
  form.dataRate = dataRateLeft(form.dataRate);
}

int halfSmoothing(int position) {
  return static_cast<int>(common::roundHalfEven(static_cast<double>(position) / 2.0));
}

std::optional<int> typedSmoothing(std::string_view text) {
  const auto value = common::parseDecimal(trimmed(text));
  if (!value) return std::nullopt;
  const double rounded = common::roundHalfEven(*value);
  if (!(rounded >= 0.0 && rounded <= 100.0)) return std::nullopt;
  return static_cast<int>(rounded);
}

common::Expected<Settings> settingsFromForm(SettingsForm& form, const Settings& current) {
  Settings next = current;
  next.incPath = form.incPath;

  const auto ego = common::parseDecimal(trimmed(form.egoCross));
  if (!ego || std::fabs(*ego) > static_cast<double>(FLT_MAX))
    return common::fail("\"EGO Crossover Voltage\" must be a number of volts, such as 0.5.");
  next.o2Transfer = static_cast<float>(*ego);

  if (form.mapSizeOption >= 0 && form.mapSizeOption < kCustomMapSize) {
    next.veSizeRPM = static_cast<std::int16_t>(kMapSizes[form.mapSizeOption]);
    next.veSizeMAP = next.veSizeRPM;
  }
  next.veRange = form.veRangeOption == 0 ? 0 : 1;
  next.veOutlierEnable = form.veOutlier;

  const double sigma = common::parseLeadingNumber(form.sigma);
  if (!(std::fabs(sigma) <= static_cast<double>(FLT_MAX)))
    return common::fail("The \"Sigma\" of \"VE Range Calculation\" must be a number, such as 2.");
  next.veOutlierSigma = static_cast<float>(sigma);

  if (!wholeField(form.maxRpm, next.rpmMax)) return outOfRange("\"Max RPM to Plot\"");
  if (!wholeField(form.minRpm, next.rpmMin))
    return outOfRange("\"Min RPM for O2 crossover points\"");
  if (!wholeField(form.maxMap, next.mapMax)) return outOfRange("\"Max MAP to Plot\"");

  // The port number is the last character of the chosen entry "Com:<N>".
  if (form.comPortIndex >= 0 && form.comPortIndex < kComPortCount)
    next.comPort = static_cast<std::int16_t>(form.comPortIndex + 1);

  const auto rate = common::parseDecimal(trimmed(form.dataRate));
  const auto rate16 = rate ? common::toInt16(*rate) : std::nullopt;
  if (!rate16)
    return common::fail("\"Data Rate (ms)\" must be a whole number of milliseconds, such as 50.");
  next.dataRate = *rate16;

  if (form.temperatureOption >= 0 && form.temperatureOption < 3)
    next.temperatureUnit = static_cast<std::int16_t>(form.temperatureOption + 1);
  if (form.manifoldOption >= 0 && form.manifoldOption < 3)
    next.manifoldUnit = static_cast<std::int16_t>(form.manifoldOption + 1);

  if (!typedSmoothing(form.bSplineText))
    return common::fail("The first \"Smoothing %\" must be a number from 0 to 100.");
  if (!typedSmoothing(form.bSpline2Text))
    return common::fail("The second \"Smoothing %\" must be a number from 0 to 100.");
  next.bSpline = static_cast<std::int16_t>(std::clamp(form.bSpline, 0, 100));
  next.bSpline2 = static_cast<std::int16_t>(std::clamp(form.bSpline2, 0, 100));

  std::replace(form.bSplineSigma.begin(), form.bSplineSigma.end(), ',', '.');
  if (!wholeField(form.bSplineSigma, next.bSplineSigma))
    return outOfRange("The \"Sigma\" of \"Data Filtering and Fitting\"");
  next.bSplineOutlier = form.bSplineOutlier;
  if (form.filteringOption == 1 || form.filteringOption == 2)
    next.bSplineFilter = static_cast<std::int16_t>(form.filteringOption);
  return next;
}

}  // namespace tallimar::settings
