// The "Open Datalog" command (mnuOpenDatalog): asks whether to append to a raw data map that
// is present, lets the user choose datalogs, and for each file in order reads it, finds its
// O2 crossover points and adds them to the raw data map.
#pragma once

#include "commands/command_options.h"
#include "commands/command_result.h"
#include "common/prompts.h"
#include "common/status_log.h"
#include "engine/crossover_list.h"
#include "workspace/workspace.h"

namespace tallimar::commands {

// The whole command, talking to the user through prompts, status lines and the crossover
// list (List1):
//  1. With a raw data map present, asks "High Density VE Array already loaded, do you wish to
//     append to the map? <No> to clear map, <Cancel> to cancel" (Yes/No/Cancel); No clears
//     the map, Cancel ends the command.
//  2. File dialog "Load Datalog", "*.xls" (and "*.msl"), several files, starting in the
//     settings' INCPath or, when that is empty, the program's folder. No file chosen ends the
//     command.
//  3. Empties the crossover list. With several files each gets "**** DataLog: <name> ****"
//     on the list and "Reading DataLog: <name>" in the status list first.
//  4. Each file: layout test and read ("Reading DataLog File (...)"), crossover detection
//     ("Finding O2 Crossover", a line per point, "<n> Crossover Points Found"), "DataLog
//     Entries Read: <n>", for a named-column log "Samples Read: <n> (running below RPMMin:
//     <n>)" and "Skipped: <n> (warm-up, cranking, after-start, enrichment), <n> gaps" (after
//     any line on how its end was cut), then the raw data map build.
//  5. Sets the datalog-present flag, and the raw-data-map-present flag when the last file
//     gave more than 10 points.
// A file that cannot be opened, or whose header is missing, shows "DataLog Read Failed"
// (and the header message), adds "DataLog Read Error" and a line naming the file, and leaves
// no crossover points; a file whose first line is not a datalog header adds a line naming
// the file, and so does a named-column log without a column it needs ("DataLog Read Error:
// <name> has no VE column (Gve, VE1 or VE)"); the command then goes on with the next file.
// A bad data line or a crossover point outside the map ends the command at once with a status
// line naming the file and the line; the points of the file are then not kept (the previous
// points stay).
//
// Done: every chosen file was taken in turn and the flags were updated; inputsRefused counts
// the files that could not be opened or are not datalogs. Cancelled: the append question or
// the file dialog was cancelled. Failed: a bad data line, a crossover point outside the map
// or a cancelled read ended the command early, leaving the remaining files unread and the
// flags as they were. changed: the raw data map changed (also when the command failed after
// changing it): redraw its plot.
CommandResult openDatalog(workspace::Workspace& workspace, common::Prompts& prompts,
                          common::StatusLog& status, engine::CrossoverList& list,
                          const CommandOptions& options = {});

}  // namespace tallimar::commands
