// The menu entries whose commands the program does not have yet ("Upload S19", "Export Raw
// Map", "Export Filtered Map", the "VE Map" entries): choosing one says so on the status
// list instead of doing nothing.
#pragma once

#include <string>
#include <string_view>

#include "commands/command_result.h"
#include "common/status_log.h"

namespace tallimar::commands {

// Adds "<command>: not available in this version" and is Refused; nothing changes.
inline CommandResult notAvailableCommand(std::string_view command, common::StatusLog& status) {
  status.append(std::string(command) + ": not available in this version");
  return CommandResult::refused();
}

}  // namespace tallimar::commands
