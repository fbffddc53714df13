// The print commands.
#include "commands/print_report.h"

#include <string>

#include "settings/settings_io.h"
#include "vemap/table_editing.h"
#include "workspace/view_inputs.h"

namespace tallimar::commands {

namespace {

constexpr const char* kTitle = "Tallimar";

CommandResult refuse(common::Prompts& prompts) {
  prompts.message(kTitle, std::string(kNothingToPrint), common::MessageButtons::Ok,
                  common::MessageIcon::None);
  return CommandResult::refused();
}

CommandResult send(const settings::SettingsStore& store, ReportOutput& output,
                   const ReportPageBuilder& page) {
  if (settings::readPrintPreview(store)) {
    output.preview(page);
    return CommandResult::done();
  }
  switch (output.print(page)) {
    case PrintOutcome::Printed:
      return CommandResult::done();
    case PrintOutcome::Cancelled:
      return CommandResult::cancelled();
    case PrintOutcome::Failed:
      break;
  }
  return CommandResult::failed();
}

}  // namespace

CommandResult PrintRawDataMap(const workspace::Workspace& ws, const settings::SettingsStore& store,
                              common::Prompts& prompts, ReportOutput& output) {
  if (!ws.rawDataMapPresent) return refuse(prompts);
  return send(store, output,
              [&ws](const plot::ReportSurface& surface, const common::TextMetrics& metrics) {
                return plot::rawMapReportPage(ws.rawMap, ws.settings, surface, metrics);
              });
}

CommandResult PrintPlot(const workspace::Workspace& ws, plot::VeView view,
                        const settings::SettingsStore& store, common::Prompts& prompts,
                        ReportOutput& output) {
  const int index = static_cast<int>(view);
  const auto offered = vemap::vePlotViewButtons(ws.veTable, ws.rawDataMapPresent).views;
  if (index < 0 || index >= plot::kVeViewCount || !offered[static_cast<std::size_t>(index)])
    return refuse(prompts);
  return send(store, output,
              [&ws, view](const plot::ReportSurface& surface, const common::TextMetrics& metrics) {
                return plot::reportPage(view, workspace::viewInputs(ws), surface, metrics);
              });
}

}  // namespace tallimar::commands
