// The main window's commands that need no file: list enlargement (long lines wrapped, the
// newest line kept in view), "Acquire Data" and its append question, the About box, "Print
// Raw Data Map", the plot and "Clear Raw Data Map".
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
  // The plot's colour at a point in its own units (hundreds of rev/min, MAP from the top).
  QColor plotColourAt(double x, double y) {
    PlotWidget* pic = window->plotSurface();
    const QImage image = pic->grab().toImage();
    return image.pixelColor((pic->toWidget(x, y) * image.devicePixelRatio()).toPoint());
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
    EXPECT_TRUE(newestInView(enlarged)) << name;
  }
  testing::savePicture(window.get(), "main_long_status_line");
}

// Without a live-data window to give them back, the menus stay enabled.
TEST_F(MainWindowCommands, AcquireDataAsksToAppendAndNoStartsANewMap) {
  prompts.answers = {Answer::Ok, Answer::Cancel, Answer::Ok, Answer::Yes, Answer::Ok, Answer::No};
  for (int run = 0; run < 3; ++run) entry("mnuCPUAcquire")->trigger();
  ASSERT_EQ(messages().size(), 6u);
  EXPECT_EQ(messages()[1].substr(0, 47), "There is a high density VE Map already loaded. ");
  EXPECT_EQ(prompts.asked[1].buttons, common::MessageButtons::YesNoCancel);
  EXPECT_EQ(enabledOfThirteen(), 13);
  EXPECT_EQ(workspace.rawMap.at(30, 80).average, 0);
  EXPECT_FALSE(workspace.rawDataMapPresent);
  EXPECT_EQ(newStatusLines(startUpLines),
            (Lines{"Clearing Crossover Array", "Finished Clearing Array"}));
}

TEST_F(MainWindowCommands, AboutBoxStartsTheFirstSystemInformationToolFound) {
  QTemporaryDir tools;
  const QString fake = tools.filePath("fake-sysinfo");
  QFile(fake).open(QIODevice::WriteOnly);
  QFile::setPermissions(fake, QFile::ReadOwner | QFile::ExeOwner);
  QStringList started;
  SystemInfoTool tool;
  tool.names = {"no-such-sysinfo", "fake-sysinfo"};
  tool.folders = {tools.path()};
  tool.start = [&started](const QString& program) {
    started << program;
    return true;
  };
  window->setSystemInfoTool(tool);

  entry("mnuAbout")->trigger();
  AboutBox* box = window->aboutBox();
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(box->isModal());
  QTest::mouseClick(box->findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
  EXPECT_EQ(started, QStringList{fake});
  QTest::mouseClick(box->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window->aboutBox(), nullptr);

  tool.names = {"no-such-sysinfo"};  // nothing found: a message instead of a start
  AboutBox lost(prompts, tool);
  lost.startSystemInfo();
  EXPECT_EQ(started.size(), 1);
  EXPECT_EQ(messages(), Lines{"System Information Is Unavailable At This Time"});
}

// The command's refusal without a map is pinned at the command level; here only the wiring.
TEST_F(MainWindowCommands, PrintRawDataMapSendsTheMapPage) {
  testsupport::RecordingReportOutput output;
  window->setReportOutput(&output);
  entry("mnuPrintHDMap")->trigger();
  ASSERT_EQ(output.previewed.size(), 1u);
  EXPECT_EQ(testsupport::pageTitle(output.previewed[0]), "High Density VE Map");
}

TEST_F(MainWindowCommands, PlotShowsTheMapAndClearEmptiesMapPlotAndList) {
  window->refreshPlot();
  EXPECT_EQ(newStatusLines(startUpLines), (Lines{"Plotting O2 Crossover", "Finished Plotting"}));
  // Cell 30 / 80 hangs down from MAP 80: y 20 to 21 counted from the top.
  EXPECT_EQ(plotColourAt(30.98, 20.5), QColor(0, 128, 128));
  EXPECT_EQ(plotColourAt(30.98, 22.5), QColor(Qt::white));

  window->crossoverList().append(std::string("Count:     3 MAP: 80 RPM: 3000"));
  entry("mnuclearHDMap")->trigger();
  EXPECT_FALSE(workspace.rawDataMapPresent);
  EXPECT_EQ(workspace.rawMap.at(30, 80).values, "");
  EXPECT_TRUE(crossoverLines().empty());
  EXPECT_EQ(plotColourAt(30.98, 20.5), QColor(Qt::white));
}

}  // namespace
}  // namespace tallimar::ui
