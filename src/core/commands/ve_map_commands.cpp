// The VE table window's table commands, written against the Workspace and the interfaces.
#include "commands/ve_map_commands.h"

#include <string>
#include <utility>
#include <vector>

#include "commands/raw_map_revision.h"
#include "common/list_text.h"
#include "vemap/map_calculation.h"
#include "vemap/table_editing.h"

namespace tallimar::commands {

using namespace vemap;

namespace {
constexpr const char* kTitle = "Tallimar";
// Bins named in a line of bins; the rest are counted.
constexpr std::size_t kBinsNamed = 4;

// "(500, 20), (1000, 20) and 3 more": the first few bins by their RPM and MAP, so the line
// stays short however many there are.
std::string binList(const VeTable& table, const std::vector<std::pair<int, int>>& bins) {
  std::vector<std::string> named;
  for (std::size_t i = 0; i < bins.size() && i < kBinsNamed; ++i) {
    const auto [r, m] = bins[i];
    named.push_back("(" + std::to_string(table.rpmBins[static_cast<std::size_t>(r)]) + ", " +
                    std::to_string(table.mapBins[static_cast<std::size_t>(m)]) + ")");
  }
  named.resize(bins.size());  // the unnamed rest is only counted
  return common::firstFewOf(named, kBinsNamed);
}
}  // namespace

CommandResult clearLdMapCommand(workspace::Workspace& ws) {
  clear8x8Map(ws.veTable);
  return CommandResult::done(true);
}

CommandResult calculateMapCommand(workspace::Workspace& ws, common::StatusLog& log) {
  if (!ws.rawDataMapPresent) {
    log.append(kNoRawMapLine);
    return CommandResult::refused();
  }
  if (ws.filteredMapOutdated()) log.append(kFilteredMapOutdatedLine);
  const CalculationReport report = calculateMap(ws.veTable, ws.rawMap, ws.filteredMap);
  ws.veTable.lowDensityMapPresent = true;
  log.append(report.fromFilteredMap ? kCalculatedFromFilteredLine : kCalculatedFromRawLine);
  if (!report.binsOutsideGrid.empty()) {
    log.append("Bins partly outside the data map (positions outside skipped): " +
               binList(ws.veTable, report.binsOutsideGrid));
  }
  if (const auto& kept = report.binsOutOfRange; !kept.empty()) {
    log.append(
        std::to_string(kept.size()) + (kept.size() == 1 ? " bin" : " bins") +
        " kept the old VE (neighbourhood mean outside 16 bits): " + binList(ws.veTable, kept));
  }
  return CommandResult::done(true);
}

FilterOptions filterOptionsFor(const workspace::Workspace& ws) {
  FilterOptions options;
  options.smoothingStep1 = ws.settings.bSpline;
  options.smoothingStep2 = ws.settings.bSpline2;
  options.twoStep = ws.settings.bSplineFilter == 2;
  const VeTable& table = ws.veTable;
  if (table.activeMap() > 0) {
    options.step1AxisFrom = table.mapBins[0];
    options.step1AxisTo = table.mapBins[static_cast<std::size_t>(table.activeMap() - 1)];
  }
  options.step2AxisFrom = 0;
  options.step2AxisTo = ws.settings.rpmMax / 100.0;
  return options;
}

CommandResult filterRawDatalogCommand(workspace::Workspace& ws, common::StatusLog& log,
                                      const FilterProgress& progress) {
  if (!ws.rawDataMapPresent) {
    log.append(kNoRawMapLine);
    return CommandResult::refused();
  }
  const FilterOutcome outcome =
      filterRawMap(ws.rawMap, filterOptionsFor(ws), ws.filteredMap, progress);
  if (!outcome.completed) return CommandResult::cancelled();
  ws.veTable.filteredMapPresent = true;
  ws.filteredFromRevision = ws.rawMapRevision;
  log.append(kFinishedPlottingLine);
  return CommandResult::done(true);
}

CommandResult scaleLdMapCommand(workspace::Workspace& ws, common::Prompts& prompts,
                                std::string_view oldPwText, std::string_view newPwText) {
  const ScaleOutcome outcome =
      scaleByPulseWidth(ws.veTable, cellTextNumber(oldPwText), cellTextNumber(newPwText));
  if (outcome == ScaleOutcome::Scaled) return CommandResult::done(true);
  const char* text = outcome == ScaleOutcome::ZeroPulseWidth ? kPulseWidthMessage : kVeRangeMessage;
  prompts.message(kTitle, text, common::MessageButtons::Ok, common::MessageIcon::Stop);
  return CommandResult::refused();
}

CommandResult targetAfrPreviewCommand(const workspace::Workspace& ws, common::Prompts& prompts,
                                      std::string_view baselineText,
                                      const std::array<std::string, kMaxBins>& targetTexts,
                                      AfrGrid& shown) {
  std::array<double, kMaxBins> targets{};
  for (std::size_t m = 0; m < targets.size(); ++m) targets[m] = cellTextNumber(targetTexts[m]);
  const AfrPreviewResult result =
      previewTargetAfr(ws.veTable, cellTextNumber(baselineText), targets, shown);
  if (result.outcome == AfrPreviewOutcome::InvalidBaseline) {
    prompts.message(kTitle, kBaselineAfrMessage, common::MessageButtons::Ok,
                    common::MessageIcon::None);
    return CommandResult::refused();
  }
  return CommandResult::done();
}

CommandResult targetAfrApplyCommand(workspace::Workspace& ws, common::Prompts& prompts,
                                    const AfrGrid& shown) {
  if (applyTargetAfr(ws.veTable, shown)) return CommandResult::done(true);
  prompts.message(kTitle, kVeRangeMessage, common::MessageButtons::Ok, common::MessageIcon::Stop);
  return CommandResult::refused();
}

}  // namespace tallimar::commands
