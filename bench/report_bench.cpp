// The densest report pages (a raw data map with data in every cell, and the raw-map and
// table views of the "Modify VE Map" window) laid out, written as PDF and shown on the
// preview. Baseline: QPainter filling the same number of boxes into a PDF page directly.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <memory>

#include "bench_main.h"
#include "core/plot/plot_fixtures.h"
#include "plot/report_page.h"
#include "ratio_reporter.h"
#include "ui/plot/draw_list_painter.h"
#include "ui/plot/qt_text_metrics.h"
#include "ui/plot/report_printer.h"
#include "workspace/view_inputs.h"

namespace {

using namespace tallimar;

constexpr int kCells = 150 * 256;

using plot::fixtures::fullWorkspace;

commands::ReportPageBuilder rawMapPage() {
  return [](const plot::ReportSurface& surface, const common::TextMetrics& metrics) {
    const auto& ws = fullWorkspace();
    return plot::rawMapReportPage(ws.rawMap, ws.settings, surface, metrics);
  };
}

commands::ReportPageBuilder viewPage(plot::VeView view) {
  return [view](const plot::ReportSurface& surface, const common::TextMetrics& metrics) {
    return plot::reportPage(view, workspace::viewInputs(fullWorkspace()), surface, metrics);
  };
}

void setUpWriter(QPdfWriter& writer) {
  writer.setResolution(600);
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                   QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
}

void BM_BaselinePdfBoxes(benchmark::State& state) {
  for (auto _ : state) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    setUpWriter(writer);
    QPainter painter(&writer);
    for (int k = 0; k < kCells; ++k)
      painter.fillRect(QRect(300 + (k % 150) * 20, 3000 + (k / 150) * 10, 14, 9),
                       QColor(0, 128, 128));
    painter.end();
    benchmark::DoNotOptimize(buffer.data().size());
  }
}
BENCHMARK(BM_BaselinePdfBoxes)->Unit(benchmark::kMillisecond);

void BM_LayoutRawMapPage(benchmark::State& state) {
  const ui::QtTextMetrics metrics;
  const auto build = rawMapPage();
  for (auto _ : state) benchmark::DoNotOptimize(build(plot::ReportSurface{}, metrics).size());
}
BENCHMARK(BM_LayoutRawMapPage)->Unit(benchmark::kMillisecond);

void pagePdf(benchmark::State& state, const commands::ReportPageBuilder& build) {
  for (auto _ : state) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    setUpWriter(writer);
    ui::paintReportPage(writer, build);
    benchmark::DoNotOptimize(buffer.data().size());
  }
}

void BM_RawMapPagePdf(benchmark::State& state) { pagePdf(state, rawMapPage()); }
BENCHMARK(BM_RawMapPagePdf)->Unit(benchmark::kMillisecond);

void BM_RawViewPagePdf(benchmark::State& state) {
  pagePdf(state, viewPage(plot::VeView::RawDatalog));
}
BENCHMARK(BM_RawViewPagePdf)->Unit(benchmark::kMillisecond);

void BM_TableViewPagePdf(benchmark::State& state) {
  pagePdf(state, viewPage(plot::VeView::RawLowDelta));
}
BENCHMARK(BM_TableViewPagePdf)->Unit(benchmark::kMillisecond);

// What opening the preview costs: the page laid out for the preview and painted at its size.
void BM_PreviewRawMapPage(benchmark::State& state) {
  const ui::QtTextMetrics metrics;
  const auto build = rawMapPage();
  QImage image(453, 587, QImage::Format_RGB32);
  for (auto _ : state) {
    const plot::DrawList page = build(plot::ReportSurface{}, metrics);
    QPainter painter(&image);
    ui::paintDrawList(painter, page, QRectF(0, 0, 453, 587));
  }
}
BENCHMARK(BM_PreviewRawMapPage)->Unit(benchmark::kMillisecond);

}  // namespace

tallimar::bench::BenchProgram tallimar::bench::benchProgram() {
  return {std::make_unique<RatioReporter>("BM_BaselinePdfBoxes"), {}};
}
