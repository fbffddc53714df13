// The report page: every printed or previewed output of the program is one page, 5100 page
// units wide and 6600 high (y downwards), with a title and its rule at the top, an upper
// half whose content depends on the command, the heading "Chromatic VE Plot" at mid-page, a
// chromatic plot with an eleven-row legend in the lower half, and a footer with the time and
// date. The page is one DrawList, laid out with the surface's own text metrics, so the
// preview window, the printer and a PDF file all paint the same list.
#pragma once

#include <string>
#include <string_view>

#include "common/text_metrics.h"
#include "engine/raw_data_map.h"
#include "plot/draw_list.h"
#include "plot/legend.h"
#include "plot/ve_views.h"
#include "settings/settings.h"

namespace tallimar::plot {

inline constexpr double kReportPageWidth = 5100;   // page units across the page
inline constexpr double kReportPageHeight = 6600;  // page units down the page
inline constexpr std::string_view kReportFont = "Courier New";
inline constexpr std::string_view kChromaticVePlot = "Chromatic VE Plot";
inline constexpr std::string_view kHighDensityVeMap = "High Density VE Map";
inline constexpr std::string_view kReportFooterText = "Tallimar VE Table Tuner ";

// The preview window has the shape of a letter page (8.5 x 11 inches) and writes at 6
// points; a printer page writes at 8 points.
inline constexpr double kPreviewWidthTwips = 6800;
inline constexpr double kPreviewHeightTwips = 6800.0 * 11.0 / 8.5;  // 8800
inline constexpr double kPreviewPointSize = 6;
inline constexpr double kPrinterPointSize = 8;

// The surface a page is laid out for: its size, the page font's size, and the time and date
// the footer shows (in the platform's short formats, supplied by whoever prints).
struct ReportSurface {
  double widthTwips = kPreviewWidthTwips;
  double heightTwips = kPreviewHeightTwips;
  double pointSize = kPreviewPointSize;
  std::string time;
  std::string date;
};

// The plot area of the lower half, in page units: x from 0.05 to 0.8 of the width, y from
// 0.5125 to 0.9125 of the height. Plot content is kept inside it, so that data beyond the
// plotted range never runs over the legend, the axis labels or the footer.
struct PlotArea {
  double left = 0.05 * kReportPageWidth;
  double top = 0.5125 * kReportPageHeight;
  double width = 0.75 * kReportPageWidth;
  double height = 0.4 * kReportPageHeight;
  double right() const { return left + width; }
  double bottom() const { return top + height; }
};

// "8x8 VE Map", "Raw Data Map", "Filtered Data Map", "Raw/Low Density Delta Map",
// "Filtered/Low Density Delta Map", "Filtered/Raw Delta Map".
std::string_view reportTitle(VeView view);

// The step in rev/min between the sampled columns of the printed table views (0, 3, 4):
// (last active RPM bin - RPM bin 0) / 500 rounded to a whole number, halves to even, and at
// least 1 so that sampling always moves on.
int reportSamplingStep(const vemap::VeTable& table);

// `PrintPlot`: the page of one view of the "Modify VE Map" window. The upper half shows the
// table's first eight RPM and MAP bins and their 8 x 8 values whatever the table's active
// size; the plot is scaled from 0 to RPM bin 7 and MAP bin 7, with the active bins as lines.
DrawList reportPage(VeView view, const VeViewInputs& in, const ReportSurface& surface,
                    const common::TextMetrics& metrics);

// The raw data map's page ("Print Raw Data Map"): title "High Density VE Map", an empty
// upper half, every cell with data as a box in its VE colour over 0..RPMMax x 0..MAPMax, and
// eleven grid lines per axis at tenths of the settings' range.
DrawList rawMapReportPage(const engine::RawDataMap& map, const settings::Settings& settings,
                          const ReportSurface& surface, const common::TextMetrics& metrics);

}  // namespace tallimar::plot
