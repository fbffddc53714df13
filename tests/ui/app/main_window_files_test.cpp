// The main window's file commands on the worker thread: menus held meanwhile, a cancelled
// dialog, a new map clearing the plot, the saves and the window going away mid-read.
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

class MainWindowFiles : public MainWindowFixture {
 protected:
  void SetUp() override { startWithoutLanguages(); }
  std::string pathIn(const char* name) { return folder.filePath(name).toStdString(); }
  std::string datalog(const char* name, std::int64_t samples, std::uint32_t seed) {
    return testsupport::writeDatalog(pathIn(name), samples, seed);
  }
  std::size_t boxesShown() { return window->plotSurface()->drawList().items.size(); }

  QTemporaryDir folder;
};

TEST_F(MainWindowFiles, TwoDatalogsShowTheCommandsLinesAndTheSavedMapOpensAgain) {
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
  EXPECT_EQ(prompts.asked.at(0).request.initialFolder, emptyFolder.path().toStdString());

  const std::size_t boxes = boxesShown();
  ASSERT_GT(boxes, 0u);
  prompts.saveAnswers = {pathIn("map.HDMAP"), pathIn("points.xls")};
  run("mnuSaveHighDensityMap");
  run("mnuSaveCrossover");
  EXPECT_TRUE(QFile::exists(folder.filePath("points.xls")));
  entry("mnuclearHDMap")->trigger();
  prompts.openAnswers.push_back({pathIn("map.HDMAP")});
  const std::size_t before = statusLines().size();
  run("mnuOpenHighDensityMap");
  EXPECT_EQ(newStatusLines(before), (Lines{"Loading Raw Data Map", "Loading Finished",
                                           "Plotting O2 Crossover", "Finished Plotting"}));
  EXPECT_EQ(boxesShown(), boxes);
}

TEST_F(MainWindowFiles, MapCommandsAreDisabledWhileADatalogIsRead) {
  prompts.openAnswers.push_back({datalog("a.xls", 20000, 3)});
  QSignalSpy finished(window.get(), &MainWindow::commandFinished);
  entry("mnuOpenDatalog")->trigger();
  ASSERT_TRUE(window->busy());
  for (const char* name : {"mnuOpenDatalog", "mnuclearHDMap", "mnuCalculateNewMap", "mnuSettings"})
    EXPECT_FALSE(entry(name)->isEnabled()) << name;
  EXPECT_TRUE(entry("mnuExit")->isEnabled());
  auto* progress = window->findChild<QProgressBar*>("prgCommand");
  EXPECT_FALSE(progress->isHidden());
  // MenuButtons from a closing window does not enable them before the read ends.
  window->MenuButtons(true);
  EXPECT_FALSE(entry("mnuclearHDMap")->isEnabled());

  ASSERT_TRUE(finished.wait(30000));
  EXPECT_TRUE(entry("mnuclearHDMap")->isEnabled() && progress->isHidden());
}

TEST_F(MainWindowFiles, StartingANewMapClearsPlotAndListEvenWhenTheDialogIsCancelled) {
  prompts.openAnswers.push_back({datalog("a.xls", 3000, 4)});
  run("mnuOpenDatalog");
  ASSERT_GT(boxesShown(), 0u);
  prompts.answers = {common::Answer::No};  // "append?" No, then a cancelled dialog
  run("mnuOpenDatalog");
  EXPECT_FALSE(workspace.rawDataMapPresent);
  EXPECT_TRUE(crossoverLines().empty());
  EXPECT_EQ(boxesShown(), 0u);
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
