// What the pipeline benchmarks share: the generated million-line datalog and one run of
// "Open Datalog" over it without a window.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "commands/open_datalog.h"
#include "common/scripted_prompts.h"
#include "engine/crossover_list.h"
#include "support/datalog_generator.h"
#include "workspace/workspace.h"

namespace tallimar::bench {

inline constexpr std::int64_t kDatalogLines = 1000000;

// A log in the temporary folder named by `extension`, written once per process by `write`
// and removed at exit.
template <typename Write>
std::string benchLog(const char* extension, Write write) {
  const auto file = std::filesystem::temp_directory_path() /
                    ("tallimar-bench-" + std::to_string(::getpid()) + extension);
  testsupport::DatalogShape shape;
  shape.samples = kDatalogLines;
  shape.seed = 2024;
  write(file.string(), shape);
  static struct Remover {
    std::vector<std::filesystem::path> files;
    ~Remover() {
      for (const auto& f : files) std::filesystem::remove(f);
    }
  } remover;
  remover.files.push_back(file);
  return file.string();
}

// A classic-layout datalog of a million data lines.
inline const std::string& millionLineDatalog() {
  static const std::string path =
      benchLog(".xls", [](const std::string& file, testsupport::DatalogShape shape) {
        shape.layout = testsupport::LogLayout::Classic;
        testsupport::writeDatalog(file, shape);
      });
  return path;
}

// A named-column log of a million rows of 40 columns.
inline const std::string& millionLineMsl() {
  static const std::string path =
      benchLog(".msl", [](const std::string& file, const testsupport::DatalogShape& shape) {
        testsupport::writeMslDatalog(file, shape, 40);
      });
  return path;
}

class CountingList : public engine::CrossoverList {
 public:
  void clear() override {}
  void append(std::span<const std::string> lines) override { count += lines.size(); }
  std::size_t count = 0;
};

class SilentStatus : public common::StatusLog {
 public:
  void append(const std::string&) override {}
};

// The whole command on a fresh workspace: read, detect, build and reduce.
inline commands::CommandResult runOpenDatalog(workspace::Workspace& ws, const std::string& path,
                                              CountingList& list) {
  common::ScriptedPrompts prompts;
  prompts.openAnswers.push_back({path});
  SilentStatus status;
  return commands::openDatalog(ws, prompts, status, list);
}

}  // namespace tallimar::bench
