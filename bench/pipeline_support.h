// What the pipeline benchmarks share: the generated million-line datalog and one run of
// "Open Datalog" over it without a window.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

#include "commands/open_datalog.h"
#include "common/scripted_prompts.h"
#include "engine/crossover_list.h"
#include "support/datalog_generator.h"
#include "workspace/workspace.h"

namespace tallimar::bench {

inline constexpr std::int64_t kDatalogLines = 1000000;

// A classic-layout datalog of a million data lines in the temporary folder, made once per
// process and removed at exit.
inline const std::string& millionLineDatalog() {
  static const std::string path = [] {
    const auto file = std::filesystem::temp_directory_path() /
                      ("tallimar-bench-" + std::to_string(::getpid()) + ".xls");
    testsupport::DatalogShape shape;
    shape.layout = testsupport::LogLayout::Classic;
    shape.samples = kDatalogLines;
    shape.seed = 2024;
    testsupport::writeDatalog(file.string(), shape);
    static struct Remover {
      std::filesystem::path file;
      ~Remover() { std::filesystem::remove(file); }
    } remover{file};
    return file.string();
  }();
  return path;
}

// A named-column log of a million rows of 40 columns, made once per process and removed at
// exit.
inline const std::string& millionLineMsl() {
  static const std::string path = [] {
    const auto file = std::filesystem::temp_directory_path() /
                      ("tallimar-bench-" + std::to_string(::getpid()) + ".msl");
    testsupport::DatalogShape shape;
    shape.samples = kDatalogLines;
    shape.seed = 2024;
    testsupport::writeMslDatalog(file.string(), shape, 40);
    static struct Remover {
      std::filesystem::path file;
      ~Remover() { std::filesystem::remove(file); }
    } remover{file};
    return file.string();
  }();
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
