// The per-user INI store: texts come back as written, one file per application, and
// hand-edited files read as the program expects.
#include "ui/app/qt_settings_store.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "settings/settings_io.h"

namespace tallimar::ui {
namespace {

TEST(QtSettingsStore, TextsComeBackExactlyAsSavedAndHandEditedFilesRead) {
  QTemporaryDir dir;
  const QString ini = dir.filePath("store.ini");
  const std::vector<std::string> texts = {" padded ",   "a, b, c",  "@Variant(x)",
                                          "C:\\inc\\x", "x=y [z];", "Français"};
  {
    QtSettingsStore store(ini);
    for (std::size_t i = 0; i < texts.size(); ++i)
      store.save("MegaSquirt", "Settings", "Key" + std::to_string(i), texts[i]);
  }
  QtSettingsStore reopened(ini);  // saved at once, read by a fresh store
  for (std::size_t i = 0; i < texts.size(); ++i)
    EXPECT_EQ(reopened.get("MegaSquirt", "Settings", "Key" + std::to_string(i), "<none>"),
              texts[i]);
  EXPECT_EQ(reopened.get("MegaSquirt", "Other", "Key1", "dflt"), "dflt");

  QFile file(dir.filePath("hand.ini"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[Settings]\r\nINCPath=/home/tuner/my inc, old\r\n");
  file.close();
  QtSettingsStore hand(file.fileName());
  settings::Settings record;
  settings::loadSettings(hand, record);
  EXPECT_EQ(record.incPath, "/home/tuner/my inc, old");  // not split into a list
}

TEST(QtSettingsStore, PerUserStoreKeepsOneIniFilePerApplication) {
  QTemporaryDir dir;
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
  QtSettingsStore().save("MegaSquirt", "Settings", "RPMMax", "7500");
  QFile file(dir.filePath("Tallimar/MegaSquirt.ini"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().contains("[Settings]\nRPMMax=7500"));
}

}  // namespace
}  // namespace tallimar::ui
