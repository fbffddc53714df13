// The main window's raw data map plot.
#include "plot/raw_map_plot.h"

#include "plot/colour_scale.h"

namespace tallimar::plot {

DrawList rawMapSurface(const settings::Settings& s) {
  DrawList list;
  list.widthTwips = kPicWidthTwips;
  list.heightTwips = kPicHeightTwips;
  list.scale = {s.rpmMin / 100.0, 0.0, (static_cast<double>(s.rpmMax) - s.rpmMin) / 100.0,
                static_cast<double>(s.mapMax)};
  return list;
}

DrawList rawMapPlot(const engine::RawDataMap& map, const settings::Settings& s) {
  DrawList list = rawMapSurface(s);
  const double mapMax = s.mapMax;
  const double boxWidth = (static_cast<double>(s.rpmMax) - s.rpmMin) / 4500.0;
  const double boxHeight = mapMax / 100.0;
  // One pass to count, so that the list is allocated once: growing a list of many
  // thousand items step by step costs more than filling it.
  std::size_t boxes = 0;
  for (int i = 1; i < engine::kRawMapCells; ++i)
    for (int j = 1; j < engine::kRawRpmCells; ++j) boxes += map.at(j, i).average > 0 ? 1 : 0;
  list.items.reserve(boxes);
  for (int i = 1; i < engine::kRawMapCells; ++i)
    for (int j = 1; j < engine::kRawRpmCells; ++j) {
      const int v = map.at(j, i).average;
      if (v > 0)
        list.add(Box{static_cast<double>(j), mapMax - i, j + boxWidth, mapMax - i + boxHeight,
                     veColour(v)});
    }
  return list;
}

}  // namespace tallimar::plot
