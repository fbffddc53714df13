// The main window's commands that need no file: list enlargement, "Acquire Data", the About
// box, "Print Raw Data Map", the secondary windows (and the program's own wiring of the VE
// window), the plot and "Clear Raw Data Map".
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "plot/colour_scale.h"
#include "support/recording_report_output.h"
#include "ui/app/about_box.h"
#include "ui/app/main_window_fixture.h"
#include "ui/app/program_windows.h"
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
    resize(400, 300);
  }

 protected:
  void closeEvent(QCloseEvent* event) override {
    if (m_owner) m_owner->MenuButtons(true);
    QWidget::closeEvent(event);
  }

 private:
  MainWindow* m_owner;
};

class MainWindowCommands : public MainWindowFixture {
 protected:
  void SetUp() override {
    startWithoutLanguages();
    startUpLines = statusLines().size();
  }
  void fillMapCell(int rpmIndex, int mapKpa, std::int16_t average) {
    auto& cell = workspace.rawMap.at(rpmIndex, mapKpa);
    cell.values = std::to_string(average);
    cell.average = average;
    cell.median = average;
  }
  // A factory that counts its windows and keeps the last one.
  WindowFactory countingFactory() {
    return [this](MainWindow& owner) -> QWidget* {
      ++opened;
      lastOpened = new FakeWindow(&owner);
      return lastOpened;
    };
  }
  int enabledOfThirteen() {
    int enabled = 0;
    for (const char* name :
         {"mnuAbout", "mnuCalculateNewMap", "mnuclearHDMap", "mnuCPUAcquire", "mnuExit", "mnuHelp",
          "mnuOpenDatalog", "mnuOpenHighDensityMap", "mnuPrintHDMap", "mnuPrintPreview",
          "mnuSaveCrossover", "mnuSaveHighDensityMap", "mnuSettings"})
      enabled += entry(name)->isEnabled() ? 1 : 0;
    return enabled;
  }
  // The plot's colour at a point in its own units (hundreds of rev/min, MAP from the top).
  QColor plotColourAt(double x, double y) {
    PlotWidget* pic = window->plotSurface();
    const QImage image = pic->grab().toImage();
    const QPointF at = pic->toWidget(x, y) * image.devicePixelRatio();
    return image.pixelColor(at.toPoint());
  }

  std::size_t startUpLines = 0;
  int opened = 0;
  QPointer<QWidget> lastOpened;
};

TEST_F(MainWindowCommands, DoubleClickEnlargesEachListAndTheNextPutsItBack) {
  QListView* list1 = list("List1");
  QListView* status = list("lstStatus");
  QTest::mouseDClick(list1->viewport(), Qt::LeftButton);
  EXPECT_EQ(list1->geometry(), QRect(px(60), px(60), px(6915), px(4935)));
  EXPECT_TRUE(status->isHidden());
  QTest::mouseDClick(list1->viewport(), Qt::LeftButton);
  EXPECT_EQ(list1->geometry(), QRect(px(60), px(3480), px(6915), px(690)));
  EXPECT_FALSE(status->isHidden());

  QTest::mouseDClick(status->viewport(), Qt::LeftButton);
  EXPECT_EQ(status->geometry(), QRect(px(60), px(60), px(6915), px(4935)));
  EXPECT_TRUE(list1->isHidden());
  QTest::mouseDClick(status->viewport(), Qt::LeftButton);
  EXPECT_EQ(status->geometry(), QRect(px(60), px(4400), px(6915), px(645)));  // not 4440
  EXPECT_FALSE(list1->isHidden());
}

