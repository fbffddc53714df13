// The main window under load, on the offscreen platform:
//  - CoreOpenDatalog (baseline): "Open Datalog" of a generated 1,000,000-line datalog without
//    a window (read, crossover points, raw data map);
//  - WindowOpenDatalog/0: the same through the window's menu entry until the lists are filled
//    and the plot is painted. Counter max_stall_ms is the longest time the window's event
//    loop could not run a 1 ms timer (the longest the window was unresponsive);
//  - WindowOpenDatalog/1: a million-line datalog whose O2 swings fast enough to reach the
//    200,000-point limit, so the crossover list gets its largest size;
//  - WindowPlotRefresh: the plot refresh of a map with data in every cell, painted.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListView>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "bench_main.h"
#include "common/scripted_prompts.h"
#include "core/plot/plot_fixtures.h"
#include "pipeline_support.h"
#include "ratio_reporter.h"
#include "settings/settings_io.h"
#include "ui/app/main_window.h"
#include "ui/common/string_list_model.h"
#include "ui/plot/plot_widget.h"

namespace {

using namespace tallimar;

// Measures the longest gap between ticks of a 1 ms timer on the window's thread.
class StallMeter {
 public:
  StallMeter() {
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(1);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
      m_longest = std::max(m_longest, m_clock.nsecsElapsed());
      m_clock.restart();
    });
    m_clock.start();
    m_timer.start();
  }
  double longestMs() const { return static_cast<double>(m_longest) / 1e6; }

 private:
  QTimer m_timer;
  QElapsedTimer m_clock;
  qint64 m_longest = 0;
};

// The million-line datalog of the pipeline benchmarks (0), or one with a crossing about every
// fourth sample (1).
const std::string& datalogFile(std::int64_t which) {
  if (which == 0) return bench::millionLineDatalog();
  static QTemporaryDir folder;
  static const std::string path = [] {
    const std::string file = folder.filePath("dense.xls").toStdString();
    testsupport::DatalogShape shape;
    shape.samples = bench::kDatalogLines;
    shape.seed = 7;
    shape.halfCycleMin = 2;
    shape.halfCycleMax = 3;
    testsupport::writeDatalog(file, shape);
    return file;
  }();
  return path;
}

void CoreOpenDatalog(benchmark::State& state) {
  const std::string& path = bench::millionLineDatalog();
  for (auto _ : state) {
    state.PauseTiming();
    auto ws = std::make_unique<workspace::Workspace>();
    bench::CountingList list;
    state.ResumeTiming();
    if (!bench::runOpenDatalog(*ws, path, list).ok()) state.SkipWithError("Open Datalog failed");
  }
}
BENCHMARK(CoreOpenDatalog)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void WindowOpenDatalog(benchmark::State& state) {
  const std::string& path = datalogFile(state.range(0));
  double worstStall = 0;
  std::size_t listLines = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto ws = std::make_unique<workspace::Workspace>();
    settings::MemorySettingsStore store;
    common::ScriptedPrompts prompts;
    prompts.openAnswers.push_back({path});
    QTemporaryDir noLanguages;
    ui::MainWindow window(*ws, store, prompts, noLanguages.path());
    window.startUp();
    window.show();
    QCoreApplication::processEvents();
    QEventLoop loop;
    QObject::connect(&window, &ui::MainWindow::commandFinished, &loop, &QEventLoop::quit);
    state.ResumeTiming();

    StallMeter meter;
    window.findChild<QAction*>("mnuOpenDatalog")->trigger();
    loop.exec();
    window.plotSurface()->repaint();
    window.findChild<QListView*>("List1")->viewport()->repaint();
    QCoreApplication::processEvents();

    state.PauseTiming();
    worstStall = std::max(worstStall, meter.longestMs());
    listLines = window.crossoverList().lines().size();
    if (ws->crossovers.empty()) state.SkipWithError("no crossover points");
    state.ResumeTiming();
  }
  state.counters["max_stall_ms"] = worstStall;
  state.counters["list_lines"] = static_cast<double>(listLines);
}
BENCHMARK(WindowOpenDatalog)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

void WindowPlotRefresh(benchmark::State& state) {
  auto ws = std::make_unique<workspace::Workspace>();
  plot::fixtures::fillRawMap(ws->rawMap);
  settings::MemorySettingsStore store;
  common::ScriptedPrompts prompts;
  QTemporaryDir noLanguages;
  ui::MainWindow window(*ws, store, prompts, noLanguages.path());
  window.startUp();
  window.show();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    window.refreshPlot();
    window.plotSurface()->repaint();
  }
  state.counters["boxes"] = static_cast<double>(window.plotSurface()->drawList().size());
}
BENCHMARK(WindowPlotRefresh)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

tallimar::bench::BenchProgram tallimar::bench::benchProgram() {
  return {std::make_unique<RatioReporter>("CoreOpenDatalog"), {}};
}
