// Painting display lists of a full map with the Qt renderer: the main raw map plot and the
// raw VE view at their laid-out sizes and three times larger, and the whole redraw (list
// plus painting). Baseline: filling as many fixed rectangles of the same image directly.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "bench_main.h"
#include "core/plot/plot_fixtures.h"
#include "plot/raw_map_plot.h"
#include "plot/ve_views.h"
#include "ratio_reporter.h"
#include "ui/plot/draw_list_painter.h"
#include "workspace/view_inputs.h"

namespace {

using namespace tallimar;

using plot::fixtures::fullWorkspace;

void BM_BaselineFillRects(benchmark::State& state) {
  QImage image(300, 167, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&image);
    for (int k = 0; k < 150 * 256; ++k)
      painter.fillRect(QRect(k % 290, k % 160, 7, 2), QColor(0, 128, 128));
  }
}
BENCHMARK(BM_BaselineFillRects)->Unit(benchmark::kMillisecond);

void paintAt(benchmark::State& state, const plot::DrawList& list, int scale) {
  const QSize size = ui::laidOutSizePixels(list) * scale;
  QImage image(size, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&image);
    ui::paintDrawList(painter, list, QRectF(QPointF(0, 0), QSizeF(size)));
  }
}

void BM_PaintMainPlot(benchmark::State& state) {
  const auto& ws = fullWorkspace();
  paintAt(state, plot::rawMapPlot(ws.rawMap, ws.settings), static_cast<int>(state.range(0)));
}
BENCHMARK(BM_PaintMainPlot)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_PaintRawView(benchmark::State& state) {
  const auto& ws = fullWorkspace();
  paintAt(state, plot::PlotRawMap(workspace::viewInputs(ws)).drawing,
          static_cast<int>(state.range(0)));
}
BENCHMARK(BM_PaintRawView)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

// What the main window does on a refresh: build the list and paint it at the laid-out size.
void BM_RedrawMainPlot(benchmark::State& state) {
  const auto& ws = fullWorkspace();
  QImage image(300, 167, QImage::Format_RGB32);
  for (auto _ : state) {
    const plot::DrawList list = plot::rawMapPlot(ws.rawMap, ws.settings);
    QPainter painter(&image);
    ui::paintDrawList(painter, list, QRectF(0, 0, 300, 167));
  }
}
BENCHMARK(BM_RedrawMainPlot)->Unit(benchmark::kMillisecond);

}  // namespace

tallimar::bench::BenchProgram tallimar::bench::benchProgram() {
  return {std::make_unique<RatioReporter>("BM_BaselineFillRects"), {}};
}
