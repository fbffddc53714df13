// The six views of the VE plot surface.
#include "plot/ve_views.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "common/number_text.h"
#include "plot/colour_scale.h"
#include "plot/ve_lookup.h"

namespace tallimar::plot {

namespace {

constexpr Rgb kBlack{0, 0, 0};

// Bins in use on an axis; sizes outside 1..16 never index outside the bin arrays.
int activeBins(std::int16_t size) { return std::clamp<int>(size, 1, vemap::kMaxBins); }

std::int16_t lastBin(const std::array<std::int16_t, vemap::kMaxBins>& bins, std::int16_t size) {
  return bins[static_cast<std::size_t>(activeBins(size) - 1)];
}

double mapMax(const settings::Settings& s) { return s.mapMax; }

// The samples of views 0, 3 and 4 whose box (of the given height) could be seen on the
// surface: rpm from RPM bin 0 every `step`, and every kPa from MAP bin 0, both up to the
// last active bin.
struct SampleGrid {
  int rpmFirst = 0, rpmLast = -1, step = 1, mapFirst = 0, mapLast = -1;

  std::size_t count() const {
    if (rpmFirst > rpmLast || mapFirst > mapLast) return 0;
    return static_cast<std::size_t>((rpmLast - rpmFirst) / step + 1) *
           static_cast<std::size_t>(mapLast - mapFirst + 1);
  }
  template <class Visit>
  void forEach(Visit visit) const {  // rpm outer, map inner
    for (int rpm = rpmFirst; rpm <= rpmLast; rpm += step)
      for (int map = mapFirst; map <= mapLast; ++map)
        visit(static_cast<double>(rpm), static_cast<double>(map));
  }
};

SampleGrid visibleSamples(const VeViewInputs& in, double boxHeight) {
  const auto& s = in.settings;
  const auto& t = in.table;
  const double w = pointBoxWidth(s);
  const double xLow = std::min<double>(s.rpmMin, s.rpmMax);
  const double xHigh = std::max<double>(s.rpmMin, s.rpmMax);
  const double yLow = std::min(0.0, mapMax(s));
  const double yHigh = std::max(0.0, mapMax(s));
  // A sample's box spans x in [rpm, rpm + w] and y in [MAPMax - map - h, MAPMax - map].
  const double rpmFrom = xLow - std::max(w, 0.0);
  const double rpmTo = xHigh - std::min(w, 0.0);
  const double mapFrom = mapMax(s) - boxHeight - yHigh;
  const double mapTo = mapMax(s) - yLow;
  // Bins and settings are 16-bit, so every bound below is a small whole number.
  const auto wholeAtLeast = [](double v) {
    return static_cast<int>(std::clamp(std::ceil(v), -1e6, 1e6));
  };
  const auto wholeAtMost = [](double v) {
    return static_cast<int>(std::clamp(std::floor(v), -1e6, 1e6));
  };
  SampleGrid grid;
  grid.step = samplingStep(s);
  grid.rpmFirst = t.rpmBins[0];
  const int lowestVisible = wholeAtLeast(rpmFrom);
  if (grid.rpmFirst < lowestVisible)
    grid.rpmFirst += (lowestVisible - grid.rpmFirst + grid.step - 1) / grid.step * grid.step;
  grid.rpmLast = std::min<int>(lastBin(t.rpmBins, t.sizeRpm), wholeAtMost(rpmTo));
  grid.mapFirst = std::max<int>(t.mapBins[0], wholeAtLeast(mapFrom));
  grid.mapLast = std::min<int>(lastBin(t.mapBins, t.sizeMap), wholeAtMost(mapTo));
  return grid;
}

// Room for the boxes of up to `boxes` points and the bin lines: the lists are large, and
// growing them step by step costs more than building them.
void reserveFor(DrawList& list, std::size_t boxes) {
  constexpr auto kMostWorthReserving =
      static_cast<std::size_t>(2 * (engine::kRawRpmCells - 1) * (engine::kRawMapCells - 1));
  list.items.reserve(std::min(boxes, kMostWorthReserving) + 2 * vemap::kMaxBins);
}

// The views 3 and 4 compare the table with a data cell at (rpm / 100 rounded, map); a
// position outside the grid holds no data.
template <class CellValue>
double dataAt(double rpm, double map, CellValue cellValue) {
  const double rpmIndex = common::roundHalfEven(rpm / 100.0);
  if (!(rpmIndex >= 0 && rpmIndex < engine::kRawRpmCells && map >= 0 && map < engine::kRawMapCells))
    return 0.0;
  return cellValue(static_cast<int>(rpmIndex), static_cast<int>(map));
}

template <class CellValue>
ViewPlot plotTableDelta(const VeViewInputs& in, CellValue cellValue) {
  ViewPlot out{veSurface(in.settings), {std::string(kPlottingVeMap)}};
  const double w = pointBoxWidth(in.settings);
  const double top = mapMax(in.settings);
  const SampleGrid grid = visibleSamples(in, 1.0);
  reserveFor(out.drawing, grid.count());
  grid.forEach([&](double rpm, double map) {
    const double v = dataAt(rpm, map, cellValue);
    if (!(v > 0)) return;
    const double d = LookupVE(in.table, map, rpm) - v;
    const Rgb colour = d == 0 ? kBlack : veDeltaColour(d);
    out.drawing.add(Box{rpm, top - map, rpm + w, top - map - 1, colour});
  });
  DrawBinLines(out.drawing, in.table, in.settings);
  out.statusLines.emplace_back(kFinishedPlotting);
  return out;
}

// Views 1, 2 and 5: one box per cell, MAP outer and RPM inner, colour chosen per cell
// (or no box when the colour function says so).
template <class CellColour>
ViewPlot plotEveryCell(const VeViewInputs& in, CellColour cellColour) {
  ViewPlot out{veSurface(in.settings), {}};
  Rgb colour;
  std::size_t boxes = 0;
  for (int i = 1; i < engine::kRawMapCells; ++i)
    for (int j = 1; j < engine::kRawRpmCells; ++j) boxes += cellColour(j, i, colour) ? 1 : 0;
  reserveFor(out.drawing, boxes);
  for (int i = 1; i < engine::kRawMapCells; ++i)
    for (int j = 1; j < engine::kRawRpmCells; ++j)
      if (cellColour(j, i, colour))
        out.drawing.add(dataPointBox(in.settings, 100.0 * j, i, colour));
  DrawBinLines(out.drawing, in.table, in.settings);
  out.statusLines.emplace_back(kFinishedPlotting);
  return out;
}

}  // namespace

std::string_view veViewCaption(VeView view) {
  static constexpr std::array<std::string_view, kVeViewCount> kCaptions{
      "Low Density Map", "Raw Datalog",        "Filtered Datalog",
      "Raw/Low Delta",   "Filtered/Low Delta", "Filtered/Raw Delta"};
  return kCaptions[static_cast<std::size_t>(
      std::clamp(static_cast<int>(view), 0, kVeViewCount - 1))];
}

std::optional<VeView> veViewFromName(std::string_view name) {
  static constexpr std::array<std::string_view, kVeViewCount> kNames{
      "low", "raw", "filtered", "raw-low", "filtered-low", "filtered-raw"};
  for (std::size_t k = 0; k < kNames.size(); ++k)
    if (kNames[k] == name) return static_cast<VeView>(k);
  return std::nullopt;
}

DrawList veSurface(const settings::Settings& s) {
  DrawList list;
  list.widthTwips = kPicCalcWidthTwips;
  list.heightTwips = kPicCalcHeightTwips;
  list.scale = {static_cast<double>(s.rpmMin), 0.0, static_cast<double>(s.rpmMax) - s.rpmMin,
                mapMax(s)};
  return list;
}

double pointBoxWidth(const settings::Settings& s) {
  return (static_cast<double>(s.rpmMax) - s.rpmMin) / 50.0;
}

int samplingStep(const settings::Settings& s) {
  const double step = common::roundHalfEven((static_cast<double>(s.rpmMax) - s.rpmMin) / 256.0);
  return std::max(1, static_cast<int>(step));
}

Box dataPointBox(const settings::Settings& s, double rpm, double map, Rgb fill) {
  const double top = mapMax(s);
  return Box{rpm, top - map, rpm + pointBoxWidth(s), top - map - 1, fill};
}

void DrawBinLines(DrawList& surface, const vemap::VeTable& t, const settings::Settings& s) {
  const double top = mapMax(s);
  const int mapCount = std::clamp<int>(t.sizeMap, 0, vemap::kMaxBins);
  const int rpmCount = std::clamp<int>(t.sizeRpm, 0, vemap::kMaxBins);
  for (int k = 0; k < mapCount; ++k) {
    const double y = top - t.mapBins[static_cast<std::size_t>(k)];
    surface.add(Line{0.0, y, static_cast<double>(s.rpmMax), y, kBlack, 1, PenMode::MergePenNot});
  }
  for (int k = 0; k < rpmCount; ++k) {
    const double x = t.rpmBins[static_cast<std::size_t>(k)];
    surface.add(Line{x, 0.0, x, top, kBlack, 1, PenMode::MergePenNot});
  }
}

ViewPlot PlotLowDensityMap(const VeViewInputs& in) {
  ViewPlot out{veSurface(in.settings), {std::string(kPlottingVeMap)}};
  const auto& t = in.table;
  if (t.mapBins[0] == 0 && lastBin(t.mapBins, t.sizeMap) == 0) {
    out.statusLines.emplace_back(kNoMapToPlot);
    return out;
  }
  const double w = pointBoxWidth(in.settings);
  const double top = mapMax(in.settings);
  const SampleGrid grid = visibleSamples(in, 2.0);
  reserveFor(out.drawing, grid.count());
  grid.forEach([&](double rpm, double map) {
    const double v = LookupVE(t, map, rpm);
    if (v > 0) out.drawing.add(Box{rpm, top - map, rpm + w, top - map - 2, veColour(v)});
  });
  DrawBinLines(out.drawing, t, in.settings);
  out.statusLines.emplace_back(kFinishedPlotting);
  return out;
}

ViewPlot PlotRawMap(const VeViewInputs& in) {
  return plotEveryCell(in, [&](int j, int i, Rgb& colour) {
    const double v = in.raw.at(j, i).average;
    colour = veColour(v);
    return v > 0;
  });
}

ViewPlot PlotFilteredMap(const VeViewInputs& in) {
  return plotEveryCell(in, [&](int j, int i, Rgb& colour) {
    const double v = in.filtered.at(j, i);
    colour = veColour(v);
    return v > 0;
  });
}

ViewPlot PlotRawLowDelta(const VeViewInputs& in) {
  return plotTableDelta(in, [&](int j, int i) -> double { return in.raw.at(j, i).average; });
}

ViewPlot PlotFilteredLowDelta(const VeViewInputs& in) {
  return plotTableDelta(in, [&](int j, int i) -> double { return in.filtered.at(j, i); });
}

ViewPlot PlotFilteredRawDelta(const VeViewInputs& in) {
  return plotEveryCell(in, [&](int j, int i, Rgb& colour) {
    const double r = in.raw.at(j, i).average;
    const double f = in.filtered.at(j, i);
    if (r == 0 && f == 0) return false;
    // A cell that only one of the maps has is marked black: there is nothing to compare.
    colour = (r == 0) != (f == 0) ? kBlack : veDeltaColour(f - r);
    return true;
  });
}

ViewPlot plotVeView(VeView view, const VeViewInputs& in) {
  switch (view) {
    case VeView::LowDensityMap:
      return PlotLowDensityMap(in);
    case VeView::RawDatalog:
      return PlotRawMap(in);
    case VeView::FilteredDatalog:
      return PlotFilteredMap(in);
    case VeView::RawLowDelta:
      return PlotRawLowDelta(in);
    case VeView::FilteredLowDelta:
      return PlotFilteredLowDelta(in);
    case VeView::FilteredRawDelta:
      return PlotFilteredRawDelta(in);
  }
  return ViewPlot{veSurface(in.settings), {}};
}

}  // namespace tallimar::plot
