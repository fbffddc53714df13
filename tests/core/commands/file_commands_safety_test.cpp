// Every file command refuses a FIFO or a device at once, saying why, and never blocks.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "commands/open_datalog.h"
#include "commands/raw_map_commands.h"
#include "commands/ve_map_file_commands.h"
#include "common/scripted_prompts.h"
#include "support/temp_dir.h"

namespace tallimar::commands {
namespace {

namespace fs = std::filesystem;

// body() in a forked child that an alarm ends after a second, so that a read that blocks
// fails its test instead of hanging the suite: the child's exit code, or -1 when it blocked.
int exitCodeWithinASecond(const std::function<int()>& body) {
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    ::alarm(1);
    ::_exit(body());
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class FileCommandsSafety : public testsupport::TempDirTest {
 protected:
  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog status;
  engine::NullCrossoverList list;
  CommandOptions options{"/opt/tallimar", {}, [] { return std::string("1/2/2025 3:04:05 PM"); }};
};

// One reader per way of opening a user's file (line by line, by records, whole).
TEST_F(FileCommandsSafety, EveryReaderRefusesFifosAndDevicesAtOnce) {
  const struct {
    std::string name;  // the file, a FIFO or a link to /dev/zero
    std::function<void(const std::string&)> read;
    std::string line;  // the line that says why
  } readers[] = {
      {"log.xls",
       [&](const std::string& p) {
         prompts.openAnswers.push_back({p});
         (void)openDatalog(ws, prompts, status, list, options);
       },
       "log.xls is not a file"},
      {"map.HDMAP",
       [&](const std::string& p) {
         prompts.openAnswers.push_back({p});
         (void)openRawDataMap(ws, prompts, status, options);
       },
       "map.HDMAP is not a file"},
      {"table.vex", [&](const std::string& p) { (void)importVeMapFile(ws, p, status); },
       "table.vex is not a file"},
  };
  for (const auto& reader : readers) {
    for (const bool fifo : {true, false}) {
      const std::string file = path(reader.name);
      if (fifo)
        ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
      else
        fs::create_symlink("/dev/zero", file);
      status.lines.clear();
      const int code = exitCodeWithinASecond([&] {
        reader.read(file);
        return std::count(status.lines.begin(), status.lines.end(), reader.line) == 1 ? 0 : 1;
      });
      EXPECT_EQ(code, 0) << reader.name << (fifo ? " (FIFO)" : " (/dev/zero)")
                         << (code == -1 ? " blocked" : " not refused");
      fs::remove(file);
    }
  }
}

}  // namespace
}  // namespace tallimar::commands
