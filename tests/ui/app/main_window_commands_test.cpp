// The main window's commands that need no file: list enlargement, the secondary windows
// and the menus they take, "Acquire Data" and its append question, the About box, "Print
// Raw Data Map", the plot and "Clear Raw Data Map".
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include "support/recording_report_output.h"
#include "ui/app/about_box.h"
#include "ui/app/main_window_fixture.h"
#include "ui/plot/plot_widget.h"

namespace tallimar::ui {
namespace {

using common::Answer;
using common::MessageButtons;
using common::MessageIcon;

const std::string kNotYet = "This is here just to look at, it doesn't work yet!";
const std::string kAppendQuestion =
    "There is a high density VE Map already loaded. Do you wish to append to this map? Click "
    "<No> to start a new map or <Cancel> to cancel";

// A secondary window that gives the menus back when it closes, as "Modify VE Map" and the
// live-data window do.
class FakeWindow : public QWidget {
 public:
  explicit FakeWindow(MainWindow* owner) : QWidget(nullptr, Qt::Window), m_owner(owner) {
    setAttribute(Qt::WA_DeleteOnClose);
  }

 protected:
  void closeEvent(QCloseEvent* event) override {
    m_owner->MenuButtons(true);
    QWidget::closeEvent(event);
  }

 private:
  MainWindow* m_owner;
};

class MainWindowCommands : public MainWindowFixture {
 protected:
  void SetUp() override { startWithoutLanguages(); }
  void fillMapCell(int rpmIndex, int mapKpa, std::int16_t average) {
    auto& cell = workspace.rawMap.at(rpmIndex, mapKpa);
    cell.values = std::to_string(average);
    cell.average = average;
    cell.median = average;
    workspace.rawDataMapPresent = true;
  }
  // A factory that counts its windows and keeps the last one.
  WindowFactory countingFactory() {
    return [this](MainWindow& owner) -> QWidget* {
      ++opened;
      lastOpened = new FakeWindow(&owner);
      return lastOpened;
    };
  }
  // The plot's colour at a point in its own units (hundreds of rev/min, MAP from the top).
  QColor plotColourAt(double x, double y) {
    PlotWidget* pic = window->plotSurface();
    const QImage image = pic->grab().toImage();
    return image.pixelColor((pic->toWidget(x, y) * image.devicePixelRatio()).toPoint());
  }

