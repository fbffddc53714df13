// The VE table window's table commands, written against the Workspace and the interfaces.
#include "vemap/ve_map_commands.h"

#include "vemap/table_editing.h"

namespace tallimar::vemap {

namespace {
constexpr const char* kTitle = "Tallimar";
}

PlotRedraw clearLdMapCommand(workspace::Workspace& ws) {
  clear8x8Map(ws.veTable);
  return redrawAfterTableChange(ws.rawDataMapPresent);
}

CalculationReport calculateMapCommand(workspace::Workspace& ws, common::StatusLog& log) {
  if (!ws.rawDataMapPresent) {
    log.append(kNoRawMapLine);
    return {};
  }
  CalculationReport report = calculateMap(ws.veTable, ws.rawMap, ws.filteredMap);
  ws.veTable.lowDensityMapPresent = true;
  if (!report.binsOutsideGrid.empty()) {
    std::string line = "Bins partly outside the data map (positions outside skipped):";
    for (const auto& [r, m] : report.binsOutsideGrid) {
      line += " RPM " + std::to_string(ws.veTable.rpmBins[static_cast<std::size_t>(r)]) + "/MAP " +
              std::to_string(ws.veTable.mapBins[static_cast<std::size_t>(m)]);
    }
    log.append(line);
  }
  return report;
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

FilterOutcome filterRawDatalogCommand(workspace::Workspace& ws, common::StatusLog& log,
                                      const FilterProgress& progress) {
  if (!ws.rawDataMapPresent) {
    log.append(kNoRawMapLine);
    return {};
  }
  const FilterOutcome outcome =
      filterRawMap(ws.rawMap, filterOptionsFor(ws), ws.filteredMap, progress);
  if (outcome.completed) {
    ws.veTable.filteredMapPresent = true;
    log.append(kFinishedPlottingLine);
  }
  return outcome;
}

bool scaleLdMapCommand(workspace::Workspace& ws, common::Prompts& prompts,
                       std::string_view oldPwText, std::string_view newPwText) {
  const ScaleOutcome outcome =
      scaleByPulseWidth(ws.veTable, cellTextNumber(oldPwText), cellTextNumber(newPwText));
  if (outcome == ScaleOutcome::Scaled) return true;
  const char* text = outcome == ScaleOutcome::ZeroPulseWidth ? kPulseWidthMessage : kVeRangeMessage;
  prompts.message(kTitle, text, common::MessageButtons::Ok, common::MessageIcon::Stop);
  return false;
}

AfrPreviewResult targetAfrPreviewCommand(const workspace::Workspace& ws, common::Prompts& prompts,
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
  }
  return result;
}

bool targetAfrApplyCommand(workspace::Workspace& ws, common::Prompts& prompts,
                           const AfrGrid& shown) {
  if (applyTargetAfr(ws.veTable, shown)) return true;
  prompts.message(kTitle, kVeRangeMessage, common::MessageButtons::Ok, common::MessageIcon::Stop);
  return false;
}

}  // namespace tallimar::vemap
