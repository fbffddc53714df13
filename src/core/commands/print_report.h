// The print commands: "Print Raw Data Map" of the main window and "Print Current Plot"
// (`PrintPlot`) of the "Modify VE Map" window. Each fills one report page and sends it to
// the preview window or to a printer, as the "PrintPreview" setting chooses. They read the
// working data and change nothing.
#pragma once

#include <functional>
#include <string_view>

#include "commands/command_result.h"
#include "common/prompts.h"
#include "common/text_metrics.h"
#include "plot/report_page.h"
#include "plot/ve_views.h"
#include "settings/settings_store.h"
#include "workspace/workspace.h"

namespace tallimar::commands {

inline constexpr std::string_view kNothingToPrint = "Nothing to print";

// Lays the page out for a surface, with that surface's text metrics.
using ReportPageBuilder =
    std::function<plot::DrawList(const plot::ReportSurface&, const common::TextMetrics&)>;

enum class PrintOutcome {
  Printed,
  Cancelled,  // the print dialog was cancelled
  Failed,     // the printer could not take the page
};

// Where a report page goes: the program shows its `PrintPreview` window or asks for a
// printer; tests record what was asked.
class ReportOutput {
 public:
  virtual ~ReportOutput() = default;
  // Shows the page on the preview window, laid out for its size and font, and leaves it on
  // screen.
  virtual void preview(const ReportPageBuilder& page) = 0;
  // Asks for a printer (or a PDF file) and prints the page on it.
  virtual PrintOutcome print(const ReportPageBuilder& page) = 0;
};

// "Print Raw Data Map". Without a raw data map a message box says "Nothing to print" and
// neither the preview nor a printer is asked for (Refused). A cancelled print dialog or a
// printer failure ends the command without a word (Cancelled or Failed).
CommandResult PrintRawDataMap(const workspace::Workspace& ws, const settings::SettingsStore& store,
                              common::Prompts& prompts, ReportOutput& output);

// `PrintPlot` (view 0-5): the page of one view of the "Modify VE Map" window. A view whose
// data are missing (one the window does not offer) is refused with "Nothing to print".
CommandResult PrintPlot(const workspace::Workspace& ws, plot::VeView view,
                        const settings::SettingsStore& store, common::Prompts& prompts,
                        ReportOutput& output);

}  // namespace tallimar::commands
