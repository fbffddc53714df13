// The raw data map's revision: the commands that change the map count it up, and the status
// line that tells the user a filtered map was made from an older raw data map.
#pragma once

#include "common/status_log.h"
#include "workspace/workspace.h"

namespace tallimar::commands {

inline constexpr const char* kFilteredMapOutdatedLine =
    "Filtered map is older than the raw data map: filter again";

// After a command changed the raw data map: counts its revision up and, when a filtered map
// exists, adds kFilteredMapOutdatedLine.
inline void rawMapChanged(workspace::Workspace& workspace, common::StatusLog& status) {
  ++workspace.rawMapRevision;
  if (workspace.veTable.filteredMapPresent) status.append(kFilteredMapOutdatedLine);
}

}  // namespace tallimar::commands