  int opened = 0;
  QPointer<QWidget> lastOpened;
};

TEST_F(MainWindowCommands, DoubleClickEnlargesEachListAndTheNextPutsItBack) {
  for (const auto& [name, other] : {std::pair{"List1", "lstStatus"}, {"lstStatus", "List1"}}) {
    QListView* enlarged = list(name);
    const int laidOut = enlarged->height();
    QTest::mouseDClick(enlarged->viewport(), Qt::LeftButton);
    EXPECT_GT(enlarged->height(), 5 * laidOut) << name;
    EXPECT_TRUE(list(other)->isHidden()) << name;
    QTest::mouseDClick(enlarged->viewport(), Qt::LeftButton);
    EXPECT_EQ(enlarged->height(), laidOut) << name;
    EXPECT_FALSE(list(other)->isHidden()) << name;
  }
}

TEST_F(MainWindowCommands, SecondaryWindowsTakeTheMenusUntilTheyClose) {
  for (const char* name : {"mnuCalculateNewMap", "mnuCPUAcquire", "mnuSettings"}) {
    entry(name)->trigger();  // no window known yet: only the "Acquire Data" message
    EXPECT_EQ(enabledOfThirteen(), 13) << name;
  }
  EXPECT_EQ(messages(), Lines{kNotYet});

  window->setWindowFactory(SecondaryWindow::ModifyVeMap, countingFactory());
  window->setWindowFactory(SecondaryWindow::AcquireData, countingFactory());
  for (const char* name : {"mnuCalculateNewMap", "mnuCPUAcquire"}) {
    entry(name)->trigger();
    ASSERT_TRUE(lastOpened) << name;
    EXPECT_TRUE(lastOpened->isVisible());
    EXPECT_EQ(enabledOfThirteen(), 0) << name;
    EXPECT_TRUE(entry("mnuCreateWBFactor")->isEnabled());
    lastOpened->close();
    EXPECT_EQ(enabledOfThirteen(), 13) << name;
  }
  EXPECT_EQ(opened, 2);
  EXPECT_EQ(prompts.asked.back().icon, MessageIcon::Exclamation);

  // The settings dialog disables the whole window instead.
  window->setWindowFactory(SecondaryWindow::Settings, countingFactory());
  entry("mnuSettings")->trigger();
  EXPECT_EQ(opened, 3);
  EXPECT_FALSE(window->isEnabled());
  window->setEnabled(true);
  lastOpened->close();
}

TEST_F(MainWindowCommands, AcquireDataAppendQuestionCancelYesAndNo) {
  window->setWindowFactory(SecondaryWindow::AcquireData, countingFactory());
  fillMapCell(30, 80, 65);

  prompts.answers = {Answer::Ok, Answer::Cancel};
  entry("mnuCPUAcquire")->trigger();
  EXPECT_EQ(messages(), (Lines{kNotYet, kAppendQuestion}));
  EXPECT_EQ(prompts.asked[1].buttons, MessageButtons::YesNoCancel);
  EXPECT_EQ(opened, 0);
  EXPECT_EQ(enabledOfThirteen(), 13);

  prompts.answers = {Answer::Ok, Answer::Yes};
  entry("mnuCPUAcquire")->trigger();
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(workspace.rawMap.at(30, 80).average, 65);
  EXPECT_TRUE(newStatusLines(startUpLines).empty());
  lastOpened->close();

  prompts.answers = {Answer::Ok, Answer::No};
  entry("mnuCPUAcquire")->trigger();
  EXPECT_EQ(opened, 2);
  EXPECT_EQ(workspace.rawMap.at(30, 80).average, 0);
  EXPECT_FALSE(workspace.rawDataMapPresent);
  EXPECT_EQ(newStatusLines(startUpLines),
            (Lines{"Clearing Crossover Array", "Finished Clearing Array"}));
  lastOpened->close();
}

TEST_F(MainWindowCommands, AboutBoxStartsTheFirstSystemInformationToolFound) {
  QTemporaryDir tools;
  const QString fake = tools.filePath("fake-sysinfo");
  {
    QFile script(fake);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
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
  EXPECT_TRUE(prompts.asked.empty());

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
  workspace.rawDataMapPresent = true;
  entry("mnuPrintHDMap")->trigger();
  ASSERT_EQ(output.previewed.size(), 1u);
  EXPECT_EQ(testsupport::pageTitle(output.previewed[0]), "High Density VE Map");
  EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(MainWindowCommands, PlotShowsTheMapAndClearEmptiesMapPlotAndList) {
  fillMapCell(30, 80, 65);
  fillMapCell(0, 80, 65);  // index 0 is kept by the clear operation
  window->refreshPlot();
  EXPECT_EQ(newStatusLines(startUpLines), (Lines{"Plotting O2 Crossover", "Finished Plotting"}));
  // Cell 30 / 80 hangs down from MAP 80: y 20 to 21 counted from the top.
  EXPECT_EQ(plotColourAt(30.98, 20.5), QColor(0, 128, 128));
  EXPECT_EQ(plotColourAt(30.98, 22.5), QColor(Qt::white));

  window->crossoverList().append(std::string("Count:     3 MAP: 80 RPM: 3000"));
  entry("mnuclearHDMap")->trigger();
  EXPECT_EQ(newStatusLines(startUpLines + 2),
            (Lines{"Clearing Crossover Array", "Finished Clearing Array"}));
  EXPECT_FALSE(workspace.rawDataMapPresent);
  EXPECT_EQ(workspace.rawMap.at(30, 80).values, "");
  EXPECT_EQ(workspace.rawMap.at(0, 80).average, 65);
  EXPECT_TRUE(crossoverLines().empty());
  EXPECT_EQ(plotColourAt(30.98, 20.5), QColor(Qt::white));
}

}  // namespace
}  // namespace tallimar::ui
