// The main window's commands that move the engine's results to and from disk:
// "Open Raw Data Map" (mnuOpenHighDensityMap), "Save Raw Data Map" (mnuSaveHighDensityMap)
// and "Save Crossover Points" (mnuSaveCrossover). Every file dialog starts in the program's
// folder (CommandOptions::programFolder). A cancelled dialog ends the command without
// touching any file or the map. A file is written through a temporary file that replaces the
// target only when it was written completely.
#pragma once

#include "commands/command_options.h"
#include "commands/command_result.h"
#include "common/prompts.h"
#include "common/status_log.h"
#include "engine/crossover_list.h"
#include "workspace/workspace.h"

namespace tallimar::commands {

// "Loading Raw Data Map", dialog "Open Raw Data Map" ("*.HDMAP"), then the file replaces the
// whole raw data map, "Loading Finished" and the raw-data-map-present flag is set (Done and
// changed: the caller redraws the plot). A file that cannot be read or is not exactly a raw data
// map adds "Loading Failed" and a line saying why, and leaves the map and the flag as they were
// (Failed). A cancelled dialog is Cancelled.
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

// "Clearing Crossover Array", every cell with RPM index 1..150 and MAP 1..256 emptied (value
// list empty, figures 0; cells with index 0 are kept), the raw-data-map-present flag reset,
// the crossover list emptied, "Finished Clearing Array". The crossover points are not
// touched. The caller clears the plot surface.
CommandResult clearRawDataMapCommand(workspace::Workspace& workspace, common::StatusLog& status,
                                     engine::CrossoverList& list);

}  // namespace tallimar::commands
