// Filtering a full raw data map, two-step at 50 % / 33 %, with the program's filter and with
// the literal recursion (the baseline, run once: it takes seconds), plus "Calculate Map".
// Prints the ratio of each filter run to the literal one at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>

#include "bench_main.h"
#include "core/vemap/literal_filter.h"
#include "vemap/map_calculation.h"
#include "vemap/raw_filter.h"

namespace {

using namespace tallimar;

// Data in every cell: a smooth VE surface with noise, 25..115 %.
const engine::RawDataMap& fullMap() {
  static const engine::RawDataMap raw = [] {
    engine::RawDataMap map;
    std::mt19937 random(11);
    std::uniform_int_distribution<int> noise(-6, 6);
    for (int c = 1; c <= 150; ++c) {
      for (int m = 1; m <= 256; ++m) {
        const int ve = 30 + c / 3 + m / 5 + noise(random);
        map.at(c, m).average = static_cast<std::int16_t>(ve);
      }
    }
    return map;
  }();
  return raw;
}

// The awkward case for shared bases: every column has its own point count (106..255).
const engine::RawDataMap& mixedMap() {
  static const engine::RawDataMap raw = [] {
    engine::RawDataMap map;
    for (int c = 1; c <= 150; ++c) {
      for (int m = 1; m <= 105 + c; ++m) {
        map.at(c, m).average = static_cast<std::int16_t>(40 + (c * 7 + m * 3) % 50);
      }
    }
    return map;
  }();
  return raw;
}

vemap::FilterOptions twoStep() {
  vemap::FilterOptions options;
  options.smoothingStep1 = 50;
  options.smoothingStep2 = 33;
  options.twoStep = true;
  return options;
}

void BM_FilterFullMap(benchmark::State& state) {
  vemap::FilteredMap out;
  for (auto _ : state) {
    vemap::filterRawMap(fullMap(), twoStep(), out);
    benchmark::DoNotOptimize(out.at(75, 128));
  }
}
BENCHMARK(BM_FilterFullMap)->Unit(benchmark::kMillisecond);

void BM_FilterFullMapLiteral(benchmark::State& state) {
  for (auto _ : state) {
    const auto out = vemap::reference::literalFilter(fullMap(), twoStep());
    benchmark::DoNotOptimize(out.at(75, 128));
  }
}
BENCHMARK(BM_FilterFullMapLiteral)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_FilterMixedCounts(benchmark::State& state) {
  vemap::FilteredMap out;
  for (auto _ : state) {
    vemap::filterRawMap(mixedMap(), twoStep(), out);
    benchmark::DoNotOptimize(out.at(75, 128));
  }
}
BENCHMARK(BM_FilterMixedCounts)->Unit(benchmark::kMillisecond);

void BM_FilterMixedCountsLiteral(benchmark::State& state) {
  for (auto _ : state) {
    const auto out = vemap::reference::literalFilter(mixedMap(), twoStep());
    benchmark::DoNotOptimize(out.at(75, 128));
  }
}
BENCHMARK(BM_FilterMixedCountsLiteral)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_CalculateMap16x16(benchmark::State& state) {
  vemap::VeTable table;
  table.sizeRpm = 16;
  table.sizeMap = 16;
  table.setStartupBins();
  vemap::FilteredMap filtered;
  table.filteredMapPresent = state.range(0) != 0;
  for (auto _ : state) {
    vemap::calculateMap(table, fullMap(), filtered);
    benchmark::DoNotOptimize(table.ve[5][5]);
  }
}
BENCHMARK(BM_CalculateMap16x16)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Prints every run as usual and, at the end, each filter run's time against the literal one.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs) m_times[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    ratio("BM_FilterFullMap", "BM_FilterFullMapLiteral/iterations:1");
    ratio("BM_FilterMixedCounts", "BM_FilterMixedCountsLiteral/iterations:1");
  }

 private:
  void ratio(const char* fast, const char* literal) const {
    const auto f = m_times.find(fast);
    const auto l = m_times.find(literal);
    if (f == m_times.end() || l == m_times.end() || f->second <= 0) return;
    std::printf("%s: %.2f ms, literal %.0f ms, %.0fx faster\n", fast, f->second, l->second,
                l->second / f->second);
  }
  std::map<std::string, double> m_times;
};

}  // namespace

tallimar::bench::BenchProgram tallimar::bench::benchProgram() {
  return {std::make_unique<RatioReporter>(), {}};
}
