// The "Open Datalog" command: questions, lines, refusals, early ends and the map it makes old.
#include "commands/open_datalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "commands/raw_map_commands.h"
#include "commands/raw_map_revision.h"
#include "commands/ve_map_commands.h"
#include "common/scripted_prompts.h"
#include "formats/raw_map_file.h"
#include "support/datalog_generator.h"
#include "support/temp_dir.h"

namespace tallimar::commands {
namespace {

using common::Answer;
using Lines = std::vector<std::string>;

const std::string kHeader = "Seconds\tRPM\tMAP\tO2\tStatus\tGego\tGair\tGwarm\tGbaro\tGve\tGammaE";
const Lines kBuildLines{"Building Crossover Array", "Finished Crossover Array",
                        "Calculating high density map", "Finished high density map"};

std::string row(int rpm, const char* o2) {
  return "1\t" + std::to_string(rpm) + "\t50\t" + o2 + "\t1\t100\t100\t100\t100\t60\t100\r\n";
}

class OpenDatalog : public testsupport::TempDirTest {
 protected:
  const CommandResult& open(const Lines& files) {
    prompts.openAnswers.push_back(files);
    status.lines.clear();
    return last = openDatalog(ws, prompts, status, list, options);
  }
  // A classic file whose crossings are at the given RPMs (one every two samples).
  std::string crossingFile(const std::string& name, const std::vector<int>& rpms) {
    std::string text = kHeader + "\r\n" + row(2000, "0.8") + row(2000, "0.8");
    const char* sides[] = {"0.2", "0.8"};
    for (std::size_t i = 0; i < rpms.size(); ++i)
      text += row(2000, sides[i % 2]) + row(rpms[i], sides[(i + 1) % 2]);
    return write(name, text);
  }

