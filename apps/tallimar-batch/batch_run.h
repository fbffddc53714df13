// tallimar-batch without a window: the same core commands the main window runs ("Open Raw
// Data Map", "Open Datalog", "Save Raw Data Map", "Save Crossover Points"), answered from the
// command line.
#pragma once

#include <iosfwd>
#include <span>
#include <string>

namespace tallimar::batch {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;  // a read or save failed or was refused
inline constexpr int kExitUsage = 2;

// Runs the commands of the arguments (without the program name) in this order, each only
// when asked for: --open-hdmap, the datalogs (one "Open Datalog" over all of them, the
// append question answered Yes), --save-hdmap, --save-crossovers, then the VE table steps
// --ecu-read, --import-ve, --clear-ve, --filter, --calculate, --ecu-send or --ecu-burn,
// --export-ve, each --plot, --plot-main. The first command that
// fails or is refused ends the run with kExitFailed; a datalog that is refused counts, so
// nothing is saved from a partial set of datalogs. Status lines go to `err` one per line as
// the status list shows them, message boxes as "Message: <text>"; with --list the crossover
// list lines go to `out`.
int runBatch(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);

}  // namespace tallimar::batch
