// Speed of the datalog pipeline, as ratios against a baseline measured in the same run:
//  - Open Datalog on a generated 1,000,000-line classic datalog, and on a 40-column
//    named-column log, (read -> crossover points ->
//    raw data map build and reduction) against reading the same file and counting its
//    newlines;
//  - one reduction of a raw data map with values in every cell.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_main.h"
#include "engine/raw_map_builder.h"
#include "engine/raw_map_statistics.h"
#include "formats/datalog_reader.h"
#include "pipeline_support.h"

namespace tallimar::bench {
namespace {

// Reads a file in 1 MiB pieces and counts its newlines: what any reader of it must do.
void readAndCount(benchmark::State& state, const std::string& path) {
  std::vector<char> buffer(std::size_t{1} << 20);
  for (auto _ : state) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    std::size_t newlines = 0;
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), file.get())) > 0;)
      newlines += static_cast<std::size_t>(std::count(buffer.data(), buffer.data() + n, '\n'));
    benchmark::DoNotOptimize(newlines);
  }
}
void ReadAndCountNewlines(benchmark::State& state) { readAndCount(state, millionLineDatalog()); }
BENCHMARK(ReadAndCountNewlines)->Unit(benchmark::kMillisecond);
void ReadAndCountMslNewlines(benchmark::State& state) { readAndCount(state, millionLineMsl()); }
BENCHMARK(ReadAndCountMslNewlines)->Unit(benchmark::kMillisecond);

// Reading alone, records dropped: the reader's share of Open Datalog.
class DroppingSink : public formats::DatalogRecordSink {
 public:
  std::size_t take(std::span<const engine::DatalogRecord> records, std::int64_t) override {
    count += records.size();
    return records.size();
  }
  std::size_t count = 0;
};

void ReadDatalogRecords(benchmark::State& state) {
  const std::string& path = millionLineDatalog();
  for (auto _ : state) {
    DroppingSink sink;
    const auto result = formats::readDatalog(path, formats::DatalogLayout::Classic, sink);
    if (!result || result->end != formats::DatalogRead::End::Complete)
      state.SkipWithError("read failed");
    benchmark::DoNotOptimize(sink.count);
  }
}
BENCHMARK(ReadDatalogRecords)->Unit(benchmark::kMillisecond);

void openToRawMap(benchmark::State& state, const std::string& path) {
  std::size_t points = 0, lines = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto ws = std::make_unique<workspace::Workspace>();
    CountingList list;
    state.ResumeTiming();
    const auto result = runOpenDatalog(*ws, path, list);
    if (!result.ok()) state.SkipWithError("Open Datalog failed");
    points = ws->crossovers.size();
    lines = list.count;
  }
  state.counters["points"] = static_cast<double>(points);
  state.counters["list_lines"] = static_cast<double>(lines);
}
void OpenDatalogToRawMap(benchmark::State& state) { openToRawMap(state, millionLineDatalog()); }
BENCHMARK(OpenDatalogToRawMap)->Unit(benchmark::kMillisecond);
// The same through a 40-column named-column log.
void OpenMslToRawMap(benchmark::State& state) { openToRawMap(state, millionLineMsl()); }
BENCHMARK(OpenMslToRawMap)->Unit(benchmark::kMillisecond);

// A map with values in all 150 x 256 reduced cells, `perCell` values each.
engine::RawDataMap fullMap(int perCell) {
  engine::RawDataMap map;
  for (int m = 1; m < engine::kRawMapCells; ++m)
    for (int r = 1; r < engine::kRawRpmCells; ++r) {
      std::string& values = map.at(r, m).values;
      for (int k = 0; k < perCell; ++k) {
        if (k) values += ',';
        values += engine::valueText(40 + (r * 7 + m * 3 + k * 11) % 60);
      }
    }
  return map;
}

void ReduceFullRawMap(benchmark::State& state) {
  engine::RawDataMap map = fullMap(static_cast<int>(state.range(0)));
  const engine::ReductionSettings settings{state.range(1) != 0, 1.0f};
  engine::NullCrossoverList list;
  for (auto _ : state) {
    engine::reduceRawDataMap(map, settings, list);
    benchmark::DoNotOptimize(map.at(75, 128).average);
  }
}
BENCHMARK(ReduceFullRawMap)
    ->ArgNames({"values", "outliers"})
    ->Args({1, 0})
    ->Args({10, 0})
    ->Args({10, 1})
    ->Unit(benchmark::kMillisecond);

// Prints every run as usual and, at the end, the pipeline's time as a multiple of the
// read-and-count baseline: the median of each one's repetitions (on a shared machine single
// runs vary a lot).
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && !run.error_occurred)
        m_times[run.run_name.function_name].push_back(
            {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()});
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    ratio("ReadAndCountNewlines", "OpenDatalogToRawMap", "Open Datalog (1,000,000 lines");
    ratio("ReadAndCountMslNewlines", "OpenMslToRawMap",
          "Open Datalog (1,000,000 lines of 40 named columns");
  }

 private:
  void ratio(const char* baseline, const char* measured, const char* what) {
    const auto base = m_times.find(baseline);
    const auto pipeline = m_times.find(measured);
    if (base == m_times.end() || pipeline == m_times.end()) return;
    const auto [baseWall, baseCpu] = medians(base->second);
    const auto [wall, cpu] = medians(pipeline->second);
    // Wall time suffers most when other programs share the cores; CPU time less so.
    std::printf(
        "\n%s -> raw map) / read + count newlines, medians of %zu:\n"
        "  %.1f ms / %.1f ms = %.2fx wall time; %.1f ms / %.1f ms = %.2fx CPU time\n",
        what, pipeline->second.size(), wall, baseWall, wall / baseWall, cpu, baseCpu,
        cpu / baseCpu);
  }
  struct Times {
    double wall, cpu;
  };
  static std::pair<double, double> medians(std::vector<Times> times) {
    auto median = [&](auto member) {
      std::vector<double> values;
      for (const Times& t : times) values.push_back(t.*member);
      std::sort(values.begin(), values.end());
      const std::size_t n = values.size();
      return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    };
    return {median(&Times::wall), median(&Times::cpu)};
  }
  std::map<std::string, std::vector<Times>> m_times;
};

}  // namespace
}  // namespace tallimar::bench

// Five repetitions of each benchmark, interleaved, unless told otherwise: so that the
// baseline and the pipeline meet the same conditions on a shared machine.
tallimar::bench::BenchProgram tallimar::bench::benchProgram() {
  return {std::make_unique<RatioReporter>(),
          {"--benchmark_repetitions=5", "--benchmark_enable_random_interleaving=true"}};
}
