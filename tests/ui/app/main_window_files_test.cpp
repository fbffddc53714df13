// The main window's file commands run on the worker thread: "Open Datalog" with several
// files, the menus it holds meanwhile, a cancelled dialog, a new map clearing the plot, the
// saves and the raw data map round trip, and the window going away while a command runs.
// (The commands' own questions and refusals are tested without a window.)
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProgressBar>

#include "commands/open_datalog.h"
#include "support/datalog_generator.h"
#include "ui/app/main_window_fixture.h"
#include "ui/plot/plot_widget.h"

namespace tallimar::ui {
namespace {

using common::Answer;

class MainWindowFiles : public MainWindowFixture {
 protected:
  void SetUp() override { startWithoutLanguages(); }
  std::string pathIn(const char* name) { return folder.filePath(name).toStdString(); }
  // A generated classic datalog of `samples` lines in the test's folder.
  std::string datalog(const char* name, std::int64_t samples, std::uint32_t seed) {
    return testsupport::writeDatalog(pathIn(name), samples, seed);
  }
  std::size_t cellsWithValues() {
    std::size_t filled = 0;
    for (int r = 0; r < engine::kRawRpmCells; ++r)
      for (int m = 0; m < engine::kRawMapCells; ++m)
        filled += workspace.rawMap.at(r, m).values.empty() ? 0 : 1;
    return filled;
  }
  std::size_t boxesShown() { return window->plotSurface()->drawList().items.size(); }

  QTemporaryDir folder;
};

TEST_F(MainWindowFiles, TwoDatalogsInOneCommandShowTheSameLinesAsTheCommandAlone) {
  const std::string a = datalog("a.xls", 3000, 1);
  const std::string b = datalog("b.xls", 2000, 2);
  workspace::Workspace alone;
  alone.settings = workspace.settings;
  common::VectorStatusLog aloneStatus;
  engine::VectorCrossoverList aloneList;
  common::ScriptedPrompts aloneAnswers;
  aloneAnswers.openAnswers.push_back({a, b});
  (void)commands::openDatalog(alone, aloneAnswers, aloneStatus, aloneList);

  prompts.openAnswers.push_back({a, b});
  run("mnuOpenDatalog");
  Lines expected = aloneStatus.lines;
  expected.insert(expected.end(), {"Plotting O2 Crossover", "Finished Plotting"});
  EXPECT_EQ(newStatusLines(startUpLines), expected);
  EXPECT_EQ(crossoverLines(), aloneList.lines);
  EXPECT_EQ(list("lstStatus")->currentIndex().row(), static_cast<int>(statusLines().size()) - 1);
  EXPECT_EQ(workspace.crossovers.size(), alone.crossovers.size());
  EXPECT_GT(boxesShown(), 0u);
  EXPECT_EQ(prompts.asked.at(0).request.initialFolder, emptyFolder.path().toStdString());
}

TEST_F(MainWindowFiles, MapCommandsAreDisabledWhileADatalogIsRead) {
  prompts.openAnswers.push_back({datalog("a.xls", 20000, 3)});
  QSignalSpy finished(window.get(), &MainWindow::commandFinished);
  entry("mnuOpenDatalog")->trigger();
  ASSERT_TRUE(window->busy());
  for (const char* name : {"mnuOpenDatalog", "mnuclearHDMap", "mnuCalculateNewMap", "mnuSettings"})
    EXPECT_FALSE(entry(name)->isEnabled()) << name;
  EXPECT_TRUE(entry("mnuExit")->isEnabled());
  EXPECT_FALSE(window->findChild<QProgressBar*>("prgCommand")->isHidden());
  // MenuButtons from a closing window does not enable them before the read ends.
  window->MenuButtons(true);
  EXPECT_FALSE(entry("mnuclearHDMap")->isEnabled());

  ASSERT_TRUE(finished.wait(30000));
  EXPECT_TRUE(entry("mnuclearHDMap")->isEnabled());
  EXPECT_TRUE(window->findChild<QProgressBar*>("prgCommand")->isHidden());
}

TEST_F(MainWindowFiles, CancelledDialogTouchesNothingAndStartingANewMapClearsPlotAndList) {
  window->crossoverList().append(std::string("an earlier line"));
  workspace.crossovers.resize(3);
  run("mnuOpenDatalog");  // no answer queued: the dialog is cancelled
  EXPECT_EQ(crossoverLines(), Lines{"an earlier line"});
  EXPECT_EQ(workspace.crossovers.size(), 3u);
  EXPECT_EQ(statusLines().size(), startUpLines);
  EXPECT_TRUE(entry("mnuOpenDatalog")->isEnabled());

  prompts.openAnswers.push_back({datalog("a.xls", 3000, 4)});
  run("mnuOpenDatalog");
  ASSERT_GT(boxesShown(), 0u);
  prompts.answers = {Answer::No};  // "append?" No, then a cancelled dialog
  const std::size_t before = statusLines().size();
  run("mnuOpenDatalog");
  EXPECT_EQ(newStatusLines(before), (Lines{"Clearing Crossover Array", "Finished Clearing Array"}));
  EXPECT_EQ(cellsWithValues(), 0u);
  EXPECT_TRUE(crossoverLines().empty());
  EXPECT_EQ(boxesShown(), 0u);
}

TEST_F(MainWindowFiles, SavedRawDataMapOpensAgainAndIsPlotted) {
  prompts.openAnswers.push_back({datalog("a.xls", 3000, 6)});
  run("mnuOpenDatalog");
  const std::size_t filled = cellsWithValues();
  const std::size_t boxes = boxesShown();

  const std::string map = pathIn("map.HDMAP");
  prompts.saveAnswers = {map, pathIn("points.xls")};
  run("mnuSaveHighDensityMap");
  run("mnuSaveCrossover");
  EXPECT_TRUE(QFile::exists(folder.filePath("points.xls")));

  entry("mnuclearHDMap")->trigger();
  EXPECT_EQ(boxesShown(), 0u);
  prompts.openAnswers.push_back({map});
  const std::size_t before = statusLines().size();
  run("mnuOpenHighDensityMap");
  EXPECT_EQ(newStatusLines(before), (Lines{"Loading Raw Data Map", "Loading Finished",
                                           "Plotting O2 Crossover", "Finished Plotting"}));
  EXPECT_EQ(cellsWithValues(), filled);
  EXPECT_EQ(boxesShown(), boxes);
}

TEST_F(MainWindowFiles, ClosingTheWindowDuringAReadStopsItAndKeepsNothing) {
  prompts.openAnswers.push_back({datalog("big.xls", 300000, 7)});
  entry("mnuOpenDatalog")->trigger();
  ASSERT_TRUE(window->busy());
  QElapsedTimer clock;
  clock.start();
  window.reset();  // cancels the read and waits for the worker
  EXPECT_LT(clock.elapsed(), 5000);
  EXPECT_FALSE(workspace.rawDataMapPresent);
}

}  // namespace
}  // namespace tallimar::ui
