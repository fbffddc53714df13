// The VE table into an XML tune file (*.msq): "Save LD Map" when the user names a tune,
// and tallimar-batch --export-msq. The new tune is a copy of a base tune in which only the
// VE table and its two axes differ.
#pragma once

#include <string>
#include <string_view>

#include "commands/command_result.h"
#include "common/prompts.h"
#include "common/status_log.h"
#include "workspace/workspace.h"

namespace tallimar::commands {

inline constexpr const char* kBaseTuneTitle = "Choose Base Tune";
inline constexpr const char* kTuneFilter = "Tune File (*.msq)|*.msq";

// Whether the path names a tune file: it ends in ".msq", in any letter case.
bool isTunePath(std::string_view path);

// The question asked before the tune fileName is updated in place.
std::string updateTuneQuestion(const std::string& fileName);

// "Save LD Map" after the save dialog returned outPath, a tune. When outPath already is an
// XML tune holding a VE table, the user confirms (Yes/No) that its table is replaced and it
// is its own base; otherwise the user picks the base tune in an open dialog (starting in
// initialFolder). Then the new tune is written atomically: a status line names the
// constants written, then "Finished Exporting". A refused base, a table whose size is not
// the tune's, or a failed write logs the reason and "Export Failed" and leaves outPath as it
// was. A No or a cancelled dialog ends the command with nothing written and no line.
CommandResult saveLdMapToTune(const workspace::Workspace& ws, common::Prompts& prompts,
                              common::StatusLog& log, const std::string& outPath,
                              const std::string& initialFolder);

// The same without questions: "Exporting VE Map", then basePath's tune with the current VE
// table written to outPath (which may be basePath itself).
CommandResult exportVeMapToTune(const workspace::Workspace& ws, const std::string& basePath,
                                const std::string& outPath, common::StatusLog& log);

}  // namespace tallimar::commands
