// The wide-band factor creator window: its rows as loaded, and "Create Table" writing the
// file from what the rows hold.
#include "ui/tools/wb_factor_window.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "common/scripted_prompts.h"
#include "workspace/workspace.h"

namespace tallimar::ui {
namespace {

class WbFactorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { window = std::make_unique<WbFactorWindow>(ws, prompts, folder.path()); }
  QString label(int row) const {
    for (QLabel* found : window->findChildren<QLabel*>("lblNumber"))
      if (found->property("index").toInt() == row) return found->text();
    return {};
  }
  void create() { window->findChild<QPushButton*>("Command1")->click(); }
  QString written() const {
    QFile file(folder.filePath("diywbfactor.inc"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
  }

  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  QTemporaryDir folder;
  std::unique_ptr<WbFactorWindow> window;
};

TEST_F(WbFactorWindowTest, RowsAsLoaded) {
  EXPECT_EQ(window->objectName(), "frmMakeWBFactor");
  EXPECT_EQ(window->findChildren<QLineEdit*>("txtVoltOut").size(), 40);
  EXPECT_EQ(label(0), "#1:");
  EXPECT_EQ(label(39), "#40:");
  EXPECT_EQ(window->voltOut(0)->text(), "1.40");
  EXPECT_EQ(window->voltOut(30)->text(), "2.90");
  EXPECT_EQ(window->afr(23)->text(), "15.25");
  EXPECT_TRUE(window->voltOut(31)->text().isEmpty());
  EXPECT_TRUE(window->afr(39)->text().isEmpty());
}

TEST_F(WbFactorWindowTest, CreateTableWritesWhatTheRowsHold) {
  ws.settings.incPath = folder.path().toStdString();
  create();
  EXPECT_TRUE(written().contains("\tDB\t101T\t; 071 - 1.392\r\n"));
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_TRUE(prompts.asked[0].text.find(folder.filePath("diywbfactor.inc").toStdString()) !=
              std::string::npos);

  // An edited row changes the file; the window stays open for the next try.
  QLineEdit* afr = window->afr(30);
  afr->selectAll();
  QTest::keyClicks(afr, "150");
  create();
  EXPECT_TRUE(written().contains("\tDB\t1239T\t; 147 - 2.882\r\n"));

  window->voltOut(5)->clear();
  create();
  EXPECT_EQ(prompts.asked.back().text, "Not Enough Data Points");
  EXPECT_TRUE(written().contains("\tDB\t1239T"));  // the last file written stays
}

}  // namespace
}  // namespace tallimar::ui
