// Runs stored inputs through the fuzz targets without libFuzzer, as ./test does:
//   fuzz_replay --all FUZZ_FOLDER          every target over corpus/<target> and
//                                          regressions/<target>
//   fuzz_replay TARGET FILE_OR_FOLDER...   one target over the given inputs
//   fuzz_replay --write-seeds FOLDER       writes the seed corpus under FOLDER/<target>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz_targets.h"

namespace fs = std::filesystem;
using tallimar::fuzz::NamedTarget;

namespace {

// Runs the target over a file, or over every file of a folder; returns the inputs run.
int replay(const NamedTarget& target, const fs::path& path) {
  if (!fs::exists(path)) return 0;
  std::vector<fs::path> files{path};
  if (fs::is_directory(path)) files.assign(fs::directory_iterator(path), {});
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    std::fprintf(stderr, "%s: %s\n", target.name, file.c_str());
    target.run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  return static_cast<int>(files.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--write-seeds") == 0) {
    tallimar::fuzz::writeSeeds(argv[2]);
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "--all") == 0) {
    for (const NamedTarget& target : tallimar::fuzz::kTargets) {
      const fs::path folder(argv[2]);
      const int corpus = replay(target, folder / "corpus" / target.name);
      const int regressions = replay(target, folder / "regressions" / target.name);
      std::printf("%-14s %3d corpus, %3d regression inputs\n", target.name, corpus, regressions);
      if (corpus == 0) {
        std::fprintf(stderr, "no corpus for %s under %s\n", target.name, argv[2]);
        return 1;
      }
    }
    return 0;
  }
  for (const NamedTarget& target : tallimar::fuzz::kTargets) {
    if (argc < 3 || std::strcmp(argv[1], target.name) != 0) continue;
    for (int i = 2; i < argc; ++i) replay(target, argv[i]);
    return 0;
  }
  std::fprintf(stderr,
               "usage: fuzz_replay --all FUZZ_FOLDER | TARGET INPUT... | --write-seeds FOLDER\n");
  return 2;
}
