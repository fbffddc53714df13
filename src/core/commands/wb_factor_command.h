// "Create Table" of the wide-band factor creator: the calibration rows into the file
// "diywbfactor.inc" in the program's own folder.
#pragma once

#include <string>
#include <vector>

#include "commands/command_result.h"
#include "common/prompts.h"
#include "tools/wb_factor_table.h"

namespace tallimar::commands {

// Makes the table from the used rows and writes it atomically to
// programFolder/diywbfactor.inc, replacing any older file only once the new one is complete.
// Talks to the user in message boxes titled "Tallimar":
// - fewer than 6 used rows: "Not Enough Data Points" (no icon), Refused;
// - a calibration checkWbPoints refuses: its reason (stop icon), Refused;
// - the file cannot be written: its path and the reason (stop icon), Failed;
// - written: where, and, when that folder is not incPath, that the factor tables are loaded
//   from incPath (information icon), Done.
CommandResult createWbFactorTable(const std::vector<tools::WbRow>& rows,
                                  const std::string& programFolder, const std::string& incPath,
                                  common::Prompts& prompts);

// Whether two folder texts name the same folder (the same existing folder, or the same
// text apart from trailing separators when either does not exist).
bool sameFolder(const std::string& a, const std::string& b);

}  // namespace tallimar::commands
