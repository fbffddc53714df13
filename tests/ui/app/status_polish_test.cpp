// The status list wraps long lines and both lists keep their newest line in view. With
// TALLIMAR_SCREENSHOT_DIR set, a picture of the window with a long line is saved there.
#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include "ui/app/main_window_fixture.h"

namespace tallimar::ui {
namespace {

class StatusPolish : public MainWindowFixture {
 protected:
  void SetUp() override {
    startWithoutLanguages();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  // The newest line lies wholly inside the list's visible rows.
  static bool newestInView(QListView* view) {
    QApplication::processEvents();
    const QModelIndex newest = view->model()->index(view->model()->rowCount() - 1, 0);
    const QRect row = view->visualRect(newest);
    return row.isValid() && view->viewport()->rect().contains(row);
  }
};

TEST_F(StatusPolish, LongLinesWrapAndTheNewestLineStaysInViewThroughEnlarging) {
  QListView* status = list("lstStatus");
  for (int i = 0; i < 30; ++i) window->statusLog().append("Line " + std::to_string(i));
  window->statusLog().append(
      "Bins partly outside the data map (positions outside skipped): (14960, 300), (15000, "
      "300), (15100, 300), (15200, 300) and 60 more");
  EXPECT_FALSE(status->horizontalScrollBar()->isVisible());
  EXPECT_TRUE(newestInView(status));

  for (int click = 0; click < 2; ++click) {  // enlarge, then put back
    QTest::mouseDClick(status->viewport(), Qt::LeftButton);
    EXPECT_TRUE(newestInView(status)) << click;
  }
  QListView* crossovers = list("List1");
  std::vector<std::string> points(300, "  2000    60    0.52");
  window->crossoverList().append(std::move(points));
  for (int click = 0; click < 2; ++click) {
    QTest::mouseDClick(crossovers->viewport(), Qt::LeftButton);
    EXPECT_TRUE(newestInView(crossovers)) << click;
  }
  if (const QString dir = qEnvironmentVariable("TALLIMAR_SCREENSHOT_DIR"); !dir.isEmpty()) {
    QTest::mouseDClick(crossovers->viewport(), Qt::LeftButton);  // put back, then enlarge status
    QTest::mouseDClick(crossovers->viewport(), Qt::LeftButton);
    EXPECT_TRUE(window->grab().save(dir + "/main_long_status_line.png"));
  }
}

}  // namespace
}  // namespace tallimar::ui
