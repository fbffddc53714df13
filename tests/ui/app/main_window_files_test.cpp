// The main window's file commands run on the worker thread: "Open Datalog" with several
// files, its append question, a cancelled dialog, the saves and their refusals, the raw data
// map round trip, and the window going away while a command runs. (That lines made before a
// question are shown when it is asked is BackgroundCommand's, tested there.)
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProgressBar>
#include <QSignalSpy>
#include <filesystem>

#include "commands/open_datalog.h"
#include "support/datalog_generator.h"
#include "ui/app/main_window_fixture.h"
#include "ui/plot/plot_widget.h"

namespace tallimar::ui {
namespace {

using common::Answer;
namespace fs = std::filesystem;

const std::string kAppendQuestion =
    "High Density VE Array already loaded, do you wish to append to the map? <No> to clear "
    "map, <Cancel> to cancel";

Lines concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class MainWindowFiles : public MainWindowFixture {
 protected:
  void SetUp() override {
    startWithoutLanguages();
    startUpLines = statusLines().size();
  }
  // A generated classic datalog of `samples` lines in the test's folder.
  std::string datalog(const std::string& name, std::int64_t samples, std::uint32_t seed) {
    testsupport::DatalogShape shape;
    shape.samples = samples;
    shape.seed = seed;
    const std::string path = (fs::path(folder.path().toStdString()) / name).string();
    testsupport::writeDatalog(path, shape);
    return path;
  }
  std::string pathIn(const std::string& name) {
    return (fs::path(folder.path().toStdString()) / name).string();
  }
  // Triggers an entry and waits until its command has ended.
  void run(const char* name) {
    QSignalSpy finished(window.get(), &MainWindow::commandFinished);
    entry(name)->trigger();
    if (window->busy()) {
      ASSERT_TRUE(finished.wait(30000)) << name << " did not end";
    }
  }
  // What the same Open Datalog gives without a window, on a workspace like the window's.
  struct Headless {
    common::VectorStatusLog status;
    engine::VectorCrossoverList list;
    workspace::Workspace ws;
  };
  std::unique_ptr<Headless> headless(const Lines& files) {
    auto h = std::make_unique<Headless>();
    h->ws.settings = workspace.settings;
    common::ScriptedPrompts answers;
    answers.openAnswers.push_back(files);
    (void)commands::openDatalog(h->ws, answers, h->status, h->list);
    return h;
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
  std::size_t startUpLines = 0;
};

TEST_F(MainWindowFiles, TwoDatalogsInOneCommandShowTheirLinesInOrder) {
  const std::string a = datalog("a.xls", 3000, 1);
  const std::string b = datalog("b.xls", 2000, 2);
  const auto expected = headless({a, b});
  prompts.openAnswers.push_back({a, b});
  run("mnuOpenDatalog");

  EXPECT_EQ(newStatusLines(startUpLines),
            concat({expected->status.lines, {"Plotting O2 Crossover", "Finished Plotting"}}));
  EXPECT_EQ(crossoverLines(), expected->list.lines);
  ASSERT_FALSE(crossoverLines().empty());
  EXPECT_EQ(crossoverLines().front(), "**** DataLog: a.xls ****");
  EXPECT_EQ(newStatusLines(startUpLines).front(), "Reading DataLog: a.xls");
  EXPECT_NE(std::find(crossoverLines().begin(), crossoverLines().end(), "**** DataLog: b.xls ****"),
            crossoverLines().end());
  EXPECT_EQ(list("lstStatus")->currentIndex().row(), static_cast<int>(statusLines().size()) - 1);

  EXPECT_TRUE(workspace.datalogPresent);
  EXPECT_TRUE(workspace.rawDataMapPresent);
  EXPECT_EQ(workspace.crossovers.size(), expected->ws.crossovers.size());
  EXPECT_GT(boxesShown(), 0u);
  const auto& request = prompts.asked.at(0).request;
  EXPECT_EQ(request.title, "Load Datalog");
  EXPECT_EQ(request.initialFolder, emptyFolder.path().toStdString());
}

TEST_F(MainWindowFiles, MapCommandsAreDisabledWhileADatalogIsRead) {
  prompts.openAnswers.push_back({datalog("a.xls", 20000, 3)});
  QSignalSpy finished(window.get(), &MainWindow::commandFinished);
  entry("mnuOpenDatalog")->trigger();
  ASSERT_TRUE(window->busy());
  for (const char* name :
       {"mnuOpenDatalog", "mnuOpenHighDensityMap", "mnuSaveHighDensityMap", "mnuSaveCrossover",
        "mnuPrintHDMap", "mnuclearHDMap", "mnuCalculateNewMap", "mnuCPUAcquire", "mnuSettings"})
    EXPECT_FALSE(entry(name)->isEnabled()) << name;
  for (const char* name :
       {"mnuAbout", "mnuExit", "mnuHelp", "mnuPrintPreview", "mnuCreateWBFactor"})
    EXPECT_TRUE(entry(name)->isEnabled()) << name;
  EXPECT_FALSE(window->findChild<QProgressBar*>("prgCommand")->isHidden());

  // MenuButtons from a closing window does not enable them before the read ends.
  window->MenuButtons(true);
  EXPECT_FALSE(entry("mnuclearHDMap")->isEnabled());

  ASSERT_TRUE(finished.wait(30000));
  EXPECT_TRUE(entry("mnuclearHDMap")->isEnabled());
  EXPECT_TRUE(window->findChild<QProgressBar*>("prgCommand")->isHidden());
}

TEST_F(MainWindowFiles, AppendQuestionCancelNoAndYes) {
  const std::string a = datalog("a.xls", 3000, 4);
  prompts.openAnswers.push_back({a});
  run("mnuOpenDatalog");
  ASSERT_TRUE(workspace.rawDataMapPresent);
  const engine::RawDataCell someCell = [&] {
    for (int m = 1; m < engine::kRawMapCells; ++m)
      for (int r = 1; r < engine::kRawRpmCells; ++r)
        if (!workspace.rawMap.at(r, m).values.empty()) return workspace.rawMap.at(r, m);
    return engine::RawDataCell{};
  }();
  const std::size_t filled = cellsWithValues();
  const std::size_t boxes = boxesShown();
  const std::size_t linesBefore = statusLines().size();

  // Cancel: nothing changes, no file dialog.
  prompts.asked.clear();
  prompts.answers = {Answer::Cancel};
  run("mnuOpenDatalog");
  EXPECT_EQ(messages(), Lines{kAppendQuestion});
  EXPECT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(statusLines().size(), linesBefore);
  EXPECT_EQ(cellsWithValues(), filled);

  // Yes: the same file again doubles every cell's values.
  prompts.answers = {Answer::Yes};
  prompts.openAnswers.push_back({a});
  run("mnuOpenDatalog");
  EXPECT_EQ(cellsWithValues(), filled);
  bool doubled = false;
  for (int m = 1; m < engine::kRawMapCells && !doubled; ++m)
    for (int r = 1; r < engine::kRawRpmCells && !doubled; ++r)
      if (workspace.rawMap.at(r, m).values == someCell.values + "," + someCell.values)
        doubled = true;
  EXPECT_TRUE(doubled);

  // No, then a cancelled dialog: the map is cleared, and so are the plot and the list.
  prompts.answers = {Answer::No};
  const std::size_t beforeNo = statusLines().size();
  run("mnuOpenDatalog");
  EXPECT_EQ(newStatusLines(beforeNo),
            (Lines{"Clearing Crossover Array", "Finished Clearing Array"}));
  EXPECT_EQ(cellsWithValues(), 0u);
  EXPECT_FALSE(workspace.rawDataMapPresent);
  EXPECT_TRUE(crossoverLines().empty());
  EXPECT_EQ(boxesShown(), 0u);
  EXPECT_GT(boxes, 0u);
}

TEST_F(MainWindowFiles, CancelledDialogAndNothingToSaveTouchNothing) {
  window->crossoverList().append(std::string("an earlier line"));
  workspace.crossovers.resize(3);
  run("mnuOpenDatalog");  // no answer queued: the dialog is cancelled
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].kind, "open");
  EXPECT_EQ(crossoverLines(), Lines{"an earlier line"});
  EXPECT_EQ(workspace.crossovers.size(), 3u);
  EXPECT_FALSE(workspace.datalogPresent);
  EXPECT_TRUE(entry("mnuOpenDatalog")->isEnabled());

