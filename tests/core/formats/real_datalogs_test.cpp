// Real datalogs: every file is read without harm; files that are no datalogs are refused
// naming the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "commands/open_datalog.h"
#include "common/scripted_prompts.h"
#include "support/temp_dir.h"
#include "workspace/workspace.h"

namespace tallimar::formats {
namespace {

namespace fs = std::filesystem;

const fs::path kRealLogs = fs::path(TALLIMAR_REAL_DATA_DIR) / "datalogs";

class RealDatalogs : public testsupport::TempDirTest {
 protected:
  void SetUp() override {
    if (!fs::is_directory(kRealLogs)) GTEST_SKIP() << "no real datalogs at " << kRealLogs;
    TempDirTest::SetUp();
  }
  commands::CommandResult open(const std::string& file) {
    prompts.openAnswers.push_back({file});
    status.lines.clear();
    return commands::openDatalog(ws, prompts, status, list);
  }
  bool hasLineStarting(const std::string& start) const {
    return std::any_of(status.lines.begin(), status.lines.end(),
                       [&](const std::string& line) { return line.rfind(start, 0) == 0; });
  }
  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog status;
  engine::VectorCrossoverList list;
};

TEST_F(RealDatalogs, EveryFileIsReadWithoutHarm) {
  int logs = 0, withPoints = 0;
  for (const auto& entry : fs::directory_iterator(kRealLogs)) {
    const std::string name = entry.path().filename().string();
    ws.crossovers.clear();
    ws.rawDataMapPresent = false;  // no append question
    const auto result = open(entry.path().string());
    EXPECT_EQ(result.status, commands::CommandStatus::Done) << name;
    if (entry.path().extension() == ".xls") {
      // A calibration table and a binary spreadsheet: refused, naming the file.
      EXPECT_EQ(result.inputsRefused, 1) << name;
      EXPECT_TRUE(ws.crossovers.empty());
      EXPECT_TRUE(hasLineStarting("DataLog Not Read: line 1 of " + name) ||
                  hasLineStarting("line 1 of " + name + " does not start with a \"Seconds\""))
          << name;
      continue;
    }
    ++logs;
    if (name == "2023-01-26_19.39.31_LOG0000.msl") {
      EXPECT_TRUE(hasLineStarting("DataLog Read Error: " + name + " has no VE column"));
      continue;
    }
    EXPECT_EQ(result.inputsRefused, 0) << name;
    EXPECT_TRUE(hasLineStarting("Samples Read: ")) << name;
    if (!ws.crossovers.empty()) ++withPoints;
  }
  EXPECT_EQ(logs, 10);
  EXPECT_GE(withPoints, 4);
}

}  // namespace
}  // namespace tallimar::formats
