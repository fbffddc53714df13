// Pictures of windows for a person to look at: PNG files in the folder named by
// TALLIMAR_SCREENSHOT_DIR. Without that folder nothing is written.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QWidget>

namespace tallimar::ui::testing {

inline bool picturesWanted() { return !qEnvironmentVariable("TALLIMAR_SCREENSHOT_DIR").isEmpty(); }

// Saves the widget as it is drawn once pending events have run, as NAME.png.
inline void savePicture(QWidget* widget, const QString& name) {
  QApplication::processEvents();
  ASSERT_NE(widget, nullptr) << name.toStdString();
  if (!picturesWanted()) return;
  const QString dir = qEnvironmentVariable("TALLIMAR_SCREENSHOT_DIR");
  QDir().mkpath(dir);
  EXPECT_TRUE(widget->grab().save(dir + "/" + name + ".png")) << name.toStdString();
}

}  // namespace tallimar::ui::testing
