// Window geometry kept per user: where a window was and how large, saved when it closes and
// given back when it opens again. The store keeps it beside the settings, application
// "MegaSquirt", in a section of its own per window ("Window <objectName>"), never among the
// keys of "Settings".
#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>
#include <string>

#include "settings/settings_store.h"

class QWidget;

namespace tallimar::ui {

// What is kept of a window: its frame's top-left corner, its client size, and whether it
// was maximised (then the corner and size are those it returns to).
struct WindowPlacement {
  QRect rect;  // top-left of the frame, size of the client area
  bool maximized = false;
};

// The section of `windowName` in the store.
std::string windowGeometrySection(const QString& windowName);

// The placement stored for the window, or nullopt when none is stored or it is unreadable.
std::optional<WindowPlacement> readWindowPlacement(const settings::SettingsStore& store,
                                                   const QString& windowName);
void saveWindowPlacement(settings::SettingsStore& store, const QString& windowName,
                         const WindowPlacement& placement);

// The placement to use on screens with these available areas: nullopt when the window's
// title bar would be on no screen (a screen removed, a resolution lowered); otherwise the
// same, its size cut down to the screen its title bar is on.
std::optional<WindowPlacement> fitToScreens(const WindowPlacement& placement,
                                            const QList<QRect>& availableAreas);

// Saves `window`'s placement under its objectName.
void saveWindowGeometry(const QWidget& window, settings::SettingsStore& store);
// Gives `window` its stored placement when that is still on a screen; false (the window
// untouched) when there is none to use.
bool restoreWindowGeometry(QWidget& window, const settings::SettingsStore& store);

// The default client size of a window: `wanted`, cut down to the largest available screen
// area less room for a window frame, and never below the window's own minimum.
QSize defaultWindowSize(const QWidget& window, QSize wanted);

}  // namespace tallimar::ui
