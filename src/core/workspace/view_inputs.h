// What the VE views read from the Workspace: the settings, the table and both fine maps.
#pragma once

#include "plot/ve_views.h"
#include "workspace/workspace.h"

namespace tallimar::workspace {

inline plot::VeViewInputs viewInputs(const Workspace& ws) {
  return {ws.settings, ws.veTable, ws.rawMap, ws.filteredMap};
}

}  // namespace tallimar::workspace
