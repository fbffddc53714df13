// Display lists of a full map: the six VE views (16 x 16 table over the default plot range)
// and the main window's raw map plot, each against filling a list with as many plain boxes
// as the main plot draws (150 x 256), allocated at once.
#include <benchmark/benchmark.h>

#include "bench_main.h"
#include "core/plot/plot_fixtures.h"
#include "plot/raw_map_plot.h"
#include "plot/ve_views.h"
#include "ratio_reporter.h"
#include "workspace/view_inputs.h"

namespace {

using namespace tallimar;

using plot::fixtures::fullWorkspace;

void BM_BaselineFillBoxes(benchmark::State& state) {
  for (auto _ : state) {
    plot::DrawList list;
    list.items.reserve(150 * 256);
    for (int k = 0; k < 150 * 256; ++k)
      list.add(plot::Box{1.0 * k, 2.0, 3.0 * k, 4.0, plot::Rgb{0, 128, 128}});
    benchmark::DoNotOptimize(list.items.data());
  }
}
BENCHMARK(BM_BaselineFillBoxes)->Unit(benchmark::kMillisecond);

void BM_MainRawMapPlot(benchmark::State& state) {
  const auto& ws = fullWorkspace();
  for (auto _ : state) {
    const plot::DrawList list = plot::rawMapPlot(ws.rawMap, ws.settings);
    benchmark::DoNotOptimize(list.items.data());
    state.counters["items"] = static_cast<double>(list.size());
  }
}
BENCHMARK(BM_MainRawMapPlot)->Unit(benchmark::kMillisecond);

void BM_VeView(benchmark::State& state) {
  const auto& ws = fullWorkspace();
  const auto view = static_cast<plot::VeView>(state.range(0));
  state.SetLabel(std::string(plot::veViewCaption(view)));
  for (auto _ : state) {
    const plot::ViewPlot p = plot::plotVeView(view, workspace::viewInputs(ws));
    benchmark::DoNotOptimize(p.drawing.items.data());
    state.counters["items"] = static_cast<double>(p.drawing.size());
  }
}
BENCHMARK(BM_VeView)->DenseRange(0, plot::kVeViewCount - 1)->Unit(benchmark::kMillisecond);

}  // namespace

tallimar::bench::BenchProgram tallimar::bench::benchProgram() {
  return {std::make_unique<RatioReporter>("BM_BaselineFillBoxes"), {}};
}
