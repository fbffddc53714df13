// The benchmark programs share one main() (bench_main.cpp). Each program defines
// benchProgram(): the reporter that prints its runs and, at the end, its ratios against a
// baseline measured in the same run, and the flags it runs with unless told otherwise.
#pragma once

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace tallimar::bench {

struct BenchProgram {
  std::unique_ptr<benchmark::BenchmarkReporter> reporter;
  // Whole flags ("--benchmark_repetitions=5"), each used only when the command line does
  // not name the same flag.
  std::vector<std::string> defaultFlags;
};

// Defined once by each benchmark program.
BenchProgram benchProgram();

}  // namespace tallimar::bench
