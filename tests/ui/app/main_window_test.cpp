// The main window: what start-up shows (the sequence itself is pinned in core), "Print
// Preview", and the language menu.
#include "ui/app/main_window.h"

#include <gtest/gtest.h>

#include "ui/app/main_window_fixture.h"
#include "ui/plot/plot_widget.h"

namespace tallimar::ui {
namespace {

using MainWindowTest = MainWindowFixture;

TEST_F(MainWindowTest, StartUpShowsItsLinesNewestSelectedAndTheStoredSettings) {
  put("RPMMax", "7500abc");
  startWithoutLanguages();
  EXPECT_EQ(list("lstStatus")->currentIndex().data().toString(), "Ready");
  EXPECT_EQ(label("lblRPMMax")->text(), "7500");
  EXPECT_DOUBLE_EQ(window->plotScale().width, 63.0);  // 1200..7500 rev/min in hundreds
  entry("mnuPrintPreview")->trigger();                // stored at once
  EXPECT_EQ(stored("PrintPreview"), "False");
}

TEST_F(MainWindowTest, LanguagesRecaptionTheWindowAtStartUpAndWhenChosen) {
  put("Language", "Deutsch");
  start(TALLIMAR_TEST_DATA_DIR "/language");
  EXPECT_EQ(statusLines().size(), 2u);  // no failure line
  EXPECT_EQ(entry("mnuOpenDatalog")->text(), QString::fromUtf8("Datenlog öffnen"));
  EXPECT_EQ(label("Label1", 0)->text(), "Zustand:");  // by index

  // Three files in the folder, alphabetically; the rest of the ten entries hidden.
  const auto languages = window->findChildren<QAction*>("mnuLanguage");
  QStringList visible;
  for (QAction* language : languages)
    if (language->isVisible()) visible << language->text();
  EXPECT_EQ(visible, (QStringList{"Deutsch", "english-test", QString::fromUtf8("Français")}));

  languages[2]->trigger();  // captioned "Français" by the German file, file Francais.LANG
  EXPECT_EQ(stored("Language"), "Francais");
  EXPECT_EQ(entry("mnuExit")->text(), "Quitter");
}

}  // namespace
}  // namespace tallimar::ui
