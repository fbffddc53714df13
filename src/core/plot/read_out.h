// The floating read-out `txtVEDisplay` of the VE plot surface ("View Mini Legend"): the value
// of the raw or filtered cell under the mouse with its MAP and RPM, and where it floats.
#pragma once

#include <optional>
#include <string>

#include "plot/draw_list.h"
#include "plot/ve_views.h"

namespace tallimar::plot {

// Read-out for the mouse at (x rev/min, y plot units) on the "Raw Datalog" or "Filtered
// Datalog" view; nullopt for the other views (the read-out keeps its last text). The cell is
// xr = x / 100 and mr = MAPMax - y, both rounded half to even; the text is
// "VE=" value CR LF "MAP=" mr CR LF "RPM=" 100 xr, numbers in their shortest decimal form.
// A position outside the data grid has no data and reads VE=0.
std::optional<std::string> readOutText(VeView view, const VeViewInputs& in, double x, double y);

// The read-out box itself: white, framed, its lines (split at CR LF) in "Courier New",
// sized in twips to hold three lines.
DrawList readOutDrawList(const std::string& text);

}  // namespace tallimar::plot