TEST_F(MainWindowCommands, AcquireDataWithoutAMapOnlyShowsItsMessage) {
  entry("mnuCPUAcquire")->trigger();  // no window known yet: the menus stay enabled
  EXPECT_EQ(messages(), Lines{kNotYet});
  EXPECT_EQ(enabledOfThirteen(), 13);

  window->setWindowFactory(SecondaryWindow::AcquireData, countingFactory());
  entry("mnuCPUAcquire")->trigger();
  ASSERT_EQ(prompts.asked.size(), 2u);
  EXPECT_EQ(prompts.asked[1].text, kNotYet);
  EXPECT_EQ(prompts.asked[1].icon, MessageIcon::Exclamation);
  EXPECT_EQ(prompts.asked[1].buttons, MessageButtons::Ok);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(enabledOfThirteen(), 0);
  // Centred on the main window, 300 twips below its top (give or take its frame, which is
  // known only once it is shown).
  const QRect main = window->frameGeometry();
  const QRect placed = lastOpened->frameGeometry();
  EXPECT_NEAR(placed.center().x(), main.center().x(), 3);
  EXPECT_EQ(placed.top(), main.top() + px(300));
  lastOpened->close();
  EXPECT_EQ(enabledOfThirteen(), 13);
}

TEST_F(MainWindowCommands, AcquireDataAppendQuestionCancelNoAndYes) {
  window->setWindowFactory(SecondaryWindow::AcquireData, countingFactory());
  fillMapCell(30, 80, 65);
  workspace.rawDataMapPresent = true;

  prompts.answers = {Answer::Ok, Answer::Cancel};
  entry("mnuCPUAcquire")->trigger();
  EXPECT_EQ(messages(), (Lines{kNotYet, kAppendQuestion}));
  EXPECT_EQ(prompts.asked[1].buttons, MessageButtons::YesNoCancel);
  EXPECT_EQ(opened, 0);
  EXPECT_EQ(enabledOfThirteen(), 13);
  EXPECT_EQ(workspace.rawMap.at(30, 80).average, 65);

  prompts.answers = {Answer::Ok, Answer::Yes};
  entry("mnuCPUAcquire")->trigger();
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(workspace.rawMap.at(30, 80).average, 65);
  EXPECT_TRUE(workspace.rawDataMapPresent);
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

TEST_F(MainWindowCommands, ModifyVeMapAndSettingsDisableTheirPartsAndPlaceTheirWindows) {
  entry("mnuCalculateNewMap")->trigger();  // no window known yet: nothing happens
  EXPECT_EQ(enabledOfThirteen(), 13);

  window->setWindowFactory(SecondaryWindow::ModifyVeMap, countingFactory());
  entry("mnuCalculateNewMap")->trigger();
  ASSERT_EQ(opened, 1);
  EXPECT_EQ(enabledOfThirteen(), 0);
  EXPECT_TRUE(entry("mnuCreateWBFactor")->isEnabled());
  EXPECT_EQ(lastOpened->frameGeometry().topLeft(), window->screen()->geometry().topLeft());
  EXPECT_TRUE(lastOpened->isVisible());
  lastOpened->close();
  EXPECT_EQ(enabledOfThirteen(), 13);

  window->setWindowFactory(SecondaryWindow::Settings, countingFactory());
  entry("mnuSettings")->trigger();
  ASSERT_EQ(opened, 2);
  EXPECT_EQ(workspace.settingsCallerCode, 1);
  EXPECT_FALSE(window->isEnabled());
  EXPECT_EQ(lastOpened->frameGeometry().topLeft(),
            window->frameGeometry().topLeft() + QPoint(px(300), px(300)));
  window->setEnabled(true);
  lastOpened->close();
}

TEST_F(MainWindowCommands, ProgramWiringOpensTheVeWindowAndClosingItEnablesTheMenus) {
  connectProgramWindows(*window);
  entry("mnuCalculateNewMap")->trigger();
  auto* veWindow = window->findChild<QMainWindow*>("frmCalculateMap");
  ASSERT_NE(veWindow, nullptr);
  EXPECT_TRUE(veWindow->isVisible());
  EXPECT_TRUE(veWindow->isWindow());
  EXPECT_EQ(veWindow->pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
  EXPECT_EQ(enabledOfThirteen(), 0);
  veWindow->close();
  QApplication::processEvents();
  EXPECT_EQ(enabledOfThirteen(), 13);
  // Each opening starts afresh: the closed window is gone.
  QTest::qWait(0);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window->findChild<QMainWindow*>("frmCalculateMap"), nullptr);
}

TEST_F(MainWindowCommands, BothWindowsShareThePreviewCheckMarkAndTheReportOutput) {
  testsupport::RecordingReportOutput output;
  window->setReportOutput(&output);
  connectProgramWindows(*window);
  workspace.rawDataMapPresent = true;  // the VE window opens on the "Raw Datalog" view
  entry("mnuCalculateNewMap")->trigger();
  auto* veWindow = window->findChild<QMainWindow*>("frmCalculateMap");
  ASSERT_NE(veWindow, nullptr);
  auto* preview = veWindow->findChild<QAction*>("mnuPrintPreview");
  ASSERT_TRUE(preview->isChecked() && entry("mnuPrintPreview")->isChecked());
  preview->trigger();
  EXPECT_FALSE(entry("mnuPrintPreview")->isChecked());
  EXPECT_EQ(stored("PrintPreview"), "False");
  veWindow->findChild<QAction*>("mnuPrintCurrentPlot")->trigger();
  ASSERT_EQ(output.printed.size(), 1u);
  EXPECT_EQ(testsupport::pageTitle(output.printed[0]), "Raw Data Map");
  veWindow->close();
}

TEST_F(MainWindowCommands, AboutBoxIsPlacedAndStartsTheFirstSystemInformationToolFound) {
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
  // 300 twips right of and below the main window's corner, give or take the box's frame.
  const QPoint offset = box->frameGeometry().topLeft() - window->frameGeometry().topLeft();
  EXPECT_NEAR(offset.x(), px(300), 3);
  EXPECT_NEAR(offset.y(), px(300), 3);
  QTest::mouseClick(box->findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
  EXPECT_EQ(started, QStringList{fake});
  EXPECT_TRUE(prompts.asked.empty());
  QTest::mouseClick(box->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window->aboutBox(), nullptr);

  // Nothing found: a message instead of a start.
  tool.names = {"no-such-sysinfo"};
  AboutBox lost(prompts, tool);
  lost.startSystemInfo();
  EXPECT_EQ(started.size(), 1);
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text, "System Information Is Unavailable At This Time");
  EXPECT_EQ(prompts.asked[0].icon, MessageIcon::None);
}

TEST_F(MainWindowCommands, PrintRawDataMapRefusesWithoutAMapAndSendsTheMapPage) {
  testsupport::RecordingReportOutput output;
  window->setReportOutput(&output);
  entry("mnuPrintHDMap")->trigger();
  EXPECT_EQ(messages(), Lines{"Nothing to print"});
  workspace.rawDataMapPresent = true;
  entry("mnuPrintHDMap")->trigger();
  ASSERT_EQ(output.previewed.size(), 1u);
  EXPECT_EQ(testsupport::pageTitle(output.previewed[0]), "High Density VE Map");
  EXPECT_EQ(prompts.asked.size(), 1u);
}

TEST_F(MainWindowCommands, PlotShowsTheMapAndClearEmptiesMapPlotAndList) {
  fillMapCell(30, 80, 65);
  fillMapCell(0, 80, 65);  // index 0 is kept by the clear operation
  workspace.rawDataMapPresent = true;
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
  EXPECT_EQ(workspace.rawMap.at(30, 80).average, 0);
  EXPECT_EQ(workspace.rawMap.at(0, 80).average, 65);
  EXPECT_TRUE(crossoverLines().empty());
  EXPECT_EQ(plotColourAt(30.98, 20.5), QColor(Qt::white));
}

TEST_F(MainWindowCommands, HiddenSelfTestListsTheBSplineCurve) {
  auto* selfTest = window->findChild<QPushButton*>("Command1");
  EXPECT_TRUE(selfTest->isHidden());
  selfTest->click();
  const auto& lines = static_cast<StringListModel*>(list("List2")->model())->lines();
  ASSERT_EQ(lines.size(), 500u);
  EXPECT_EQ(lines.front(), "#: 1 X: -10 Y: -3.5");  // the curve starts and ends on the polygon
  EXPECT_EQ(lines.back(), "#: 500 X: 10 Y: 4");
  EXPECT_EQ(lines[249].rfind("#: 250 X: ", 0), 0u);
}

}  // namespace
}  // namespace tallimar::ui
