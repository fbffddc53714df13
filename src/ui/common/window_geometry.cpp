// Window geometry kept per user, and the check that a kept place is still on a screen.
#include "ui/common/window_geometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <charconv>

namespace tallimar::ui {
namespace {

constexpr const char* kApplication = "MegaSquirt";
// A window counts as reachable when this much of its title bar lies on one screen: enough
// to grab and drag it back.
constexpr int kTitleBarHeight = 24;
constexpr int kGrabWidth = 80;
// Room left around a default-sized window for its frame and the desktop's panels.
constexpr int kFrameRoomWidth = 20, kFrameRoomHeight = 80;

std::optional<int> number(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || at != end) return std::nullopt;
  return value;
}

}  // namespace

std::string windowGeometrySection(const QString& windowName) {
  return "Window " + windowName.toStdString();
}

std::optional<WindowPlacement> readWindowPlacement(const settings::SettingsStore& store,
                                                   const QString& windowName) {
  const std::string section = windowGeometrySection(windowName);
  auto read = [&](const char* key) { return number(store.get(kApplication, section, key, "")); };
  const auto left = read("Left"), top = read("Top"), width = read("Width"), height = read("Height");
  if (!left || !top || !width || !height || *width <= 0 || *height <= 0) return std::nullopt;
  WindowPlacement placement;
  placement.rect = QRect(*left, *top, *width, *height);
  placement.maximized = store.get(kApplication, section, "Maximized", "False") == "True";
  return placement;
}

void saveWindowPlacement(settings::SettingsStore& store, const QString& windowName,
                         const WindowPlacement& placement) {
  const std::string section = windowGeometrySection(windowName);
  auto save = [&](const char* key, int value) {
    store.save(kApplication, section, key, std::to_string(value));
  };
  save("Left", placement.rect.left());
  save("Top", placement.rect.top());
  save("Width", placement.rect.width());
  save("Height", placement.rect.height());
  store.save(kApplication, section, "Maximized", placement.maximized ? "True" : "False");
}

std::optional<WindowPlacement> fitToScreens(const WindowPlacement& placement,
                                            const QList<QRect>& availableAreas) {
  const QRect& r = placement.rect;
  const QRect titleBar(r.left(), r.top(), r.width(), kTitleBarHeight);
  for (const QRect& area : availableAreas) {
    const QRect shown = titleBar.intersected(area);
    if (shown.width() < std::min(kGrabWidth, r.width()) || shown.height() < kTitleBarHeight / 2)
      continue;
    WindowPlacement fitted = placement;
    fitted.rect.setSize(r.size().boundedTo(area.size()));
    return fitted;
  }
  return std::nullopt;
}

void saveWindowGeometry(const QWidget& window, settings::SettingsStore& store) {
  WindowPlacement placement;
  placement.maximized = window.isMaximized();
  // A maximised window keeps the place it returns to.
  const QRect normal = placement.maximized ? window.normalGeometry() : window.geometry();
  const QPoint frameOffset = window.geometry().topLeft() - window.pos();
  placement.rect = QRect(normal.topLeft() - frameOffset, normal.size());
  saveWindowPlacement(store, window.objectName(), placement);
}

bool restoreWindowGeometry(QWidget& window, const settings::SettingsStore& store) {
  const auto stored = readWindowPlacement(store, window.objectName());
  if (!stored) return false;
  QList<QRect> areas;
  for (const QScreen* screen : QGuiApplication::screens())
    areas.append(screen->availableGeometry());
  const auto fitted = fitToScreens(*stored, areas);
  if (!fitted) return false;
  window.resize(fitted->rect.size().expandedTo(window.minimumSizeHint()));
  window.move(fitted->rect.topLeft());
  if (fitted->maximized) window.setWindowState(window.windowState() | Qt::WindowMaximized);
  return true;
}

QSize defaultWindowSize(const QWidget& window, QSize wanted) {
  QSize largest;
  for (const QScreen* screen : QGuiApplication::screens())
    largest = largest.expandedTo(screen->availableGeometry().size());
  if (!largest.isEmpty())
    wanted = wanted.boundedTo(largest - QSize(kFrameRoomWidth, kFrameRoomHeight));
  return wanted.expandedTo(window.minimumSizeHint());
}

}  // namespace tallimar::ui
