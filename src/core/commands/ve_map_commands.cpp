// The VE table window's table commands, written against the Workspace and the interfaces.
#include "commands/ve_map_commands.h"

#include <string>
#include <utility>
#include <vector>

#include "vemap/map_calculation.h"
#include "vemap/table_editing.h"

namespace tallimar::commands {

using namespace vemap;

namespace {
constexpr const char* kTitle = "Tallimar";
constexpr std::size_t kBinsNamed = 4;

// "5 bins kept the old VE (...): RPM 500/MAP 20, ... and 1 more": the first few bins by
// their RPM and MAP, so the line stays short however many there are.
std::string keptBinsLine(const VeTable& table, const std::vector<std::pair<int, int>>& bins) {
  std::string line = std::to_string(bins.size()) + (bins.size() == 1 ? " bin" : " bins") +
                     " kept the old VE (neighbourhood mean outside 16 bits):";
  for (std::size_t i = 0; i < bins.size() && i < kBinsNamed; ++i) {
    const auto [r, m] = bins[i];
    line += std::string(i == 0 ? " " : ", ") + "RPM " +
            std::to_string(table.rpmBins[static_cast<std::size_t>(r)]) + "/MAP " +
            std::to_string(table.mapBins[static_cast<std::size_t>(m)]);
  }
  if (bins.size() > kBinsNamed)
    line += " and " + std::to_string(bins.size() - kBinsNamed) + " more";
  return line;
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
  const CalculationReport report = calculateMap(ws.veTable, ws.rawMap, ws.filteredMap);
  ws.veTable.lowDensityMapPresent = true;
  if (!report.binsOutsideGrid.empty()) {
    std::string line = "Bins partly outside the data map (positions outside skipped):";
    for (const auto& [r, m] : report.binsOutsideGrid) {
      line += " RPM " + std::to_string(ws.veTable.rpmBins[static_cast<std::size_t>(r)]) + "/MAP " +
              std::to_string(ws.veTable.mapBins[static_cast<std::size_t>(m)]);
    }
    log.append(line);
  }
  if (!report.binsOutOfRange.empty()) log.append(keptBinsLine(ws.veTable, report.binsOutOfRange));
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
