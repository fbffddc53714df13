// The main window on the offscreen platform: start-up lines and their order, layout,
// menus, MenuButtons, "Print Preview", and the language menu.
#include "ui/app/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QScreen>
#include <filesystem>

#include "ui/common/language_applier.h"
#include "ui/app/main_window_fixture.h"
#include "ui/plot/plot_widget.h"

namespace tallimar::ui {
namespace {

const QString kLanguageFolder = QStringLiteral(TALLIMAR_TEST_DATA_DIR "/language");

using MainWindowTest = MainWindowFixture;

TEST_F(MainWindowTest, EmptyStoreStartsWithItsLinesInOrderLaidOutInTwips) {
  MainWindow& w = startWithoutLanguages();
  EXPECT_EQ(statusLines(),
            (Lines{"Failed Reading English.Lang - Default is English",
                   "(Warning) No Path to *.inc specified (using raw ADC counts)", "Ready"}));
  auto* status = list("lstStatus");
  EXPECT_EQ(status->currentIndex().row(), 2);  // the newest line is selected
  EXPECT_TRUE(status->selectionModel()->isSelected(status->currentIndex()));
  EXPECT_EQ(label("lblRPMMax")->text(), "10000");
  EXPECT_EQ(label("lblRPMMin")->text(), "1200");
  EXPECT_DOUBLE_EQ(w.plotScale().left, 12.0);
  EXPECT_DOUBLE_EQ(w.plotScale().width, 88.0);
  EXPECT_DOUBLE_EQ(w.plotScale().height, 100.0);
  EXPECT_TRUE(entry("mnuPrintPreview")->isChecked());
  EXPECT_EQ(workspace.veTable.rpmBins[15], 8000);
  for (QAction* language : w.findChildren<QAction*>("mnuLanguage"))
    EXPECT_FALSE(language->isVisible());

  EXPECT_EQ(w.frameGeometry().height(), px(5835));
  const QRect work = w.screen()->availableGeometry();
  EXPECT_LE(std::abs(w.frameGeometry().center().x() - work.center().x()), 1);
  EXPECT_LE(std::abs(w.frameGeometry().center().y() - work.center().y()), 1);
  EXPECT_EQ(w.plotSurface()->geometry(), QRect(px(480), px(300), px(4500), px(2500)));
  EXPECT_EQ(w.plotSurface()->grab().toImage().pixelColor(5, 5), QColor(Qt::white));
  EXPECT_EQ(list("List1")->geometry(), QRect(px(60), px(3480), px(6915), px(690)));
  EXPECT_EQ(status->geometry(), QRect(px(60), px(4440), px(6915), px(645)));
  const auto swatches = w.findChildren<QWidget*>("ColorChart");
  ASSERT_EQ(swatches.size(), 11);
  EXPECT_LT(label("lblColorChart", 0)->y(), label("lblColorChart", 10)->y());  // lowest on top
  EXPECT_TRUE(swatches[6]->styleSheet().contains("rgb(0, 128, 128)"));         // 60 to under 70
}

TEST_F(MainWindowTest, StartUpLoadsTheRealFactorTablesFromIncPath) {
  const std::string real = std::string(TALLIMAR_REAL_DATA_DIR) + "/inc";
  if (!std::filesystem::is_directory(real)) GTEST_SKIP() << "no real factor tables";
  put("INCPath", real);
  startWithoutLanguages();
  EXPECT_EQ(statusLines(),
            (Lines{"Failed Reading English.Lang - Default is English", "kPaFactor.inc Loaded",
                   "AirDenFactor.inc Loaded", "Failed Loading BaroFactor.inc",
                   "ThermFactor.inc Loaded", "ThrottleFactor.inc Loaded",
                   "Failed Loading DIYWBFactor.inc", "Failed Loading VSSFactor.inc", "Ready"}));
  EXPECT_EQ(workspace.factors[files::FactorKind::Kpa][1], 12);
  EXPECT_EQ(workspace.factors[files::FactorKind::Baro][7], 7);  // identity
}

TEST_F(MainWindowTest, AMissingFactorFileGivesOnlyItsFailureLine) {
  put("INCPath", TALLIMAR_TEST_DATA_DIR "/files/inc_set");
  put("RPMMax", "7500abc");
  put("PrintPreview", "False");
  startWithoutLanguages();
  EXPECT_EQ(statusLines(),
            (Lines{"Failed Reading English.Lang - Default is English", "kPaFactor.inc Loaded",
                   "AirDenFactor.inc Loaded", "Failed Loading BaroFactor.inc",
                   "Failed Loading ThermFactor.inc", "Failed Loading ThrottleFactor.inc",
                   "DIYWBFactor.inc Loaded", "Failed Loading VSSFactor.inc", "Ready"}));
  EXPECT_EQ(label("lblRPMMax")->text(), "7500");
  EXPECT_DOUBLE_EQ(window->plotScale().width, 63.0);
  EXPECT_FALSE(entry("mnuPrintPreview")->isChecked());
}

TEST_F(MainWindowTest, MenuButtonsSwitchesTheThirteenAndPrintPreviewIsStoredAtOnce) {
  start(kLanguageFolder);
  const char* const thirteen[] = {
      "mnuOpenDatalog", "mnuOpenHighDensityMap", "mnuSaveHighDensityMap", "mnuSaveCrossover",
      "mnuPrintPreview", "mnuPrintHDMap", "mnuExit", "mnuCalculateNewMap", "mnuclearHDMap",
      "mnuSettings", "mnuCPUAcquire", "mnuAbout", "mnuHelp"};
  window->MenuButtons(false);
  for (const char* name : thirteen) EXPECT_FALSE(entry(name)->isEnabled()) << name;
  EXPECT_TRUE(entry("mnuCreateWBFactor")->isEnabled());
  EXPECT_TRUE(entry("mnuUploadS19")->isEnabled());
  const auto languages = window->findChildren<QAction*>("mnuLanguage");
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(languages[k]->isEnabled()) << k;  // the visible ones
  window->MenuButtons(true);
  for (const char* name : thirteen) EXPECT_TRUE(entry(name)->isEnabled()) << name;

  entry("mnuPrintPreview")->trigger();
  EXPECT_FALSE(entry("mnuPrintPreview")->isChecked());
  EXPECT_EQ(stored("PrintPreview"), "False");
  entry("mnuPrintPreview")->trigger();
  EXPECT_EQ(stored("PrintPreview"), "True");
}

TEST_F(MainWindowTest, StoredLanguageRecaptionsTheWindowAtStartUp) {
  put("Language", "Deutsch");
  start(kLanguageFolder);
  EXPECT_EQ(statusLines(),
            (Lines{"(Warning) No Path to *.inc specified (using raw ADC counts)", "Ready"}));
  EXPECT_EQ(entry("mnuOpenDatalog")->text(), QString::fromUtf8("Datenlog öffnen"));
  EXPECT_EQ(entry("mnuPrintPreview")->text(), "Print Preview");  // empty caption
  EXPECT_EQ(label("Label1", 0)->text(), "Zustand:");             // by index
  EXPECT_EQ(label("Label1", 1)->text(), "Crossover Points:");    // "11" is not "1"
  EXPECT_EQ(window->findChild<QMenu*>("mnuFileMenu")->title(), "&Datei");
  EXPECT_EQ(window->windowTitle(), "Tallimar V1.2.0");  // the title is not translated

  // Three files in the folder, alphabetically; the rest of the ten entries hidden.
  const auto languages = window->findChildren<QAction*>("mnuLanguage");
  QStringList visible;
  for (QAction* language : languages)
    if (language->isVisible()) visible << language->text();
  EXPECT_EQ(visible, (QStringList{"Deutsch", "english-test", QString::fromUtf8("Français")}));
}

TEST_F(MainWindowTest, ChoosingALanguageStoresItsNameAndKeepsEarlierLines) {
  start(kLanguageFolder);
  EXPECT_EQ(statusLines().front(), "Failed Reading English.Lang - Default is English");
  EXPECT_EQ(entry("mnuExit")->text(), "Exit");

  auto languages = window->findChildren<QAction*>("mnuLanguage");
  languages[0]->trigger();  // Deutsch
  EXPECT_EQ(stored("Language"), "Deutsch");
  EXPECT_EQ(entry("mnuExit")->text(), "Beenden");

  languages[2]->trigger();  // captioned "Français" by the German file, file Francais.LANG
  EXPECT_EQ(stored("Language"), "Francais");
  EXPECT_EQ(statusLines().size(), 3u);  // no failure line
  EXPECT_EQ(entry("mnuExit")->text(), "Quitter");
  EXPECT_EQ(entry("mnuSettings")->text(), QString::fromUtf8("Paramètres"));  // Latin-1 file
  // The French file has two lines: the German lines below them still apply.
  EXPECT_EQ(label("Label1", 0)->text(), "Zustand:");
  EXPECT_EQ(entry("mnuOpenDatalog")->text(), QString::fromUtf8("Datenlog öffnen"));
}

TEST(StringListModel, KeepsModelInvariantsThroughAppendsAndClear) {
  StringListModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  model.append("one");
  Lines many;
  for (int i = 0; i < 20000; ++i) many.push_back("line " + std::to_string(i));
  model.append(std::move(many));
  model.append(Lines{});
  ASSERT_EQ(model.rowCount(), 20001);
  EXPECT_EQ(model.index(20000).data().toString(), "line 19999");
  model.clear();
  EXPECT_EQ(model.rowCount(), 0);
}

}  // namespace
}  // namespace tallimar::ui
