// The wide-band factor creator window: "Create Table" writes the file from what the rows hold
// (the first file comes from the rows as loaded).
#include "ui/tools/wb_factor_window.h"

#include <gtest/gtest.h>

#include <QFile>
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
