// Real datalogs written by other tuning software (named-column .msl files, and two files that
// only carry a datalog-like name). Every one is read without harm: logs with samples past
// warm-up give points whose NewVE lies within the log's own VE x EGO range, the others say
// why they gave none, and files that are no datalogs are refused naming the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <optional>

#include "commands/open_datalog.h"
#include "common/scripted_prompts.h"
#include "common/text_lines.h"
#include "formats/datalog_msl.h"
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
  bool hasLine(const std::string& line) const {
    return std::find(status.lines.begin(), status.lines.end(), line) != status.lines.end();
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

// The smallest and largest Gve x Gego / 100 over a log's running samples.
struct VeRange {
  int low = std::numeric_limits<int>::max(), high = std::numeric_limits<int>::min();
};
VeRange veTimesEgoRange(const std::string& text) {
  const auto lines = common::splitLines(text);
  VeRange range;
  std::optional<MslColumns> columns;
  for (const std::string& line : lines) {
    if (!columns) {
      if (isMslHeader(line)) columns = *mslColumns(line);
      continue;
    }
    engine::DatalogRecord r;
    if (!readMslRow(line, *columns, 14.7f, r) || r.status != 1) continue;
    const double corrected = r.gve * r.gego / 100.0;
    range.low = std::min(range.low, static_cast<int>(std::floor(corrected)));
    range.high = std::max(range.high, static_cast<int>(std::ceil(corrected)));
  }
  return range;
}

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
                  hasLine("line 1 of " + name + " does not start with a \"Seconds\" column"))
          << name;
      continue;
    }
    ++logs;
    if (name == "2023-01-26_19.39.31_LOG0000.msl") {
      EXPECT_TRUE(hasLine("DataLog Read Error: " + name + " has no VE column (Gve, VE1 or VE)"));
      continue;
    }
    EXPECT_EQ(result.inputsRefused, 0) << name;
    EXPECT_TRUE(hasLineStarting("Samples Read: ")) << name;
    if (ws.crossovers.empty()) continue;
    ++withPoints;
    const VeRange range = veTimesEgoRange(TempDirTest::read(entry.path().string()));
    for (const auto& point : ws.crossovers) {
      ASSERT_GE(point.newVE, range.low) << name;
      ASSERT_LE(point.newVE, range.high) << name;
    }
  }
  EXPECT_EQ(logs, 10);
  EXPECT_GE(withPoints, 4);
}

}  // namespace
}  // namespace tallimar::formats
