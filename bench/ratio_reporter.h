// Console reporter that also prints, after the table, each benchmark's time as a multiple of
// a baseline benchmark measured in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace tallimar::bench {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  explicit RatioReporter(std::string baseline) : m_baseline(std::move(baseline)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const double ms =
          run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
      m_times.emplace_back(run.benchmark_name(), ms);
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    double base = 0;
    for (const auto& [name, ms] : m_times)
      if (name.rfind(m_baseline, 0) == 0) base = ms;
    if (base <= 0) return;
    std::printf("\nRatios against %s (%.3f ms):\n", m_baseline.c_str(), base);
    for (const auto& [name, ms] : m_times)
      std::printf("  %-44s %9.3f ms  %7.1fx\n", name.c_str(), ms, ms / base);
  }

 private:
  std::string m_baseline;
  std::vector<std::pair<std::string, double>> m_times;
};

}  // namespace tallimar::bench
