// The main window's "VE Area Plot" `Pic`: the raw data map as a scatter of small boxes in
// the VE colours, x in hundreds of rev/min from RPMMin / 100, y from 0 at the top over
// MAPMax (MAP m at y = MAPMax - m).
#pragma once

#include <string_view>

#include "engine/raw_data_map.h"
#include "plot/draw_list.h"
#include "settings/settings.h"

namespace tallimar::plot {

inline constexpr double kPicWidthTwips = 4500;  // laid-out size of `Pic`
inline constexpr double kPicHeightTwips = 2500;

// Status lines the main window adds before and after drawing the plot.
inline constexpr std::string_view kPlottingO2Crossover = "Plotting O2 Crossover";

// The cleared, scaled `Pic` surface with no items (as start-up and clearing leave it).
DrawList rawMapSurface(const settings::Settings& settings);

// Every cell of RPM index j = 1..150 and MAP i = 1..256 (MAP outer, RPM inner) whose
// Average v is above 0 is a box in the VE colour of v from (j, MAPMax - i) to
// (j + (RPMMax - RPMMin) / 4500, MAPMax - i + MAPMax / 100): 1/45 of the plot wide and
// 1/100 high, hanging down from the cell's MAP. Cells outside the settings' range are
// still listed; they lie outside the surface and are not seen.
DrawList rawMapPlot(const engine::RawDataMap& map, const settings::Settings& settings);

}  // namespace tallimar::plot
