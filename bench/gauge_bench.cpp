// One analog gauge, offscreen, each iteration ending with the gauge painted into an image
// as the screen would show it. Baseline: painting the unchanged gauge (the cached dial and
// the needle layer). Needle update: a new Value, the live window's path, six times per
// poll. Full redraw: a changed Max, which computes and paints the dial again.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <memory>

#include "bench_main.h"
#include "ecu/live_gauges.h"
#include "ratio_reporter.h"
#include "ui/ecu/analog_gauge.h"

namespace {

using namespace tallimar;

struct Bench {
  Bench() {
    gauge.load(ecu::liveGaugeDesign(ecu::LiveGauge::Rpm, {240, 240, 240}, {255, 255, 255}));
    image = QImage(gauge.size(), QImage::Format_RGB32);
    paint();
  }
  void paint() {
    QPainter painter(&image);
    gauge.render(&painter);
  }
  ui::AnalogGauge gauge;
  QImage image;
};

void BM_PaintUnchanged(benchmark::State& state) {
  Bench b;
  for (auto _ : state) b.paint();
}
BENCHMARK(BM_PaintUnchanged)->Unit(benchmark::kMicrosecond);

void BM_NeedleUpdate(benchmark::State& state) {
  Bench b;
  int k = 0;
  for (auto _ : state) {
    b.gauge.setValue((k = (k + 7) % 60));
    b.paint();
  }
}
BENCHMARK(BM_NeedleUpdate)->Unit(benchmark::kMicrosecond);

void BM_NeedleModelOnly(benchmark::State& state) {
  Bench b;
  int k = 0;
  for (auto _ : state) b.gauge.setValue((k = (k + 7) % 60));
}
BENCHMARK(BM_NeedleModelOnly)->Unit(benchmark::kMicrosecond);

void BM_FullRedraw(benchmark::State& state) {
  Bench b;
  bool wide = false;
  for (auto _ : state) {
    b.gauge.setNumber(ecu::GaugeProperty::Max, (wide = !wide) ? 70 : 60);
    b.paint();
  }
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond);

}  // namespace

tallimar::bench::BenchProgram tallimar::bench::benchProgram() {
  return {std::make_unique<RatioReporter>("BM_PaintUnchanged"), {}};
}
