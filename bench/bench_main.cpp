// main() of every benchmark program: runs the registered benchmarks with the program's
// reporter and default flags. Built with TALLIMAR_BENCH_QT, it first makes the
// QApplication the window and painter benchmarks need, on the offscreen platform unless
// another is named.
#include "bench_main.h"

#include <algorithm>

#ifdef TALLIMAR_BENCH_QT
#include <QApplication>
#endif

namespace {

bool named(const std::vector<char*>& args, const std::string& flag) {
  const std::string name = flag.substr(0, flag.find('='));
  return std::any_of(args.begin() + 1, args.end(), [&name](const char* arg) {
    const std::string given(arg);
    return given == name || given.rfind(name + "=", 0) == 0;
  });
}

}  // namespace

int main(int argc, char** argv) {
#ifdef TALLIMAR_BENCH_QT
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
#endif
  tallimar::bench::BenchProgram program = tallimar::bench::benchProgram();
  std::vector<char*> args(argv, argv + argc);
  for (std::string& flag : program.defaultFlags)
    if (!named(args, flag)) args.push_back(flag.data());
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  benchmark::RunSpecifiedBenchmarks(program.reporter.get());
  benchmark::Shutdown();
  return 0;
}
