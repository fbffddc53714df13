// The main window's commands that need no file: list enlargement, "Acquire Data" and its
// append question, the About box, "Print Raw Data Map", the plot and "Clear Raw Data Map".
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "support/recording_report_output.h"
#include "ui/app/about_box.h"
#include "ui/app/main_window_fixture.h"
#include "ui/pictures.h"
#include "ui/plot/plot_widget.h"

namespace tallimar::ui {
namespace {

using common::Answer;

class MainWindowCommands : public MainWindowFixture {
 protected:
  void SetUp() override {
    startWithoutLanguages();
    auto& cell = workspace.rawMap.at(30, 80);
    cell.values = "65";
    cell.average = cell.median = 65;
    workspace.rawDataMapPresent = true;
  }
  std::size_t boxesShown() {
    return plot::itemsOfKind<plot::Box>(window->plotSurface()->drawList()).size();
  }
};

// The newest line lies wholly inside the list's visible rows.
bool newestInView(QListView* view) {
  QApplication::processEvents();
  const QRect row = view->visualRect(view->model()->index(view->model()->rowCount() - 1, 0));
  return row.isValid() && view->viewport()->rect().contains(row);
}

TEST_F(MainWindowCommands, DoubleClickEnlargesEachListTheNextPutsItBackNewestLineInView) {
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  for (int i = 0; i < 30; ++i) window->statusLog().append("Line " + std::to_string(i));
  window->statusLog().append(  // long: wrapped, no horizontal scroll bar
      "Bins partly outside the data map (positions outside skipped): (14960, 300), (15000, "
      "300), (15100, 300), (15200, 300) and 60 more");
  window->crossoverList().append(std::vector<std::string>(300, "  2000    60    0.52"));
  EXPECT_FALSE(list("lstStatus")->horizontalScrollBar()->isVisible());
  EXPECT_TRUE(newestInView(list("lstStatus")));
  for (const auto& [name, other] : {std::pair{"List1", "lstStatus"}, {"lstStatus", "List1"}}) {
    QListView* enlarged = list(name);
    const int laidOut = enlarged->height();
    QTest::mouseDClick(enlarged->viewport(), Qt::LeftButton);
    EXPECT_GT(enlarged->height(), 5 * laidOut) << name;
    EXPECT_TRUE(list(other)->isHidden()) << name;
    EXPECT_TRUE(newestInView(enlarged)) << name;
    QTest::mouseDClick(enlarged->viewport(), Qt::LeftButton);
    EXPECT_EQ(enlarged->height(), laidOut) << name;
    EXPECT_FALSE(list(other)->isHidden()) << name;
  }
  testing::savePicture(window.get(), "main_long_status_line");
}

// Without a live-data window to give them back, the menus stay enabled.
TEST_F(MainWindowCommands, AcquireDataAsksToAppendCancelKeepsAndNoStartsANewMap) {
  prompts.answers = {Answer::Ok, Answer::Cancel, Answer::Ok, Answer::No};
  entry("mnuCPUAcquire")->trigger();
  EXPECT_TRUE(workspace.rawDataMapPresent);
  entry("mnuCPUAcquire")->trigger();
  ASSERT_EQ(prompts.asked.size(), 4u);
  EXPECT_EQ(prompts.asked[1].buttons, common::MessageButtons::YesNoCancel);
  EXPECT_EQ(enabledOfThirteen(), 13);
  EXPECT_FALSE(workspace.rawDataMapPresent);
  EXPECT_EQ(workspace.rawMap.at(30, 80).average, 0);
}

TEST_F(MainWindowCommands, AboutBoxStartsTheFirstSystemInformationToolFoundOrSaysNoneIs) {
  QTemporaryDir tools;
  const QString fake = tools.filePath("fake-sysinfo");
  QFile(fake).open(QIODevice::WriteOnly);
  QFile::setPermissions(fake, QFile::ReadOwner | QFile::ExeOwner);
  QStringList started;
  SystemInfoTool tool{{"no-such-sysinfo", "fake-sysinfo"}, {tools.path()}, {}};
  tool.start = [&started](const QString& program) {
    started << program;
    return true;
  };
  window->setSystemInfoTool(tool);
  entry("mnuAbout")->trigger();
  ASSERT_NE(window->aboutBox(), nullptr);
  QTest::mouseClick(window->aboutBox()->findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
  EXPECT_EQ(started, QStringList{fake});

  tool.names = {"no-such-sysinfo"};
  AboutBox(prompts, tool).startSystemInfo();
  EXPECT_EQ(started.size(), 1);
  EXPECT_EQ(prompts.asked.back().text, "System Information Is Unavailable At This Time");
}

TEST_F(MainWindowCommands, PrintSendsTheMapPagePlotShowsTheMapAndClearEmptiesBoth) {
  testsupport::RecordingReportOutput output;
  window->setReportOutput(&output);
  entry("mnuPrintHDMap")->trigger();
  ASSERT_EQ(output.previewed.size(), 1u);
  EXPECT_EQ(testsupport::pageTitle(output.previewed[0]), "High Density VE Map");

  window->refreshPlot();
  EXPECT_EQ(newStatusLines(startUpLines), (Lines{"Plotting O2 Crossover", "Finished Plotting"}));
  EXPECT_EQ(boxesShown(), 1u);
  window->crossoverList().append(std::string("Count:     3 MAP: 80 RPM: 3000"));
  entry("mnuclearHDMap")->trigger();
  EXPECT_FALSE(workspace.rawDataMapPresent);
  EXPECT_EQ(workspace.rawMap.at(30, 80).values, "");
  EXPECT_TRUE(crossoverLines().empty());
  EXPECT_EQ(boxesShown(), 0u);
}

}  // namespace
}  // namespace tallimar::ui
