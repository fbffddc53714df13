// The main window's guide, the entries without a command yet, and the status list that
// wraps long lines and keeps its newest line in view. With TALLIMAR_SCREENSHOT_DIR set,
// pictures of the guide and of a fresh start at 1280 x 800 are saved there.
#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>

#include "ui/app/help_window.h"
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

TEST_F(StatusPolish, HelpOpensTheGuideOnceAndUploadS19SaysItIsNotThereYet) {
  entry("mnuHelp")->trigger();
  entry("mnuHelp")->trigger();
  const auto guides = window->findChildren<HelpWindow*>();
  ASSERT_EQ(guides.size(), 1);
  EXPECT_TRUE(guides[0]->isVisible());
  // The page is a resource linked into the program: an empty page would go unnoticed.
  EXPECT_TRUE(guides[0]->browser()->toPlainText().contains("tallimar-ecu-sim"));

  entry("mnuUploadS19")->trigger();
  EXPECT_EQ(newStatusLines(startUpLines), Lines{"Upload S19: not available in this version"});

  if (const QString dir = qEnvironmentVariable("TALLIMAR_SCREENSHOT_DIR"); !dir.isEmpty()) {
    EXPECT_TRUE(guides[0]->grab().save(dir + "/help_window.png"));
    window->move(0, 0);
    EXPECT_TRUE(window->grab().save(dir + "/main_fresh_start_window.png"));
  }
}

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
