// A filtered map made from an older raw data map: every command that changes the raw data
// map says so, and "Calculate Map" names the map it read.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "commands/open_datalog.h"
#include "commands/raw_map_commands.h"
#include "commands/raw_map_revision.h"
#include "commands/ve_map_commands.h"
#include "common/scripted_prompts.h"
#include "formats/raw_map_file.h"
#include "support/temp_dir.h"

namespace tallimar::commands {
namespace {

using Lines = std::vector<std::string>;

bool has(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A classic datalog whose O2 crosses the transfer voltage at `rpm` and 50 kPa `count` times.
std::string crossingLog(int rpm, int count) {
  std::string text = "Seconds\tRPM\tMAP\tO2\tStatus\tGego\tGair\tGwarm\tGbaro\tGve\tGammaE\r\n";
  for (int i = 0; i < 2 * count + 2; ++i) {
    const char* o2 = (i / 2) % 2 ? "0.2" : "0.8";
    text += "1\t" + std::to_string(rpm) + "\t50\t" + o2 + "\t1\t100\t100\t100\t100\t60\t100\r\n";
  }
  return text;
}

class MapFreshness : public testsupport::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    ws.veTable.setStartupBins();
    ASSERT_TRUE(openLog(crossingLog(2000, 20)).ok());
  }
  CommandResult openLog(const std::string& text) {
    prompts.openAnswers.push_back({write("drive" + std::to_string(++files) + ".xls", text)});
    prompts.answers.push_back(common::Answer::Yes);  // append, when asked
    return openDatalog(ws, prompts, log, list, options);
  }
  Lines run(const std::function<CommandResult()>& command) {
    log.lines.clear();
    (void)command();
    return log.lines;
  }

  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog log;
  engine::VectorCrossoverList list;
  CommandOptions options{"/opt/tallimar", {}, {}};
  int files = 0;
};

// Each way the raw data map changes after a filter makes the filtered map old, says so at
// once and again at "Calculate Map", which still reads the filtered map; filtering again
// makes it current.
TEST_F(MapFreshness, EveryChangeOfTheRawMapAfterAFilterIsReported) {
  const auto hdmap = formats::encodeRawMapFile(ws.rawMap);
  ASSERT_TRUE(hdmap);
  const std::string hdmapPath = write("saved.HDMAP", *hdmap);
  const std::vector<std::pair<const char*, std::function<CommandResult()>>> changes = {
      {"more datalogs", [&] { return openLog(crossingLog(4000, 20)); }},
      {"a datalog that stops on a point outside the map",
       [&] {
         std::string outside = crossingLog(30000, 2);
         outside.erase(0, outside.find('\n') + 1);  // its rows only
         return openLog(crossingLog(2500, 20) + outside);
       }},
      {"a raw data map file",
       [&] {
         prompts.openAnswers.push_back({hdmapPath});
         return openRawDataMap(ws, prompts, log, options);
       }},
      {"clearing", [&] { return clearRawDataMapCommand(ws, log, list); }},
  };
  // Before any filter a change says nothing, and Calculate reads the raw data map.
  EXPECT_FALSE(has(run([&] { return openLog(crossingLog(3000, 20)); }), kFilteredMapOutdatedLine));
  EXPECT_EQ(run([&] { return calculateMapCommand(ws, log); }), Lines{kCalculatedFromRawLine});
  for (const auto& [what, change] : changes) {
    SCOPED_TRACE(what);
    if (!ws.rawDataMapPresent) {
      ASSERT_TRUE(openLog(crossingLog(2000, 20)).ok());
    }
    ASSERT_TRUE(filterRawDatalogCommand(ws, log).ok());
    EXPECT_FALSE(ws.filteredMapOutdated());

    const Lines said = run(change);
    EXPECT_EQ(std::count(said.begin(), said.end(), kFilteredMapOutdatedLine), 1);
    EXPECT_TRUE(ws.filteredMapOutdated());
    if (!ws.rawDataMapPresent) continue;  // cleared: nothing to calculate from
    EXPECT_EQ(run([&] { return calculateMapCommand(ws, log); }),
              (Lines{kFilteredMapOutdatedLine, kCalculatedFromFilteredLine}));
  }
  // A change that adds nothing (a datalog without crossings) leaves the filtered map current.
  ASSERT_TRUE(openLog(crossingLog(2000, 20)).ok());
  ASSERT_TRUE(filterRawDatalogCommand(ws, log).ok());
  EXPECT_FALSE(has(run([&] { return openLog(crossingLog(2000, 0)); }), kFilteredMapOutdatedLine));
  EXPECT_FALSE(ws.filteredMapOutdated());
  EXPECT_EQ(run([&] { return calculateMapCommand(ws, log); }), Lines{kCalculatedFromFilteredLine});
}

}  // namespace
}  // namespace tallimar::commands
