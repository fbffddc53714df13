// The six chromatic views of the "Modify VE Map" window's plot surface `PicCalc`: the
// low-density VE table, the raw and the filtered data map, and three differences between
// them, each as a DrawList with the status lines the window shows while it draws.
//
// The surface is scaled in rev/min from "RPMMin" (left edge) over "RPMMax" - "RPMMin", and
// from 0 at the top over "MAPMax" kPa, MAP rising upwards (MAP m at y = MAPMax - m). Every
// point is a filled box (RPMMax - RPMMin) / 50 wide in a colour of the VE scale (views 0-2)
// or of the VE delta scale (views 3-5); the bin lines of the table are drawn over each view.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/raw_data_map.h"
#include "plot/draw_list.h"
#include "settings/settings.h"
#include "vemap/filtered_map.h"
#include "vemap/ve_table.h"

namespace tallimar::plot {

enum class VeView {
  LowDensityMap = 0,
  RawDatalog = 1,
  FilteredDatalog = 2,
  RawLowDelta = 3,
  FilteredLowDelta = 4,
  FilteredRawDelta = 5,
};
inline constexpr int kVeViewCount = 6;

// "Low Density Map", "Raw Datalog", ... "Filtered/Raw Delta": the view choices' captions.
std::string_view veViewCaption(VeView view);
// The short names of the views on a command line: "low", "raw", "filtered", "raw-low",
// "filtered-low", "filtered-raw"; nullopt for any other text.
std::optional<VeView> veViewFromName(std::string_view name);
// Views 3-5 show differences and take the delta legend; views 0-2 the VE legend.
constexpr bool showsDelta(VeView view) { return static_cast<int>(view) >= 3; }

inline constexpr double kPicCalcWidthTwips = 5235;  // laid-out size of `PicCalc`
inline constexpr double kPicCalcHeightTwips = 2655;

inline constexpr std::string_view kPlottingVeMap = "Plotting VE Map";
inline constexpr std::string_view kNoMapToPlot = "No Map to Plot";
inline constexpr std::string_view kFinishedPlotting = "Finished Plotting";

// What a view reads; nothing is changed.
struct VeViewInputs {
  const settings::Settings& settings;
  const vemap::VeTable& table;
  const engine::RawDataMap& raw;
  const vemap::FilteredMap& filtered;
};

struct ViewPlot {
  DrawList drawing;
  std::vector<std::string> statusLines;  // in the order the window adds them
};

// The cleared, scaled `PicCalc` surface with no items.
DrawList veSurface(const settings::Settings& settings);
// Width of one point's box in rev/min: (RPMMax - RPMMin) / 50.
double pointBoxWidth(const settings::Settings& settings);
// Step in rev/min between the sampled columns of views 0, 3 and 4: (RPMMax - RPMMin) / 256
// rounded to a whole number, halves to even, and at least 1 so that sampling always moves on.
int samplingStep(const settings::Settings& settings);
// The box of one raw or filtered cell (or one filtering curve point) at rpm rev/min and
// map kPa: from (rpm, MAPMax - map) to (rpm + width, MAPMax - map - 1).
Box dataPointBox(const settings::Settings& settings, double rpm, double map, Rgb fill);

// The table's bin grid: for each active MAP bin a line across the surface at its MAP, for
// each active RPM bin a line from top to bottom, black in merge-pen-not mode (so they show
// black on white and inverted over the coloured boxes).
void DrawBinLines(DrawList& surface, const vemap::VeTable& table,
                  const settings::Settings& settings);

// The six views. Views 0, 3 and 4 sample the table with `LookupVE` from RPM bin 0 to the
// last active RPM bin every `samplingStep` rev/min and from MAP bin 0 to the last active MAP
// bin every 1 kPa; samples whose box would lie wholly outside the surface are left out, so
// that even wild bins cost no more than the visible area. Views 1, 2 and 5 visit every
// cell of RPM index 1..150 and MAP 1..256.
ViewPlot PlotLowDensityMap(const VeViewInputs& in);
ViewPlot PlotRawMap(const VeViewInputs& in);
ViewPlot PlotFilteredMap(const VeViewInputs& in);
ViewPlot PlotRawLowDelta(const VeViewInputs& in);
ViewPlot PlotFilteredLowDelta(const VeViewInputs& in);
ViewPlot PlotFilteredRawDelta(const VeViewInputs& in);
ViewPlot plotVeView(VeView view, const VeViewInputs& in);

}  // namespace tallimar::plot
