// Filtering on the worker thread: the same filtered map as filtering on the window's thread,
// every line delivered in order for the preview, and nothing changed before the result is
// taken over or when the run is dropped.
#include "ui/vemap/filter_run.h"

#include "commands/ve_map_commands.h"
#include "ve_window_fixture.h"

namespace tallimar::ui::testing {
namespace {

workspace::Workspace drivenWorkspace(int filterSteps) {
  workspace::Workspace ws;
  fillDrivenRawMap(ws.rawMap);
  ws.rawDataMapPresent = true;
  ws.veTable.setStartupBins();
  ws.settings.bSplineFilter = static_cast<std::int16_t>(filterSteps);
  return ws;
}

TEST(FilterRun, MatchesTheCommandAndDeliversEveryLineInOrder) {
  workspace::Workspace ws = drivenWorkspace(2);
  workspace::Workspace direct = ws;
  common::VectorStatusLog directLog;
  ASSERT_TRUE(commands::filterRawDatalogCommand(direct, directLog).ok());

  FilterRun run(ws);
  std::vector<FilterRun::Line> lines;
  auto take = [&] {
    for (FilterRun::Line& line : run.takeLines()) lines.push_back(std::move(line));
  };
  QObject::connect(&run, &FilterRun::linesReady, take);
  QSignalSpy finished(&run, &FilterRun::finished);
  run.start();
  ASSERT_TRUE(finished.wait(20000));
  take();
  EXPECT_FALSE(run.running());
  EXPECT_FALSE(ws.veTable.filteredMapPresent);  // nothing changes before the result is taken

  common::VectorStatusLog log;
  EXPECT_TRUE(run.commit(ws, log));
  EXPECT_EQ(log.lines, directLog.lines);
  EXPECT_TRUE(ws.veTable.filteredMapPresent);
  int cells = 0;
  for (int j = 0; j < engine::kRawRpmCells; ++j)
    for (int i = 0; i < engine::kRawMapCells; ++i) {
      ASSERT_EQ(ws.filteredMap.at(j, i), direct.filteredMap.at(j, i)) << j << "," << i;
      cells += ws.filteredMap.at(j, i) > 0;
    }
  EXPECT_GT(cells, 2000);  // not two empty maps

  ASSERT_EQ(lines.size(), 150u + 256u);  // every RPM column, then every MAP row
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const bool first = k < 150;
    EXPECT_EQ(lines[k].step, first ? plot::FilterStep::AlongMap : plot::FilterStep::AlongRpm);
    EXPECT_EQ(lines[k].line, static_cast<int>(first ? k + 1 : k - 149));
  }
}

TEST(FilterRun, ADroppedOrRefusedRunLeavesTheWorkspaceAsItWas) {
  workspace::Workspace ws = drivenWorkspace(2);
  ws.filteredMap.at(40, 40) = 33.0f;
  {
    FilterRun run(ws);
    run.start();
  }  // dropped while it may still be fitting lines
  EXPECT_EQ(ws.filteredMap.at(40, 40), 33.0f);
  EXPECT_FALSE(ws.veTable.filteredMapPresent);

  ws.rawDataMapPresent = false;
  FilterRun refused(ws);
  QSignalSpy finished(&refused, &FilterRun::finished);
  refused.start();
  ASSERT_TRUE(finished.wait(5000));
  common::VectorStatusLog log;
  EXPECT_FALSE(refused.commit(ws, log));
  EXPECT_EQ(log.lines, (std::vector<std::string>{"No raw data map loaded"}));
  EXPECT_EQ(ws.filteredMap.at(40, 40), 33.0f);
}

}  // namespace
}  // namespace tallimar::ui::testing