  CommandResult last;
  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog status;
  engine::VectorCrossoverList list;
  CommandOptions options{"/opt/tallimar", {}, {}};
};

TEST_F(OpenDatalog, OneClassicFileReadsDetectsAndBuilds) {
  const auto result = open({TALLIMAR_TEST_DATA_DIR "/datalogs/crossover_example_classic.xls"});
  EXPECT_EQ(result.status, CommandStatus::Done);
  EXPECT_EQ(Lines(status.lines.begin(), status.lines.end() - 4),
            (Lines{"Reading DataLog File (Classic - LineFeeds)", "Finding O2 Crossover",
                   "2 Crossover Points Found", "DataLog Entries Read: 5"}));
  EXPECT_TRUE(ws.datalogPresent && result.changed);
  ASSERT_EQ(prompts.asked.size(), 1u);  // no append question without a map
  EXPECT_EQ(prompts.asked[0].request.initialFolder, "/opt/tallimar");  // no INCPath set
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
  EXPECT_EQ(ws.crossovers.size(), 10u);
  EXPECT_FALSE(ws.rawDataMapPresent);
  open({few, many});
  EXPECT_TRUE(ws.rawDataMapPresent);
}

TEST_F(OpenDatalog, AppendQuestionKeepsClearsOrCancels) {
  const auto file = crossingFile("f.xls", std::vector<int>(12, 2500));
  open({file});
  const std::string once = ws.rawMap.at(25, 50).values;
  prompts.answers.push_back(Answer::Yes);
  open({file});
  EXPECT_EQ(prompts.asked[1].text,
            "High Density VE Array already loaded, do you wish to append to the map? <No> to "
            "clear map, <Cancel> to cancel");
  EXPECT_EQ(ws.rawMap.at(25, 50).values, once + "," + once);

  prompts.answers.push_back(Answer::Cancel);
  EXPECT_EQ(open({file}).status, CommandStatus::Cancelled);
  EXPECT_TRUE(status.lines.empty());

  ws.rawMap.at(0, 50).values = " 1";
  prompts.answers.push_back(Answer::No);
  open({file});
  EXPECT_EQ(status.lines[0], "Clearing Crossover Array");
  EXPECT_EQ(ws.rawMap.at(25, 50).values, once);
  EXPECT_EQ(ws.rawMap.at(0, 50).values, " 1");
}

// A refused file drops the earlier points, says why (a box for some) and the next file is
// still read; the build runs after it as after any file.
TEST_F(OpenDatalog, RefusedFilesLeaveNoPointsAndTheCommandGoesOn) {
  const auto good = crossingFile("good.xls", {2000, 2100});
  const struct {
    std::string file;
    std::string box;   // "" when no box is shown
    std::string line;  // the status line after "Reading DataLog: <name>" or the layout line
  } cases[] = {
      {path("gone.xls"), "DataLog Read Failed",
       "gone.xls cannot be opened: No such file or directory"},
      {write("aem.xls", "Voltage\tAFR\n0.00\t9.72\n"), "Invalid Datalog File; Missing Header",
       "line 1 of aem.xls does not start with a \"Seconds\" column"},
      {write("sheet.xls", std::string("\xd0\xcf\x11\xe0\r\n\x01\x02", 8)), "",
       "DataLog Not Read: line 1 of sheet.xls begins with neither \"Seconds\" nor \"Time\""},
  };
  for (const auto& c : cases) {
    open({good});
    prompts.asked.clear();
    const auto result = open({c.file});
    EXPECT_EQ(result.status, CommandStatus::Done);
    EXPECT_EQ(result.inputsRefused, 1);
    EXPECT_TRUE(ws.crossovers.empty() && ws.datalogPresent) << c.file;
    EXPECT_NE(std::find(status.lines.begin(), status.lines.end(), c.line), status.lines.end());
    EXPECT_TRUE(std::equal(kBuildLines.begin(), kBuildLines.end(), status.lines.end() - 4));
    const bool boxShown = prompts.asked.size() > 1 && prompts.asked[1].text == c.box;
    EXPECT_EQ(boxShown, !c.box.empty());
    open({c.file, good});
    EXPECT_EQ(ws.crossovers.size(), 2u);
  }
}

// A bad data line, a point outside the map or a cancelled read ends the command: the points
// read before stay, the flags are not updated.
TEST_F(OpenDatalog, FailuresEndTheCommandAndKeepThePointsReadBefore) {
  const auto first = crossingFile("first.xls", {2000, 2100});
  const auto bad =
      write("bad.xls", kHeader + "\r\n" + row(2000, "0.8") + "\r\n" + row(2000, "0.8"));
  const auto big = testsupport::writeDatalog(path("big.xls"), 200000);
  const struct {
    Lines files;
    std::string line;
    std::size_t points;
  } cases[] = {
      {{first, bad, crossingFile("never.xls", {3000})},
       "DataLog Read Stopped at line 3 of bad.xls: blank line",
       2},
      {{crossingFile("fast.xls", {2000, 15100, 2200})},
       "Crossover Array Stopped at line 7 of fast.xls: RPM 15100 and MAP 50 lie outside the raw "
       "data map",
       3},
      {{first, big}, "DataLog Read Cancelled: big.xls", 2},
  };
  // Reading stops inside the large file, after its first report.
  options.progress = [](std::uint64_t done, std::uint64_t total) {
    return done == 0 || total < 1000000;
  };
  for (const auto& c : cases) {
    ws = workspace::Workspace{};
    ws.settings.veOutlierEnable = false;
    const auto result = open(c.files);
    EXPECT_EQ(result.status, CommandStatus::Failed);
    EXPECT_EQ(status.lines.back(), c.line);
    EXPECT_EQ(ws.crossovers.size(), c.points) << c.line;
    EXPECT_FALSE(ws.datalogPresent);
  }
}

// Each way the raw data map changes after a filter makes the filtered map old: said at once
// and again by "Calculate Map", which still reads it; filtering again makes it current.
TEST_F(OpenDatalog, EveryChangeOfTheRawMapAfterAFilterIsReported) {
  const auto drive = [&](const char* name, int rpm, int count = 20) {
    return crossingFile(name, std::vector<int>(count, rpm));
  };
  const auto outdatedSaid = [&] {
    return std::count(status.lines.begin(), status.lines.end(), kFilteredMapOutdatedLine);
  };
  const auto calculate = [&] {
    status.lines.clear();
    (void)calculateMapCommand(ws, status);
    return status.lines;
  };
  ws.veTable.setStartupBins();
  prompts.answers.assign(20, Answer::Yes);  // append whenever asked
  open({drive("a.xls", 2000)});
  const auto hdmap = write("saved.HDMAP", *formats::encodeRawMapFile(ws.rawMap));
  open({drive("b.xls", 3000)});  // before any filter a change says nothing
  EXPECT_EQ(outdatedSaid(), 0);
  EXPECT_EQ(calculate(), Lines{kCalculatedFromRawLine});

  std::vector<int> stopping(20, 2500);
  stopping.push_back(30000);  // outside the map: the build stops there
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"more datalogs", [&] { open({drive("c.xls", 4000)}); }},
      {"a datalog that stops", [&] { open({crossingFile("d.xls", stopping)}); }},
      {"a raw data map file",
       [&] {
         prompts.openAnswers.push_back({hdmap});
         (void)openRawDataMap(ws, prompts, status, options);
       }},
      {"clearing", [&] { (void)clearRawDataMapCommand(ws, status, list); }},
  };
  for (const auto& [what, change] : changes) {
    SCOPED_TRACE(what);
    ASSERT_TRUE(filterRawDatalogCommand(ws, status).ok());
    status.lines.clear();
    change();
    EXPECT_EQ(outdatedSaid(), 1);
    EXPECT_TRUE(ws.filteredMapOutdated());
    if (ws.rawDataMapPresent) {
      EXPECT_EQ(calculate(), (Lines{kFilteredMapOutdatedLine, kCalculatedFromFilteredLine}));
    }
  }
  // A datalog that adds nothing leaves the filtered map current.
  open({drive("a.xls", 2000)});
  ASSERT_TRUE(filterRawDatalogCommand(ws, status).ok());
  open({drive("e.xls", 2000, 0)});
  EXPECT_EQ(outdatedSaid(), 0);
  EXPECT_EQ(calculate(), Lines{kCalculatedFromFilteredLine});
}

}  // namespace
}  // namespace tallimar::commands
