// The main window's commands that move the engine's results to and from disk:
// "Open Raw Data Map" (mnuOpenHighDensityMap), "Save Raw Data Map" (mnuSaveHighDensityMap)
// and "Save Crossover Points" (mnuSaveCrossover). Every file dialog starts in the program's
// folder (CommandOptions::programFolder). A cancelled dialog ends the command without
// touching any file or the map. A file is written through a temporary file that replaces the
// target only when it was written completely.
#pragma once

#include "common/prompts.h"
#include "common/status_log.h"
#include "files/command_options.h"

namespace tallimar::workspace {
struct Workspace;
}

namespace tallimar::files {

// "Loading Raw Data Map", dialog "Open Raw Data Map" ("*.HDMAP"), then the file replaces the
// whole raw data map, "Loading Finished" and the raw-data-map-present flag is set (Done: the
// caller redraws the plot). A file that cannot be read or is not exactly a raw data map adds
// "Loading Failed" and a line saying why, and leaves the map and the flag as they were.
CommandResult openRawDataMap(workspace::Workspace& workspace, common::Prompts& prompts,
                             common::StatusLog& status, const CommandOptions& options = {});

// Without a raw data map present: the box "Nothing to save" (Refused). Otherwise "Saving Raw
// Data Map", dialog "Save Raw Data Map" with the preset name "Raw Data Map at <O2Transfer>
// Volts.HDMAP", the file, "Finished Saving". A failure adds "Save Failed" and a line saying
// why; a cell whose value list is longer than the file format allows (65,535 bytes) refuses
// the save that way, naming the cell, before any file is written.
CommandResult saveRawDataMap(workspace::Workspace& workspace, common::Prompts& prompts,
                             common::StatusLog& status, const CommandOptions& options = {});

// Without a datalog read and without a raw data map: the box "Nothing to save, open a
// datalog or high density map first" (Refused). Otherwise "Saving Crossover Point List",
// dialog "Save Crossover Points" with the preset name "TransferPoints at <O2Transfer>
// Volts.xls", the export, "Finished Saving"; a failure adds "Save Failed" and a line why.
CommandResult saveCrossoverPoints(workspace::Workspace& workspace, common::Prompts& prompts,
                                  common::StatusLog& status, const CommandOptions& options = {});

}  // namespace tallimar::files
