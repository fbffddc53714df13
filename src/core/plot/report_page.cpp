// The report page and its two fillings: one view of the VE plot window, or the raw data map.
#include "plot/report_page.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <optional>

#include "common/number_text.h"
#include "plot/colour_scale.h"
#include "plot/ve_lookup.h"

namespace tallimar::plot {

namespace {

constexpr double SW = kReportPageWidth;
constexpr double SH = kReportPageHeight;
constexpr Rgb kBlack{0, 0, 0};
constexpr double kThinLine = 1;  // line widths, pixels of the laid-out surface
constexpr double kThickLine = 2;

// Writes on the page in page units; texts are measured in the page font of the surface and
// placed by their top-left corner.
class PageWriter {
 public:
  PageWriter(const ReportSurface& surface, const common::TextMetrics& metrics)
      : m_metrics(metrics), m_surface(surface) {
    m_font.family = std::string(kReportFont);
    m_font.pointSize = surface.pointSize;
    m_page.widthTwips = surface.widthTwips;
    m_page.heightTwips = surface.heightTwips;
    m_page.scale = {0, 0, SW, SH};
    m_unitsPerTwipX = surface.widthTwips > 0 ? SW / surface.widthTwips : 0;
    m_unitsPerTwipY = surface.heightTwips > 0 ? SH / surface.heightTwips : 0;
  }

  double width(const std::string& text) const {
    return m_metrics.widthTwips(text, m_font) * m_unitsPerTwipX;
  }
  double height() const { return m_metrics.heightTwips(m_font) * m_unitsPerTwipY; }

  void text(double left, double top, std::string words) {
    Text t{left, top, std::move(words), kBlack};
    t.fontFamily = m_font.family;
    t.pointSize = m_font.pointSize;
    m_page.add(std::move(t));
  }
  // A text centred on (x, y).
  void centred(double x, double y, const std::string& words) {
    text(x - width(words) / 2, y - height() / 2, words);
  }
  void line(double x1, double y1, double x2, double y2, double widthPixels = kThinLine) {
    m_page.add(Line{x1, y1, x2, y2, kBlack, widthPixels});
  }
  void box(double x1, double y1, double x2, double y2, Rgb fill) {
    m_page.add(Box{x1, y1, x2, y2, fill});
  }
  void reserve(std::size_t items) { m_page.items.reserve(m_page.items.size() + items); }

  const ReportSurface& surface() const { return m_surface; }
  DrawList take() { return std::move(m_page); }

