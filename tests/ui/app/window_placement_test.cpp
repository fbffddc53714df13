// Window geometry kept per user: which kept places are still usable, the main window and
// "Modify VE Map" coming back where they were left, and their default sizes within a
// 1280 x 800 screen.
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
  struct Case {
    QRect kept;
    std::optional<QRect> used;
  };
  for (const Case& c : {
           Case{{100, 50, 900, 600}, QRect(100, 50, 900, 600)},
           Case{{1400, 100, 1000, 700}, QRect(1400, 100, 1000, 700)},  // on the second screen
           Case{{-800, 300, 900, 400}, QRect(-800, 300, 900, 400)},    // 100 px of it showing
           Case{{100, 50, 2500, 1500}, QRect(100, 50, 1280, 800)},     // cut to its screen
           Case{{3300, 100, 800, 600}, std::nullopt},                  // right of every screen
           Case{{-890, 300, 900, 400}, std::nullopt},                  // 10 px: cannot be grabbed
           Case{{100, -300, 900, 600}, std::nullopt},                  // title bar above the top
           Case{{100, 1070, 900, 600}, std::nullopt},                  // below both screens
       }) {
    const auto fitted = fitToScreens({c.kept, false}, screens);
    ASSERT_EQ(fitted.has_value(), c.used.has_value()) << c.kept.x() << "," << c.kept.y();
    if (fitted) {
      EXPECT_EQ(fitted->rect, *c.used);
    }
  }
}

TEST(WindowPlacement, KeptInItsOwnSectionAndUnreadableTextsAreIgnored) {
  settings::MemorySettingsStore store;
  saveWindowPlacement(store, "frmCalculateMap", {{12, -4, 1100, 650}, true});
  const auto read = readWindowPlacement(store, "frmCalculateMap");
  ASSERT_TRUE(read);
  EXPECT_EQ(read->rect, QRect(12, -4, 1100, 650));
  EXPECT_TRUE(read->maximized);
  EXPECT_EQ(store.get("MegaSquirt", "Window frmCalculateMap", "Width", ""), "1100");
  EXPECT_EQ(store.get("MegaSquirt", "Settings", "Width", "<none>"), "<none>");
  EXPECT_FALSE(readWindowPlacement(store, "frmMSMain"));
  for (const char* width : {"", "abc", "900px", "0", "-5", "99999999999"}) {
    store.save("MegaSquirt", "Window frmCalculateMap", "Width", width);
    EXPECT_FALSE(readWindowPlacement(store, "frmCalculateMap")) << width;
  }
}

class MainWindowPlacement : public MainWindowFixture {
 protected:
  QRect available() const { return QGuiApplication::primaryScreen()->availableGeometry(); }
};

TEST_F(MainWindowPlacement, ComesBackWhereItWasLeftUnlessThatIsOffEveryScreen) {
  startWithoutLanguages();
  const QSize laidOut = window->size();
  EXPECT_LE(laidOut.width(), 1260);
  EXPECT_LE(laidOut.height(), 720);
  EXPECT_GE(window->plotSurface()->width(), 300);  // the plot at its laid-out size at least

  const QRect area = available();
  window->move(area.topLeft() + QPoint(30, 20));
  window->resize(laidOut + QSize(90, 70));
  saveWindowGeometry(*window, store);
  startWithoutLanguages();
  EXPECT_EQ(window->pos(), area.topLeft() + QPoint(30, 20));
  EXPECT_EQ(window->size(), laidOut + QSize(90, 70));
  EXPECT_GT(window->plotSurface()->width(), 300);  // the plot took part of the new room

  saveWindowPlacement(store, "frmMSMain", {{area.right() + 500, 40, 600, 450}, false});
  startWithoutLanguages();
  EXPECT_EQ(window->size(), laidOut);
  EXPECT_TRUE(area.contains(window->geometry()));
}

TEST_F(MainWindowPlacement, ModifyVeMapFitsThe1280By800ScreenAndKeepsItsPlace) {
  startWithoutLanguages();
  auto* veMap = createVeMapWindow(workspace, store, prompts, emptyFolder.path(), {});
  EXPECT_LE(veMap->width(), kVeMapWindowDefaultSize.width());
  EXPECT_LE(veMap->height(), kVeMapWindowDefaultSize.height());
  // Everything fits within that size: the grid, the plot panel and the status list.
  EXPECT_LE(veMap->minimumSizeHint().width(), kVeMapWindowDefaultSize.width());
  EXPECT_LE(veMap->minimumSizeHint().height(), kVeMapWindowDefaultSize.height());

  const QRect area = available();
  veMap->move(area.topLeft() + QPoint(10, 15));
  veMap->show();
  veMap->close();  // deleted: its place is kept
  auto* again = createVeMapWindow(workspace, store, prompts, emptyFolder.path(), {});
  ASSERT_TRUE(restoreWindowGeometry(*again, store));
  EXPECT_EQ(again->pos(), area.topLeft() + QPoint(10, 15));
  delete again;
}

}  // namespace
}  // namespace tallimar::ui
