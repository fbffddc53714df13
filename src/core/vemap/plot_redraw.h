// What a VE table command asks the window to draw once it has finished.
#pragma once

namespace tallimar::vemap {

enum class PlotRedraw {
  None,               // the plot is left as it is
  RefreshPlotWindow,  // redraw the selected view, as "Refresh Plot Window" does
  LowDensityMap,      // draw the "Low Density Map" view
  FilteredDatalog,    // select and draw the "Filtered Datalog" view
};

// After a command that replaced table values: with a raw data map the selected view is
// refreshed, without one the table's own view is drawn.
inline PlotRedraw redrawAfterTableChange(bool rawDataMapPresent) {
  return rawDataMapPresent ? PlotRedraw::RefreshPlotWindow : PlotRedraw::LowDensityMap;
}

}  // namespace tallimar::vemap
