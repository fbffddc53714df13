// The fuzz targets: one plain function per reader, called by the libFuzzer entry of each
// fuzz program and by the replay program that ./test runs over the stored inputs. Each
// target checks a property of what the reader did and aborts when it does not hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace tallimar::fuzz {

// Datalog probe and fixed layouts; the fast line reader; named-column logs; *.HDMAP; *.vex;
// *.dmp; *.msq (binary and XML); *.inc; *.Lang; bytes from the serial line.
int fuzzDatalog(const std::uint8_t* data, std::size_t size);
int fuzzDatalogLines(const std::uint8_t* data, std::size_t size);
int fuzzMsl(const std::uint8_t* data, std::size_t size);
int fuzzRawMap(const std::uint8_t* data, std::size_t size);
int fuzzVeExchange(const std::uint8_t* data, std::size_t size);
int fuzzVeDump(const std::uint8_t* data, std::size_t size);
int fuzzTune(const std::uint8_t* data, std::size_t size);
int fuzzFactorTable(const std::uint8_t* data, std::size_t size);
int fuzzLanguage(const std::uint8_t* data, std::size_t size);
int fuzzEcuReplies(const std::uint8_t* data, std::size_t size);

using FuzzTarget = int (*)(const std::uint8_t*, std::size_t);
struct NamedTarget {
  const char* name;  // also the folder of its corpus and regression files
  FuzzTarget run;
};
inline constexpr NamedTarget kTargets[] = {
    {"datalog", fuzzDatalog},
    {"datalog_lines", fuzzDatalogLines},
    {"msl", fuzzMsl},
    {"raw_map", fuzzRawMap},
    {"ve_exchange", fuzzVeExchange},
    {"ve_dump", fuzzVeDump},
    {"tune", fuzzTune},
    {"factor_table", fuzzFactorTable},
    {"language", fuzzLanguage},
    {"ecu_replies", fuzzEcuReplies},
};

// Writes the seed corpus, made by the program's own writers and generators, under
// folder/<target>/.
void writeSeeds(const std::string& folder);

// The path of a file holding exactly `bytes`, for readers that take a path: one in-memory
// file per process, rewritten for every input.
const std::string& inputFile(std::string_view bytes);

[[noreturn]] inline void propertyFailed(const char* what, const char* file, int line) {
  std::fprintf(stderr, "fuzz property failed: %s (%s:%d)\n", what, file, line);
  std::abort();
}

}  // namespace tallimar::fuzz

#define FUZZ_CHECK(condition) \
  ((condition) ? (void)0 : ::tallimar::fuzz::propertyFailed(#condition, __FILE__, __LINE__))
