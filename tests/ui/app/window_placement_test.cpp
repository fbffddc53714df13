// Window geometry kept per user: which kept places are still usable, and windows coming
// back where they were left, within a 1280 x 800 screen.
#include <QApplication>
#include <QScreen>

#include "main_window_fixture.h"
#include "ui/common/window_geometry.h"
#include "ui/plot/plot_widget.h"
#include "ui/vemap/ve_map_window.h"

namespace tallimar::ui {
namespace {

TEST(WindowPlacement, AKeptPlaceIsUsedOnlyWhileItsTitleBarIsOnAScreen) {
  const QList<QRect> screens{{0, 0, 1280, 800}, {1280, 0, 1920, 1080}};
  const struct {
    QRect kept;
    std::optional<QRect> used;
  } cases[] = {
      {{1400, 100, 1000, 700}, QRect(1400, 100, 1000, 700)},  // on the second screen
      {{-800, 300, 900, 400}, QRect(-800, 300, 900, 400)},    // 100 px of it showing
      {{100, 50, 2500, 1500}, QRect(100, 50, 1280, 800)},     // cut to its screen
      {{-890, 300, 900, 400}, std::nullopt},                  // 10 px: cannot be grabbed
      {{100, -300, 900, 600}, std::nullopt},                  // title bar above the top
  };
  for (const auto& c : cases) {
    const auto fitted = fitToScreens({c.kept, false}, screens);
    EXPECT_EQ(fitted ? std::optional(fitted->rect) : std::nullopt, c.used) << c.kept.x();
  }
}

using MainWindowPlacement = MainWindowFixture;

TEST_F(MainWindowPlacement, FitsTheScreenAndComesBackWhereItWasLeftUnlessThatIsOffScreen) {
  startWithoutLanguages();
  const QSize laidOut = window->size();
  EXPECT_LE(laidOut.width(), 1260);
  EXPECT_LE(laidOut.height(), 720);
  // "Modify VE Map" fits its default size: the grid, the plot panel and the status list.
  const std::unique_ptr<QWidget> veMap(
      createVeMapWindow(workspace, store, prompts, emptyFolder.path(), {}));
  EXPECT_LE(veMap->minimumSizeHint().width(), kVeMapWindowDefaultSize.width());
  EXPECT_LE(veMap->minimumSizeHint().height(), kVeMapWindowDefaultSize.height());

  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  window->move(area.topLeft() + QPoint(30, 20));
  window->resize(laidOut + QSize(90, 70));
  saveWindowGeometry(*window, store);
  startWithoutLanguages();
  EXPECT_EQ(window->size(), laidOut + QSize(90, 70));
  EXPECT_EQ(window->pos(), area.topLeft() + QPoint(30, 20));
  EXPECT_GT(window->plotSurface()->width(), 300);  // the plot took part of the new room

  saveWindowPlacement(store, "frmMSMain", {{area.right() + 500, 40, 600, 450}, false});
  startWithoutLanguages();
  EXPECT_EQ(window->size(), laidOut);
  EXPECT_TRUE(area.contains(window->geometry()));
  store.save("MegaSquirt", "Window frmMSMain", "Left", "10");
  store.save("MegaSquirt", "Window frmMSMain", "Width", "0");  // no size: not used
  startWithoutLanguages();
  EXPECT_EQ(window->size(), laidOut);
}

}  // namespace
}  // namespace tallimar::ui
