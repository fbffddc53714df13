// Peak resident memory of one Open Datalog run over a generated 1,000,000-line classic
// datalog (or with --msl a 40-column named-column log), above the process's idle size (after
// start-up, with an empty workspace).
#include <malloc.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "pipeline_support.h"

namespace {

// A "VmRSS" / "VmHWM" figure of /proc/self/status in kB; -1 when unavailable.
long statusKilobytes(const std::string& key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind(key + ":", 0) == 0) return std::stol(line.substr(key.size() + 1));
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tallimar;
  // --msl: the 40-column named-column log instead of the classic datalog.
  const bool msl = argc > 1 && std::string(argv[1]) == "--msl";
  const std::string& path = msl ? bench::millionLineMsl() : bench::millionLineDatalog();
  auto ws = std::make_unique<workspace::Workspace>();
  ::malloc_trim(0);
  const long idle = statusKilobytes("VmRSS");
  // Restart the peak counter at the idle size (Linux 4.0 and later).
  std::ofstream("/proc/self/clear_refs") << "5";
  bench::CountingList list;
  const auto result = bench::runOpenDatalog(*ws, path, list);
  const long peak = statusKilobytes("VmHWM");
  std::printf("datalog: %s (%lld lines), result %s, %zu points, %zu list lines\n", path.c_str(),
              static_cast<long long>(bench::kDatalogLines), result.ok() ? "done" : "FAILED",
              ws->crossovers.size(), list.count);
  std::printf("idle RSS %ld kB, peak RSS %ld kB, peak above idle %.1f MB\n", idle, peak,
              static_cast<double>(peak - idle) / 1024.0);
  return result.ok() ? 0 : 1;
}
