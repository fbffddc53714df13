// The settings dialog without its widgets: what every bound control shows for a settings
// record, the checks that correct a field when the user leaves it, the coupling of the
// smoothing bars to their texts, and the conversion of the controls back into a record.
// The dialog window only copies these values into and out of its controls.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "common/expected.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace tallimar::settings {

// Entries of the "Com Port:" list: "Com:1" .. "Com:8".
inline constexpr int kComPortCount = 8;
// "LD Map Size" options 0 "8x8", 1 "12x12", 2 "16x16"; option 3 is "Custom".
inline constexpr int kCustomMapSize = 3;

// The bound controls of the dialog. An option group holds the index of its selected
// option, or -1 when none is selected.
struct SettingsForm {
  std::string incPath;          // txtINCPath
  std::string egoCross;         // txtEGOcross, "EGO Crossover Voltage:"
  int veRangeOption = 0;        // VERangeOption: 0 Average, 1 Median
  bool veOutlier = false;       // chkVEOutlier
  std::string sigma;            // txtSigma
  std::string maxRpm;           // txtMaxRPM
  std::string minRpm;           // txtMinRPM
  std::string maxMap;           // txtMaxMAP
  int comPortIndex = 0;         // cmbPort: entry k shows "Com:<k+1>"; -1 none
  std::string dataRate;         // txtDataRate, milliseconds
  int temperatureOption = 0;    // optTemp: 0 Fahrenheit, 1 Celsius, 2 Kelvin
  int manifoldOption = 0;       // optUnitMAP: 0 kPa, 1 Inch HG, 2 Bar
  int bSpline = 0;              // scrollBSpline position, 0..100
  std::string bSplineText;      // txtBSpline
  int bSpline2 = 0;             // scrollBSpline2 position, 0..100
  std::string bSpline2Text;     // txtBSpline2
  std::string bSplineSigma;     // txtBSplineSigma
  bool bSplineOutlier = false;  // chkBSplineOutlier
  int filteringOption = 1;      // optFiltering: 1 one-step, 2 two-step (indices 1 and 2)
  int mapSizeOption = 0;        // optMapSize: 0 8x8, 1 12x12, 2 16x16, 3 Custom; -1 none
  // The device each port number opens ("ComDevice<N>", else /dev/ttyS<N-1>), entry k for
  // port k + 1; the field beside "Com Port:" edits the entry of the chosen port.
  std::array<std::string, kComPortCount> comDevices;
};

// The texts and choices the dialog shows on opening for a settings record, with the
// devices of the eight ports read from the store. Values the controls cannot take (a port
// outside 1..8, a smoothing percent outside 0..100, a filter other than 1 or 2) select no
// entry or are clamped to the bar's range, so that a damaged store still opens the dialog.
SettingsForm settingsFormFor(const Settings& settings, const SettingsStore& store);

// Field checks, run when the user leaves a field; each returns the corrected text.
// RPM fields: the leading number rounded down to a multiple of 100.
std::string rpmFieldLeft(std::string_view text);
// "Max RPM to Plot" after its own check: "10000" when the minimum is not below it.
std::string maxRpmAgainstMin(std::string_view minRpm, std::string_view maxRpm);
// "Max MAP to Plot": the leading number rounded down to a multiple of 10.
std::string mapFieldLeft(std::string_view text);
// "Data Rate (ms)": a value below 30 becomes "30"; anything else stays as typed.
std::string dataRateLeft(std::string_view text);
// Runs every check above on the form, as leaving each field in turn would.
void applyFieldChecks(SettingsForm& form);

// The second smoothing percent that follows the first bar: half of it, halves to even.
int halfSmoothing(int position);
// A typed smoothing text as a bar position: the text must be a number (blanks around it
// allowed) that rounds to 0..100. nullopt otherwise; the bar then stays where it is.
std::optional<int> typedSmoothing(std::string_view text);

// The record the dialog's "Save" makes from the form and the current record. Fields whose
// control selects nothing keep their current value; "Custom" keeps the table size. Refused,
// with a reason that names the field, when "EGO Crossover Voltage" or "Data Rate (ms)" is
// not a number, a smoothing text is not a number from 0 to 100, or a whole-number field
// does not fit its 16-bit setting. The B-spline sigma box has every "," replaced by "."
// first (form is changed: the box shows the text that was read).
common::Expected<Settings> settingsFromForm(SettingsForm& form, const Settings& current);

// The keys "Save" writes after "INCPath" (and the factor table reload), in order. The map
// size ("VESizeRPM", "VESizeMAP") is written only when a fixed size is chosen.
inline constexpr std::array<const char*, 18> kSaveOrder = {
    "O2Transfer", "VESizeRPM", "VESizeMAP", "VERange",      "VEOutlierEnable", "VEOutlierSigma",
    "RPMMax",     "RPMMin",    "MAPMax",    "ComPort",      "DataRate",        "Tempereature",
    "Manifold",   "BSpline",   "BSpline2",  "BSplineSigma", "BSplineOutlier",  "BSplineFilter"};

}  // namespace tallimar::settings