  workspace.crossovers.clear();
  run("mnuSaveHighDensityMap");
  run("mnuSaveCrossover");
  EXPECT_EQ(messages(), (Lines{"Nothing to save",
                               "Nothing to save, open a datalog or high density map first"}));
  EXPECT_EQ(prompts.asked.size(), 3u);  // no save dialog
  EXPECT_EQ(statusLines().size(), startUpLines);
}

TEST_F(MainWindowFiles, SavedRawDataMapOpensAgainAndIsPlotted) {
  prompts.openAnswers.push_back({datalog("a.xls", 3000, 6)});
  run("mnuOpenDatalog");
  const std::size_t filled = cellsWithValues();
  const std::size_t boxes = boxesShown();
  ASSERT_GT(filled, 0u);

  const std::string map = pathIn("map.HDMAP");
  const std::string points = pathIn("points.xls");
  prompts.saveAnswers = {map, points};
  std::size_t before = statusLines().size();
  run("mnuSaveHighDensityMap");
  EXPECT_EQ(newStatusLines(before), (Lines{"Saving Raw Data Map", "Finished Saving"}));
  EXPECT_EQ(prompts.asked.back().request.presetName, "Raw Data Map at 0.5 Volts.HDMAP");
  before = statusLines().size();
  run("mnuSaveCrossover");
  EXPECT_EQ(newStatusLines(before), (Lines{"Saving Crossover Point List", "Finished Saving"}));
  EXPECT_TRUE(fs::exists(map));
  EXPECT_GT(fs::file_size(points), 0u);

  entry("mnuclearHDMap")->trigger();
  EXPECT_EQ(boxesShown(), 0u);
  prompts.openAnswers.push_back({map});
  before = statusLines().size();
  run("mnuOpenHighDensityMap");
  EXPECT_EQ(newStatusLines(before), (Lines{"Loading Raw Data Map", "Loading Finished",
                                           "Plotting O2 Crossover", "Finished Plotting"}));
  EXPECT_EQ(cellsWithValues(), filled);
  EXPECT_EQ(boxesShown(), boxes);
  EXPECT_TRUE(workspace.rawDataMapPresent);
}

TEST_F(MainWindowFiles, ClosingTheWindowDuringARead) {
  prompts.openAnswers.push_back({datalog("big.xls", 300000, 7)});
  entry("mnuOpenDatalog")->trigger();
  ASSERT_TRUE(window->busy());
  QElapsedTimer clock;
  clock.start();
  window.reset();  // cancels the read and waits for the worker
  EXPECT_LT(clock.elapsed(), 5000);
  // The cancelled read kept none of its points.
  EXPECT_FALSE(workspace.rawDataMapPresent);
}

}  // namespace
}  // namespace tallimar::ui
