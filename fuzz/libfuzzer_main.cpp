// The libFuzzer entry of one fuzz program; TALLIMAR_FUZZ_TARGET names its target.
#include <cstring>

#include "fuzz_targets.h"

namespace {

tallimar::fuzz::FuzzTarget namedTarget() {
  for (const auto& target : tallimar::fuzz::kTargets)
    if (std::strcmp(target.name, TALLIMAR_FUZZ_TARGET) == 0) return target.run;
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tallimar::fuzz::FuzzTarget run = namedTarget();
  return run(data, size);
}
