// The grid of the "Modify VE Map" window. Each iteration ends with the grid painted into an
// image, as the screen would show it. Baseline: painting the unchanged grid. The others
// change every cell first: a new table shown (texts and colours), the colour switch (every
// active cell's background), and the same switch done cell by cell with style sheets, the
// common way to colour line edits, for comparison.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "bench_main.h"
#include "plot/colour_scale.h"
#include "ratio_reporter.h"
#include "ui/vemap/ve_grid.h"

namespace {

using namespace tallimar;

vemap::VeTable table(int offset) {
  vemap::VeTable t;
  t.setStartupBins();
  t.sizeRpm = 16;
  t.sizeMap = 16;
  for (int r = 0; r < 16; ++r)
    for (int m = 0; m < 16; ++m)
      t.at(r, m) = static_cast<std::int16_t>((r * 7 + m * 5 + offset) % 110);
  return t;
}

void paint(ui::VeGrid& grid, QImage& image) {
  QPainter painter(&image);
  grid.render(&painter);
}

void BM_RepaintGrid(benchmark::State& state) {
  ui::VeGrid grid(true);
  grid.display(table(0), true);
  QImage image(grid.size(), QImage::Format_RGB32);
  for (auto _ : state) paint(grid, image);
}
BENCHMARK(BM_RepaintGrid)->Unit(benchmark::kMillisecond);

void BM_ShowNewTable(benchmark::State& state) {
  ui::VeGrid grid(true);
  QImage image(grid.size(), QImage::Format_RGB32);
  const vemap::VeTable tables[2] = {table(0), table(3)};
  int k = 0;
  for (auto _ : state) {
    grid.display(tables[k ^= 1], true);
    paint(grid, image);
  }
}
BENCHMARK(BM_ShowNewTable)->Unit(benchmark::kMillisecond);

void BM_SwitchColours(benchmark::State& state) {
  ui::VeGrid grid(true);
  QImage image(grid.size(), QImage::Format_RGB32);
  const vemap::VeTable t = table(0);
  bool colours = false;
  for (auto _ : state) {
    grid.display(t, colours = !colours);
    paint(grid, image);
  }
}
BENCHMARK(BM_SwitchColours)->Unit(benchmark::kMillisecond);

void BM_SwitchColoursWithStyleSheets(benchmark::State& state) {
  ui::VeGrid grid(true);
  QImage image(grid.size(), QImage::Format_RGB32);
  const vemap::VeTable t = table(0);
  bool colours = false;
  for (auto _ : state) {
    colours = !colours;
    for (int c = 0; c < ui::kVeCellCount; ++c) {
      const common::Rgb rgb = plot::veColour(t.at(c / 16, c % 16));
      grid.veCell(c)->setStyleSheet(
          colours ? QStringLiteral("background: rgb(%1,%2,%3)").arg(rgb.r).arg(rgb.g).arg(rgb.b)
                  : QString());
    }
    paint(grid, image);
  }
}
BENCHMARK(BM_SwitchColoursWithStyleSheets)->Unit(benchmark::kMillisecond);

}  // namespace

tallimar::bench::BenchProgram tallimar::bench::benchProgram() {
  return {std::make_unique<RatioReporter>("BM_RepaintGrid"), {}};
}