 private:
  const common::TextMetrics& m_metrics;
  const ReportSurface& m_surface;
  common::FontSpec m_font;
  DrawList m_page;
  double m_unitsPerTwipX = 0;
  double m_unitsPerTwipY = 0;
};

// The title with its rule at the top of the page.
void writeTitle(PageWriter& page, const std::string& title) {
  const double h = page.height();
  page.line(0, h + 10, SW, h + 10);
  page.text(SW / 2 - page.width(title) / 2, h, title);
}

// "Chromatic VE Plot" with its rule at mid-page.
void writeHeading(PageWriter& page) {
  const std::string heading(kChromaticVePlot);
  const double h = page.height();
  page.line(0, SH / 2 - h - 10, SW, SH / 2 - h - 10);
  page.text(SW / 2 - page.width(heading) / 2, SH / 2 - h, heading);
}

// Eleven rows beside the plot, lowest band at the top, with the report's short texts.
void writeLegend(PageWriter& page, LegendKind kind) {
  const auto& texts =
      kind == LegendKind::VeDelta ? veDeltaReportLegendTexts() : veReportLegendTexts();
  const double span = (0.91 - 0.5125) * SH;
  const double textLeft = 0.85 * SW + page.width("X");
  for (std::size_t k = 0; k < kBandCount; ++k) {
    const double y = 0.5125 * SH + static_cast<double>(k) * span / kBandCount;
    page.box(0.825 * SW, y, 0.85 * SW, y + span / 15, kBandColours[k]);
    page.text(textLeft, y + span / 60 + page.height() / 2, std::string(texts[k]));
  }
}

void writeFooter(PageWriter& page) {
  const std::string footer =
      std::string(kReportFooterText) + page.surface().time + " " + page.surface().date;
  const double h = page.height();
  page.line(0, SH - h - 10, SW, SH - h - 10);
  page.text(SW / 2 - page.width(footer) / 2, SH - h, footer);
}

void writeFrame(PageWriter& page, const PlotArea& a) {
  page.line(a.left, a.top, a.right(), a.top, kThickLine);
  page.line(a.left, a.bottom(), a.right(), a.bottom(), kThickLine);
  page.line(a.left, a.top, a.left, a.bottom(), kThickLine);
  page.line(a.right(), a.top, a.right(), a.bottom(), kThickLine);
}

// A box of the plot, cut to the plot area; nothing when no part of it lies inside.
void writePlotBox(PageWriter& page, const PlotArea& a, double x1, double y1, double x2, double y2,
                  Rgb fill) {
  const double left = std::max(std::min(x1, x2), a.left);
  const double right = std::min(std::max(x1, x2), a.right());
  const double top = std::max(std::min(y1, y2), a.top);
  const double bottom = std::min(std::max(y1, y2), a.bottom());
  if (left < right && top < bottom) page.box(left, top, right, bottom, fill);
}

bool within(double v, double low, double high) { return v >= low - 0.5 && v <= high + 0.5; }

// The fixed 8 x 8 table of the upper half: RPM index c in column c, MAP index r in row r
// (index 0 at the top), with the RPM bins in a heading row under it and the MAP bins in a
// heading column left of it.
void writeTable(PageWriter& page, const vemap::VeTable& t) {
  constexpr int kShown = 8;
  const double colWidth = 0.1 * SW;
  const double rowHeight = (0.375 - 0.05) * SH / kShown;
  const auto colCentre = [&](int c) { return 0.15 * SW + (c + 0.5) * colWidth; };
  const auto rowCentre = [&](int r) { return 0.05 * SH + (r + 0.5) * rowHeight; };
  for (int c = 0; c < kShown; ++c)
    for (int r = 0; r < kShown; ++r)
      page.centred(colCentre(c), rowCentre(r), std::to_string(t.at(c, r)));
  for (int c = 0; c < kShown; ++c)
    page.centred(colCentre(c), (0.4 + 0.4375) / 2 * SH,
                 std::to_string(t.rpmBins[static_cast<std::size_t>(c)]));
  for (int r = 0; r < kShown; ++r)
    page.centred((0.05 + 0.125) / 2 * SW, rowCentre(r),
                 std::to_string(t.mapBins[static_cast<std::size_t>(r)]));

  page.line(0.05 * SW, 0.05 * SH, 0.05 * SW, 0.375 * SH);
  page.line(0.125 * SW, 0.05 * SH, 0.125 * SW, 0.375 * SH);
  page.line(0.15 * SW, 0.4 * SH, 0.95 * SW, 0.4 * SH);
  page.line(0.15 * SW, 0.4375 * SH, 0.95 * SW, 0.4375 * SH);
  for (int c = 0; c < kShown; ++c) {
    const double x = 0.15 * SW + c * colWidth;
    page.line(x, 0.4 * SH, x, 0.4375 * SH);
    page.line(x, 0.05 * SH, x, 0.375 * SH);
  }
  for (int r = 0; r < kShown; ++r) {
    const double y = 0.05 * SH + r * rowHeight;
    page.line(0.05 * SW, y, 0.125 * SW, y);
    page.line(0.15 * SW, y, 0.95 * SW, y);
  }
  page.line(0.95 * SW, 0.4 * SH, 0.95 * SW, 0.4375 * SH);
  page.line(0.95 * SW, 0.05 * SH, 0.95 * SW, 0.375 * SH);
}

// Page units per rev/min and per kPa of a plot from 0 to rpmExtent x 0 to mapExtent; none
// when an extent is not positive (the plot then shows its frame only).
struct PlotScale {
  double x = 0;
  double y = 0;
};
std::optional<PlotScale> plotScale(const PlotArea& a, double rpmExtent, double mapExtent) {
  if (!(rpmExtent > 0 && mapExtent > 0)) return std::nullopt;
  return PlotScale{a.width / rpmExtent, a.height / mapExtent};
}

int lastActiveBin(const std::array<std::int16_t, vemap::kMaxBins>& bins, int active) {
  return bins[static_cast<std::size_t>(std::clamp(active, 1, vemap::kMaxBins) - 1)];
}

// The extent of a printed table plot: bin 7, as the paper has always been scaled; a table
// whose bin 7 is not positive is scaled to its last active bin instead.
double tableExtent(const std::array<std::int16_t, vemap::kMaxBins>& bins, int active) {
  return bins[7] > 0 ? bins[7] : lastActiveBin(bins, active);
}

// Views 1, 2 and 5: one box per data map cell with a value, 60 page units wide around the
// cell's RPM, 1 kPa high below its MAP.
void writeCellBoxes(PageWriter& page, const PlotArea& a, const PlotScale& s, const VeViewInputs& in,
                    VeView view) {
  page.reserve(static_cast<std::size_t>((engine::kRawRpmCells - 1) * (engine::kRawMapCells - 1)));
  for (int i = 1; i < engine::kRawMapCells; ++i)
    for (int j = 1; j < engine::kRawRpmCells; ++j) {
      const double raw = in.raw.at(j, i).average;
      const double filtered = in.filtered.at(j, i);
      Rgb colour;
      if (view == VeView::RawDatalog) {
        if (!(raw > 0)) continue;
        colour = veColour(raw);
      } else if (view == VeView::FilteredDatalog) {
        if (!(filtered > 0)) continue;
        colour = veColour(filtered);
      } else {
        if (raw == 0 && filtered == 0) continue;
        // A cell only one map has is black: there is nothing to compare.
        colour = (raw == 0) != (filtered == 0) ? kBlack : veDeltaColour(filtered - raw);
      }
      const double x = a.left + 100.0 * j * s.x;
      writePlotBox(page, a, x - 50, a.top + (i - 1) * s.y, x + 10, a.top + i * s.y, colour);
    }
}

// Views 0, 3 and 4: the table sampled every `reportSamplingStep` rev/min and every kPa over
// its active bins. Only samples inside the plot area are visited, and a MAP row that starts
// on the same page unit as the one before it is left out (rows that thin, from MAP bins in
// the thousands of kPa, could not be told apart on paper), so that wild bins cost no more
// than the page can show.
void writeTableSamples(PageWriter& page, const PlotArea& a, const PlotScale& s,
                       const VeViewInputs& in, VeView view) {
  const auto& t = in.table;
  const int step = reportSamplingStep(t);
  // Samples past the plot's right or lower edge cannot be seen, nor columns whose box ends
  // at or left of 0 rev/min, nor rows above 0 kPa.
  const int rpmLast = std::min(lastActiveBin(t.rpmBins, t.activeRpm()),
                               static_cast<int>(std::floor(a.width / s.x)));
  const int mapLast = std::min(lastActiveBin(t.mapBins, t.activeMap()),
                               static_cast<int>(std::floor(a.height / s.y)));
  int rpmFirst = t.rpmBins[0];
  if (rpmFirst + step <= 0) rpmFirst += ((-rpmFirst - step) / step + 1) * step;
  const int mapFirst = std::max<int>(t.mapBins[0], 0);
  for (int rpm = rpmFirst; rpm <= rpmLast; rpm += step) {
    double lastRowTop = -1;
    for (int map = mapFirst; map <= mapLast; ++map) {
      const double rowTop = std::floor(a.top + map * s.y);
      if (rowTop == lastRowTop) continue;
      lastRowTop = rowTop;
      const double ve = LookupVE(t, map, rpm);
      Rgb colour;
      if (view == VeView::LowDensityMap) {
        if (!(ve > 0)) continue;
        colour = veColour(ve);
      } else {
        const int cell = static_cast<int>(common::roundHalfEven(rpm / 100.0));
        if (!engine::RawDataMap::inside(cell, map)) continue;
        const double v =
            view == VeView::RawLowDelta ? in.raw.at(cell, map).average : in.filtered.at(cell, map);
        if (!(v > 0)) continue;
        const double d = ve - v;
        colour = d == 0 ? kBlack : veDeltaColour(d);
      }
      writePlotBox(page, a, a.left + rpm * s.x, a.top + map * s.y, a.left + (rpm + step) * s.x,
                   a.top + (map + 1) * s.y, colour);
    }
  }
}

// The frame and the active bins as thick lines with their labels: RPM in hundreds under the
// plot, MAP in kPa left of it. Bins beyond the plotted range have no line on the page.
void writeBinLines(PageWriter& page, const PlotArea& a, const std::optional<PlotScale>& s,
                   const vemap::VeTable& t) {
  writeFrame(page, a);
  if (!s) return;
  const double h = page.height();
  for (int k = 0; k < t.activeRpm(); ++k) {
    const double bin = t.rpmBins[static_cast<std::size_t>(k)];
    const double x = a.left + bin * s->x;
    if (!within(x, a.left, a.right())) continue;
    page.line(x, a.top, x, a.bottom(), kThickLine);
    const std::string label = common::shortestText(bin / 100.0);
    page.text(x - page.width(label) / 2, a.bottom() + 0.75 * h, label);
  }
  for (int k = 0; k < t.activeMap(); ++k) {
    const int bin = t.mapBins[static_cast<std::size_t>(k)];
    const double y = a.top + bin * s->y;
    if (!within(y, a.top, a.bottom())) continue;
    page.line(a.left, y, a.right(), y, kThickLine);
    const std::string label = std::to_string(bin);
    page.text(a.left - 1.125 * page.width(label), y - h / 2, label);
  }
}

// The raw data map page's grid: eleven lines per axis at tenths of RPMMin..RPMMax and of
// 0..MAPMax, labelled in hundreds of rev/min and in kPa.
void writeTenthsGrid(PageWriter& page, const PlotArea& a, const PlotScale& s,
                     const settings::Settings& settings) {
  const double h = page.height();
  const double rpmSpan = static_cast<double>(settings.rpmMax) - settings.rpmMin;
  for (int k = 0; k <= 10; ++k) {
    const double r = settings.rpmMin + k * rpmSpan / 10;
    const double x = a.left + r * s.x;
    if (!within(x, a.left, a.right())) continue;
    page.line(x, a.top, x, a.bottom());
    const std::string label = common::shortestText(common::roundHalfEven(r / 100));
    page.text(x - page.width(label) / 2, a.bottom() + 0.75 * h, label);
  }
  for (int k = 0; k <= 10; ++k) {
    const double m = k * static_cast<double>(settings.mapMax) / 10;
    const double y = a.top + m * s.y;
    page.line(a.left, y, a.right(), y);
    const std::string label = common::shortestText(m);
    page.text(a.left - 1.125 * page.width(label), y - h / 2, label);
  }
}

}  // namespace

std::string_view reportTitle(VeView view) {
  static constexpr std::array<std::string_view, kVeViewCount> kTitles{
      "8x8 VE Map",
      "Raw Data Map",
      "Filtered Data Map",
      "Raw/Low Density Delta Map",
      "Filtered/Low Density Delta Map",
      "Filtered/Raw Delta Map"};
  return kTitles[static_cast<std::size_t>(std::clamp(static_cast<int>(view), 0, kVeViewCount - 1))];
}

int reportSamplingStep(const vemap::VeTable& t) {
  const double span = static_cast<double>(lastActiveBin(t.rpmBins, t.activeRpm())) - t.rpmBins[0];
  const double step = common::roundHalfEven(span / 500.0);
  return std::max(1, static_cast<int>(step));
}

DrawList reportPage(VeView view, const VeViewInputs& in, const ReportSurface& surface,
                    const common::TextMetrics& metrics) {
  PageWriter page(surface, metrics);
  writeTitle(page, std::string(reportTitle(view)));
  writeTable(page, in.table);
  writeHeading(page);
  const PlotArea area;
  const auto scale = plotScale(area, tableExtent(in.table.rpmBins, in.table.activeRpm()),
                               tableExtent(in.table.mapBins, in.table.activeMap()));
  if (scale) {
    if (view == VeView::LowDensityMap || view == VeView::RawLowDelta ||
        view == VeView::FilteredLowDelta)
      writeTableSamples(page, area, *scale, in, view);
    else
      writeCellBoxes(page, area, *scale, in, view);
  }
  writeBinLines(page, area, scale, in.table);
  writeLegend(page, legendFor(view));
  writeFooter(page);
  return page.take();
}

DrawList rawMapReportPage(const engine::RawDataMap& map, const settings::Settings& settings,
                          const ReportSurface& surface, const common::TextMetrics& metrics) {
  PageWriter page(surface, metrics);
  writeTitle(page, std::string(kHighDensityVeMap));
  writeHeading(page);
  const PlotArea area;
  const auto scale = plotScale(area, settings.rpmMax, settings.mapMax);
  if (scale) {
    page.reserve(static_cast<std::size_t>((engine::kRawRpmCells - 1) * (engine::kRawMapCells - 1)));
    for (int i = 1; i < engine::kRawMapCells; ++i)
      for (int j = 1; j < engine::kRawRpmCells; ++j) {
        const double v = map.at(j, i).average;
        if (!(v > 0)) continue;
        const double x = area.left + 100.0 * j * scale->x;
        writePlotBox(page, area, x - 50, area.top + (i - 1) * scale->y, x + 10,
                     area.top + i * scale->y, veColour(v));
      }
  }
  writeFrame(page, area);
  if (scale) writeTenthsGrid(page, area, *scale, settings);
  writeLegend(page, LegendKind::Ve);
  writeFooter(page);
  return page.take();
}

}  // namespace tallimar::plot
