// Real datalogs written by other tuning software (TunerStudio .msl files, and two files that
// only carry a datalog-like name). None is in one of the three layouts, so each must be
// refused without a crash, with the messages of the layout it was taken for and a status line
// naming the file, leaving no crossover points.
#include <gtest/gtest.h>

#include <filesystem>

#include "commands/open_datalog.h"
#include "common/scripted_prompts.h"
#include "common/text_lines.h"
#include "support/temp_dir.h"
#include "workspace/workspace.h"

namespace tallimar::files {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const fs::path kRealLogs = fs::path(TALLIMAR_REAL_DATA_DIR) / "datalogs";

class RealDatalogs : public testsupport::TempDirTest {
 protected:
  void SetUp() override {
    if (!fs::is_directory(kRealLogs)) GTEST_SKIP() << "no real datalogs at " << kRealLogs;
    TempDirTest::SetUp();
  }
  const commands::CommandResult& open(const Lines& files) {
    prompts.openAnswers.push_back(files);
    status.lines.clear();
    prompts.asked.clear();
    last = commands::openDatalog(ws, prompts, status, list);
    return last;
  }
  bool hasLine(const std::string& line) const {
    return std::find(status.lines.begin(), status.lines.end(), line) != status.lines.end();
  }
  commands::CommandResult last;  // of the latest open()
  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog status;
  engine::VectorCrossoverList list;
};

TEST_F(RealDatalogs, EveryFileIsRefusedWithItsNameAndNoPoints) {
  int files = 0;
  for (const auto& entry : fs::directory_iterator(kRealLogs)) {
    const std::string name = entry.path().filename().string();
    ws.crossovers.assign(3, engine::CrossoverPoint{});
    const auto result = open({entry.path().string()});
    ++files;
    EXPECT_TRUE(result.ok()) << name;
    EXPECT_EQ(result.inputsRefused, 1) << name;
    EXPECT_TRUE(ws.crossovers.empty()) << name;
    if (name == "afr.xls") {
      // A binary spreadsheet: it holds carriage returns, so its first "line" is looked at.
      EXPECT_TRUE(
          hasLine("DataLog Not Read: line 1 of afr.xls begins with neither \"Seconds\" "
                  "nor \"Time\""));
      EXPECT_TRUE(prompts.asked.size() == 1u) << name;  // only the file dialog
    } else {
      // LF-only text: taken for the no-line-feed layout, whose first field must be "Seconds";
      // TunerStudio logs begin with a quoted title line instead.
      EXPECT_EQ(status.lines[0], "Reading DataLog File (No Line Feeds)") << name;
      EXPECT_EQ(status.lines[2], "line 1 of " + name + " does not start with a \"Seconds\" column");
      ASSERT_EQ(prompts.asked.size(), 3u) << name;
      EXPECT_EQ(prompts.asked[1].text, "Invalid Datalog File; Missing Header");
    }
  }
  EXPECT_GE(files, 10);
}

TEST_F(RealDatalogs, ConvertedLogsAreRefusedAtTheirFirstUnfittingLine) {
  const fs::path source = kRealLogs / "2019-10-07_18.11.56.msl";
  if (!fs::exists(source)) GTEST_SKIP();
  const Lines lines = common::splitLines(read(source.string()));
  // With CR LF line ends the quoted title line is the first of two lines: no layout.
  std::string crlf;
  for (const auto& line : lines) crlf += line + "\r\n";
  open({write("titled.msl", crlf)});
  EXPECT_TRUE(
      hasLine("DataLog Not Read: line 1 of titled.msl begins with neither \"Seconds\" "
              "nor \"Time\""));
  // Without the two title lines the "Time ..." header makes it a full layout log, and the
  // units row under it is no data line.
  std::string headed;
  for (std::size_t i = 2; i < lines.size(); ++i) headed += lines[i] + "\r\n";
  const auto result = open({write("headed.msl", headed)});
  EXPECT_EQ(result.status, commands::CommandStatus::Failed);
  EXPECT_EQ(
      status.lines.back(),
      "DataLog Read Stopped at line 2 of headed.msl: Seconds (column 2) \"s\" is not a number");
}

}  // namespace
}  // namespace tallimar::files
