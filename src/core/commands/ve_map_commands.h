// The commands of the "Modify VE Map" window that work on the VE table and the fine maps,
// over the Workspace, with dialogs through Prompts and status lines through StatusLog, so
// the window, tallimar-batch and the tests run the same code.
//
// A command changes the Workspace, reports what the user sees, and returns whether the table
// or a map changed. Redisplaying the grid (`Display8x8Map`), updating the view choices
// (`VEPlotViewButtons`, see table_editing.h) and redrawing the plot
// (vemap::redrawAfterTableChange) after a command are left to the window.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "commands/command_result.h"
#include "common/prompts.h"
#include "common/status_log.h"
#include "vemap/map_tools.h"
#include "vemap/raw_filter.h"
#include "workspace/workspace.h"

namespace tallimar::commands {

inline constexpr const char* kNoRawMapLine = "No raw data map loaded";
inline constexpr const char* kFinishedPlottingLine = "Finished Plotting";
inline constexpr const char* kCalculatedFromRawLine = "Map Calculated from the Raw Data Map";
inline constexpr const char* kCalculatedFromFilteredLine = "Map Calculated from the Filtered Map";

// "Clear LD Map": zeroes the active VE values and clears the low-density-map-present flag.
CommandResult clearLdMapCommand(workspace::Workspace& ws);

// "Calculate Map": recomputes the active VE values from the filtered data map (once filtering
// has run) or the raw data map and sets the low-density-map-present flag; the plot is not
// redrawn. Without a raw data map it changes nothing, logs kNoRawMapLine and is Refused. A
// line names the map it read (kCalculatedFromRawLine or kCalculatedFromFilteredLine), after
// kFilteredMapOutdatedLine when the filtered map was made from an older raw data map. Bins
// with neighbourhood positions outside the fine grid are named (the first few, RPM and MAP,
// and the count of the rest) in one status line.
CommandResult calculateMapCommand(workspace::Workspace& ws, common::StatusLog& log);

// The filter settings of the Workspace: "BSpline", "BSpline2", "BSplineFilter", and the
// preview ranges (active MAP bins; 0 to RPMMax / 100).
vemap::FilterOptions filterOptionsFor(const workspace::Workspace& ws);

// "Filter Raw Datalog": rebuilds the filtered data map, sets the filtered-map-present flag
// and logs "Finished Plotting"; the window then selects and draws "Filtered Datalog" and
// enables "Best-Fit RPM/MAP Bins". Without a raw data map (Refused, kNoRawMapLine logged),
// or when progress stops it (Cancelled), nothing changes.
CommandResult filterRawDatalogCommand(workspace::Workspace& ws, common::StatusLog& log,
                                      const vemap::FilterProgress& progress = {});

// "Scale VE" "OK" with the texts of "Old PW Value:" and "New PW Value:". A zero width shows
// "Value must be greater than 0" (stop icon), a result outside 16 bits kVeRangeMessage;
// both leave the table and the dialog as they are (Refused). When Done the window redisplays
// the table, refreshes the plot and closes the dialog.
CommandResult scaleLdMapCommand(workspace::Workspace& ws, common::Prompts& prompts,
                                std::string_view oldPwText, std::string_view newPwText);

// One preview run of "Modify VE Map with AFR's" from the texts of "Baseline AFR:" and the
// sixteen row targets, into the dialog's grid. An invalid baseline shows
// "Invalid Value for Baseline AFR" (no icon) and is Refused; the table never changes.
CommandResult targetAfrPreviewCommand(const workspace::Workspace& ws, common::Prompts& prompts,
                                      std::string_view baselineText,
                                      const std::array<std::string, vemap::kMaxBins>& targetTexts,
                                      vemap::AfrGrid& shown);

// Its "OK": copies the grid into the active corner. A number outside 16 bits shows
// kVeRangeMessage (stop icon), writes nothing and is Refused.
CommandResult targetAfrApplyCommand(workspace::Workspace& ws, common::Prompts& prompts,
                                    const vemap::AfrGrid& shown);

}  // namespace tallimar::commands
