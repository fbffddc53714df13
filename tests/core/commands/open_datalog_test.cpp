// The "Open Datalog" command: its questions, status and crossover list lines, several files,
// refused files that let the command go on, and the failures that end it early.
#include "commands/open_datalog.h"

#include <gtest/gtest.h>

#include "common/scripted_prompts.h"
#include "support/datalog_generator.h"
#include "support/temp_dir.h"
#include "workspace/workspace.h"

namespace tallimar::commands {
namespace {

using common::Answer;
using Lines = std::vector<std::string>;

const std::string kData = TALLIMAR_TEST_DATA_DIR "/datalogs/";
const std::string kHeader = "Seconds\tRPM\tMAP\tO2\tStatus\tGego\tGair\tGwarm\tGbaro\tGve\tGammaE";
const Lines kBuildLines{"Building Crossover Array", "Finished Crossover Array",
                        "Calculating high density map", "Finished high density map"};

std::string row(int rpm, const char* o2, int map = 50, int gve = 60) {
  return "1\t" + std::to_string(rpm) + "\t" + std::to_string(map) + "\t" + o2 +
         "\t1\t100\t100\t100\t100\t" + std::to_string(gve) + "\t100\r\n";
}

Lines concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class OpenDatalog : public testsupport::TempDirTest {
 protected:
  const CommandResult& open(const Lines& files) {
    prompts.openAnswers.push_back(files);
    status.lines.clear();
    last = openDatalog(ws, prompts, status, list, options);
    return last;
  }
  // A classic file whose crossings are at the given RPMs (one every two samples).
  std::string crossingFile(const std::string& name, const std::vector<int>& rpms) {
    std::string text = kHeader + "\r\n" + row(2000, "0.8") + row(2000, "0.8");
    const char* sides[] = {"0.2", "0.8"};
    for (std::size_t i = 0; i < rpms.size(); ++i) {
      text += row(2000, sides[i % 2]);  // the second sample of the side passed
      text += row(rpms[i], sides[(i + 1) % 2]);
    }
    return write(name, text);
  }

  CommandResult last;  // of the latest open()
  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog status;
  engine::VectorCrossoverList list;
  CommandOptions options{"/opt/tallimar", {}, {}};
};

TEST_F(OpenDatalog, OneClassicFileReadsDetectsAndBuilds) {
  const auto result = open({kData + "crossover_example_classic.xls"});
  EXPECT_EQ(result.status, CommandStatus::Done);
  EXPECT_EQ(status.lines,
            concat({{"Reading DataLog File (Classic - LineFeeds)", "Finding O2 Crossover",
                     "2 Crossover Points Found", "DataLog Entries Read: 5"},
                    kBuildLines}));
  EXPECT_EQ(list.lines, (Lines{"Count:     2 MAP: 57 RPM: 2520 Gego:103 Gve: 55 Nve: 57",
                               "Count:     4 MAP: 59 RPM: 2540 Gego:101 Gve: 50 Nve: 50"}));
  EXPECT_EQ(ws.rawMap.at(25, 59).average, 50);
  EXPECT_TRUE(ws.datalogPresent);
  EXPECT_FALSE(ws.rawDataMapPresent);  // 10 points or fewer
  EXPECT_TRUE(result.changed);

  ASSERT_EQ(prompts.asked.size(), 1u);  // no append question without a map
  EXPECT_EQ(prompts.asked[0].request.initialFolder, "/opt/tallimar");
  ws.settings.incPath = "/home/me/inc";
  open({kData + "crossover_example_classic.xls"});
  EXPECT_EQ(prompts.asked.back().request.initialFolder, "/home/me/inc");
}

// Each file is marked in the list; the points and the "raw data map present" flag (more than
// ten points) come from the last file.
TEST_F(OpenDatalog, SeveralFilesAreMarkedAndTheLastOneDecides) {
  const auto many = crossingFile("many.xls", std::vector<int>(11, 2500));
  const auto few = crossingFile("few.xls", std::vector<int>(10, 3000));
  open({many, few});
  EXPECT_EQ(list.lines[0], "**** DataLog: many.xls ****");
  EXPECT_EQ(list.lines[12], "**** DataLog: few.xls ****");
  EXPECT_EQ(status.lines[0], "Reading DataLog: many.xls");
  ASSERT_EQ(ws.crossovers.size(), 10u);
  EXPECT_EQ(ws.crossovers[0].rpm, 3000);
  EXPECT_FALSE(ws.rawDataMapPresent);
  open({few, many});
  EXPECT_TRUE(ws.rawDataMapPresent);
}

TEST_F(OpenDatalog, AppendQuestionKeepsClearsOrCancels) {
  const auto file = crossingFile("f.xls", std::vector<int>(12, 2500));
  open({file});
  ASSERT_TRUE(ws.rawDataMapPresent);
  const std::string once = ws.rawMap.at(25, 50).values;

  prompts.answers.push_back(Answer::Yes);
  open({file});
  EXPECT_EQ(prompts.asked[1].text,
            "High Density VE Array already loaded, do you wish to append to the map? <No> to "
            "clear map, <Cancel> to cancel");
  EXPECT_EQ(ws.rawMap.at(25, 50).values, once + "," + once);

  prompts.answers.push_back(Answer::Cancel);
  prompts.openAnswers.push_back({file});
  status.lines.clear();
  EXPECT_EQ(openDatalog(ws, prompts, status, list, options).status, CommandStatus::Cancelled);
  EXPECT_TRUE(status.lines.empty());
  prompts.openAnswers.clear();

  ws.rawMap.at(0, 50).values = " 1";
  prompts.answers.push_back(Answer::No);
  open({file});
  EXPECT_EQ(status.lines[0], "Clearing Crossover Array");
  EXPECT_EQ(ws.rawMap.at(25, 50).values, once);
  EXPECT_EQ(ws.rawMap.at(0, 50).values, " 1");

  // A cancelled file dialog after Yes changes nothing.
  prompts.answers.push_back(Answer::Yes);
  EXPECT_EQ(open({}).status, CommandStatus::Cancelled);
  EXPECT_EQ(ws.rawMap.at(25, 50).values, once);
}

TEST_F(OpenDatalog, RefusedFilesLeaveNoPointsAndTheCommandGoesOn) {
  const auto good = crossingFile("good.xls", {2000, 2100});
  const auto table = write("aem.xls", "Voltage\tAFR\n0.00\t9.72\n");
  const auto binary = write("sheet.xls", std::string("\xd0\xcf\x11\xe0\r\n\x01\x02", 8));
  const auto missing = path("gone.xls");
  for (const auto& refused : {table, binary, missing}) {
    open({good});
    ASSERT_EQ(ws.crossovers.size(), 2u);
    prompts.asked.clear();
    const auto result = open({refused});
    EXPECT_EQ(result.status, CommandStatus::Done);
    EXPECT_EQ(result.inputsRefused, 1);
    EXPECT_TRUE(ws.crossovers.empty()) << refused;
    EXPECT_TRUE(ws.datalogPresent);
    EXPECT_TRUE(std::equal(kBuildLines.begin(), kBuildLines.end(), status.lines.end() - 4));
  }
  // The last one: a file that cannot be opened.
  EXPECT_EQ(prompts.asked[1].text, "DataLog Read Failed");
  EXPECT_EQ(status.lines[1], "gone.xls cannot be opened: No such file or directory");

  open({table, good});
  EXPECT_EQ(prompts.asked.end()[-2].text, "Invalid Datalog File; Missing Header");
  EXPECT_EQ(status.lines[3], "line 1 of aem.xls does not start with a \"Seconds\" column");
  EXPECT_EQ(ws.crossovers.size(), 2u);  // the good file after it was read

  open({binary});
  EXPECT_EQ(status.lines[0],
            "DataLog Not Read: line 1 of sheet.xls begins with neither \"Seconds\" nor \"Time\"");
}

TEST_F(OpenDatalog, BadDataLineEndsTheCommandAndKeepsThePreviousPoints) {
  const auto first = crossingFile("first.xls", {2000, 2100});
  const auto bad =
      write("bad.xls", kHeader + "\r\n" + row(2000, "0.8") + "\r\n" + row(2000, "0.8"));
  const auto never = crossingFile("never.xls", {3000});
  const auto result = open({first, bad, never});
  EXPECT_EQ(result.status, CommandStatus::Failed);
  EXPECT_TRUE(result.changed);
  EXPECT_EQ(status.lines.back(), "DataLog Read Stopped at line 3 of bad.xls: blank line");
  ASSERT_EQ(ws.crossovers.size(), 2u);
  EXPECT_TRUE(ws.rawMap.at(30, 50).values.empty());
  EXPECT_FALSE(ws.datalogPresent);  // the flags are not updated
}

TEST_F(OpenDatalog, PointOutsideTheMapStopsTheBuildAfterTheEarlierPoints) {
  const auto file = crossingFile("fast.xls", {2000, 15100, 2200});
  ws.settings.veOutlierEnable = false;
  const auto result = open({file});
  EXPECT_EQ(result.status, CommandStatus::Failed);
  EXPECT_EQ(status.lines.back(),
            "Crossover Array Stopped at line 7 of fast.xls: RPM 15100 and MAP 50 lie outside "
            "the raw data map");
  EXPECT_EQ(ws.rawMap.at(20, 50).values, " 60");
  EXPECT_FALSE(ws.datalogPresent);
}

TEST_F(OpenDatalog, CancelledReadKeepsThePreviousPointsAndEndsTheCommand) {
  const auto first = crossingFile("first.xls", {2000});
  open({first});
  const auto big = path("big.xls");
  testsupport::DatalogShape shape;
  shape.samples = 200000;
  testsupport::writeDatalog(big, shape);
  int calls = 0;
  options.progress = [&](std::uint64_t, std::uint64_t) { return ++calls < 3; };
  const auto result = open({big});
  EXPECT_EQ(result.status, CommandStatus::Failed);
  EXPECT_EQ(status.lines.back(), "DataLog Read Cancelled: big.xls");
  EXPECT_EQ(ws.crossovers.size(), 1u);
}

}  // namespace
}  // namespace tallimar::commands
