// "Open LD Map" and "Save LD Map" of the VE table window, over the Workspace with dialogs
// through Prompts and status lines through StatusLog; the *File forms skip the dialogs for
// tallimar-batch.
#pragma once

#include <cstddef>
#include <string>

#include "commands/command_result.h"
#include "common/prompts.h"
#include "common/status_log.h"
#include "workspace/workspace.h"

namespace tallimar::commands {

inline constexpr std::size_t kMaxVeMapFileBytes = 16u << 20;  // larger files are refused

inline constexpr const char* kExportTitle = "Export VE Map";
inline constexpr const char* kExportFilter = "VE eXchange (*.vex)|*.vex|Tune File (*.msq)|*.msq";
inline constexpr const char* kExportPresetName = "Map Export.vex";
inline constexpr const char* kImportTitle = "Import VE Map";
inline constexpr const char* kImportFilter =
    "VEMap Exchange Protocol (*.vex)|*.vex|MegaTune Dump File (*.dmp)|*.dmp|"
    "MegaTune MSQ File (*.msq)|*.msq";
inline constexpr const char* kOverwriteQuestion =
    "8x8 VE Map already loaded, do you wish to overwrite the map? <No> to cancel";

// "Save LD Map": "Exporting VE Map", the save dialog (initial folder INCPath, or
// programFolder when INCPath is empty), then the file and "Finished Exporting", or
// "Export Failed" (after a line naming the reason) when the table cannot be written (Failed).
// Cancelling the dialog ends the command with nothing written and no further line. A chosen
// *.msq file gets the table written into a tune (saveLdMapToTune).
CommandResult saveLdMapCommand(const workspace::Workspace& ws, common::Prompts& prompts,
                               common::StatusLog& log, const std::string& programFolder = {});

// The same without the dialog. The file is replaced whole or not at all.
CommandResult exportVeMapFile(const workspace::Workspace& ws, const std::string& path,
                              common::StatusLog& log);

// "Open LD Map": with a table already present asks kOverwriteQuestion (Yes/No; No ends the
// command), logs "Importing MegaTune Dump File", shows the open dialog and reads the file by
// its ending (vex, dmp, msq; any other ending reads nothing; a *.msq file must be an XML
// tune holding a VE table, whose constants a status line names). On success the
// low-density-map-present flag is set and "Finished Loading" logged (Done, changed); the
// window then redisplays the table, updates the view choices and redraws
// (vemap::redrawAfterTableChange). A refused file logs the reason and "Loading Failed" and
// changes nothing (Failed); so does a cancelled question or dialog (Cancelled, no line).
CommandResult openLdMapCommand(workspace::Workspace& ws, common::Prompts& prompts,
                               common::StatusLog& log, const std::string& programFolder = {});

// The same without the question and the dialog. An exchange file's sizes also become the
// settings record's VESizeRPM / VESizeMAP (not saved to the store).
CommandResult importVeMapFile(workspace::Workspace& ws, const std::string& path,
                              common::StatusLog& log);

}  // namespace tallimar::commands
