// The main window on the offscreen platform: start-up lines and their order, the settings
// it shows, MenuButtons, "Print Preview", and the language menu.
#include "ui/app/main_window.h"

#include <gtest/gtest.h>

#include <QMenu>

#include "ui/app/main_window_fixture.h"
#include "ui/plot/plot_widget.h"

namespace tallimar::ui {
namespace {

const QString kLanguageFolder = QStringLiteral(TALLIMAR_TEST_DATA_DIR "/language");

using MainWindowTest = MainWindowFixture;

TEST_F(MainWindowTest, StartUpShowsItsLinesInOrderAndTheStoredSettings) {
  const struct {
    std::vector<std::pair<const char*, const char*>> settings;
    Lines lines;
    const char* rpmMax;
    double plotWidth;
    bool preview;
  } cases[] = {
      {{},
       {"Failed Reading English.Lang - Default is English",
        "(Warning) No Path to *.inc specified (using raw ADC counts)", "Ready"},
       "10000",
       88.0,
       true},
      {{{"INCPath", TALLIMAR_TEST_DATA_DIR "/files/inc_set"},
        {"RPMMax", "7500abc"},
        {"PrintPreview", "False"}},
       {"Failed Reading English.Lang - Default is English", "kPaFactor.inc Loaded",
        "AirDenFactor.inc Loaded", "Failed Loading BaroFactor.inc",
        "Failed Loading ThermFactor.inc", "Failed Loading ThrottleFactor.inc",
        "DIYWBFactor.inc Loaded", "Failed Loading VSSFactor.inc", "Ready"},
       "7500",
       63.0,
       false},
  };
  for (const auto& c : cases) {
    for (const auto& [key, text] : c.settings) put(key, text);
    MainWindow& w = startWithoutLanguages();
    EXPECT_EQ(statusLines(), c.lines);
    auto* status = list("lstStatus");
    EXPECT_EQ(status->currentIndex().row(), static_cast<int>(c.lines.size()) - 1);
    EXPECT_TRUE(status->selectionModel()->isSelected(status->currentIndex()));
    EXPECT_EQ(label("lblRPMMax")->text(), c.rpmMax);
    EXPECT_DOUBLE_EQ(w.plotScale().width, c.plotWidth);
    EXPECT_EQ(entry("mnuPrintPreview")->isChecked(), c.preview);
    EXPECT_EQ(w.plotSurface()->grab().toImage().pixelColor(5, 5), QColor(Qt::white));
  }
}

TEST_F(MainWindowTest, MenuButtonsSwitchesTheThirteenAndPrintPreviewIsStoredAtOnce) {
  start(kLanguageFolder);
  window->MenuButtons(false);
  EXPECT_EQ(enabledOfThirteen(), 0);
  EXPECT_TRUE(entry("mnuCreateWBFactor")->isEnabled());
  EXPECT_TRUE(entry("mnuUploadS19")->isEnabled());
  EXPECT_TRUE(window->findChildren<QAction*>("mnuLanguage")[0]->isEnabled());
  window->MenuButtons(true);
  EXPECT_EQ(enabledOfThirteen(), 13);

  entry("mnuPrintPreview")->trigger();
  EXPECT_FALSE(entry("mnuPrintPreview")->isChecked());
  EXPECT_EQ(stored("PrintPreview"), "False");
  entry("mnuPrintPreview")->trigger();
  EXPECT_EQ(stored("PrintPreview"), "True");
}

TEST_F(MainWindowTest, LanguagesRecaptionTheWindowAtStartUpAndWhenChosen) {
  put("Language", "Deutsch");
  start(kLanguageFolder);
  EXPECT_EQ(statusLines(),
            (Lines{"(Warning) No Path to *.inc specified (using raw ADC counts)", "Ready"}));
  EXPECT_EQ(entry("mnuOpenDatalog")->text(), QString::fromUtf8("Datenlog öffnen"));
  EXPECT_EQ(entry("mnuPrintPreview")->text(), "Print Preview");  // empty caption
  EXPECT_EQ(label("Label1", 0)->text(), "Zustand:");             // by index
  EXPECT_EQ(label("Label1", 1)->text(), "Crossover Points:");    // "11" is not "1"
  EXPECT_EQ(window->findChild<QMenu*>("mnuFileMenu")->title(), "&Datei");

  // Three files in the folder, alphabetically; the rest of the ten entries hidden.
  const auto languages = window->findChildren<QAction*>("mnuLanguage");
  QStringList visible;
  for (QAction* language : languages)
    if (language->isVisible()) visible << language->text();
  EXPECT_EQ(visible, (QStringList{"Deutsch", "english-test", QString::fromUtf8("Français")}));

  languages[2]->trigger();  // captioned "Français" by the German file, file Francais.LANG
  EXPECT_EQ(stored("Language"), "Francais");
  EXPECT_EQ(statusLines().size(), 2u);  // no failure line
  EXPECT_EQ(entry("mnuExit")->text(), "Quitter");
  EXPECT_EQ(entry("mnuSettings")->text(), QString::fromUtf8("Paramètres"));  // Latin-1 file
  // The French file has two lines: the German captions of the rest still apply.
  EXPECT_EQ(label("Label1", 0)->text(), "Zustand:");
  languages[0]->trigger();
  EXPECT_EQ(stored("Language"), "Deutsch");
  EXPECT_EQ(entry("mnuExit")->text(), "Beenden");
}

}  // namespace
}  // namespace tallimar::ui
